// Which screen a paint shows while a file is read or written, and after.
#include "FileFixture.h"

TEST_F(FileTest, ProgressPanelIsPaintedDuringALargeLoadAndTheDumpAfterIt) {
    const std::string path = Path("large.bin");
    WriteFile(path, Bytes(3 * 1024 * 1024));
    int panelsSeen = 0;
    host.OnPump([&](int) {
        if (LastFrameHas(" Loading File to Memory...")) ++panelsSeen;
    });
    ASSERT_TRUE(view.LoadFile(path));
    host.OnPump(nullptr);
    EXPECT_GT(panelsSeen, 50) << "a repaint per whole percent is shown while loading";
    host.RunUntilIdle();
    EXPECT_TRUE(LastFrameHas(" 00000000"));
    EXPECT_FALSE(LastFrameHas(" Loading File to Memory..."));
}

TEST_F(FileTest, SmallLoadsAndSavesNeverShowThePanel) {
    const std::string path = Path("small.bin");
    WriteFile(path, Bytes(64 * 1024));
    ASSERT_TRUE(view.LoadFile(path));
    host.QueueMessageBoxAnswer(platform::mb::IdYes);
    ASSERT_TRUE(view.OnFileSave());
    host.RunUntilIdle();
    EXPECT_FALSE(LastFrameHas(" Saving Memory to File..."));
    EXPECT_TRUE(LastFrameHas(" 00000000"));
}

TEST_F(FileTest, EscapePressedDuringALoadShowsTheWelcomeScreen) {
    const std::string path = Path("large.bin");
    WriteFile(path, Bytes(2 * 1024 * 1024));
    host.OnPump([&](int count) {
        if (count == 100) host.PostViewMessage(platform::msg::KeyDown, platform::vk::Escape, 1);
    });
    EXPECT_FALSE(view.LoadFile(path));
    host.OnPump(nullptr);
    host.RunUntilIdle();
    EXPECT_EQ(view.m_pData, nullptr);
    EXPECT_EQ(host.GetMainCaption(), "Bytewren");
    EXPECT_TRUE(LastFrameHas("No file loaded..."));
}

TEST_F(FileTest, TheModesChooseOneScreenInTheirOrderAndOnlyTheDumpTakesThePointer) {
    using Screen = CHexView::Screen;
    struct Modes {
        bool loading, saving, loopRunning, bitEdit, inputPanel, bytes;
        Screen screen;
    };
    const Modes table[] = {
        {false, false, false, false, false, false, Screen::Welcome},
        {false, false, false, false, false, true, Screen::Dump},
        {true, false, false, true, true, true, Screen::Progress},
        {false, true, false, true, false, false, Screen::Progress},
        // ESC has cleared the flag, but the file loop still holds the image.
        {false, false, true, false, true, true, Screen::Progress},
        {false, false, false, true, true, true, Screen::BitEdit},
        {false, false, false, true, false, false, Screen::BitEdit},
        {false, false, false, false, true, false, Screen::InputPanel},
    };
    for (const Modes& m : table) {
        if (m.bytes) ASSERT_TRUE(view.m_image.Allocate(4));
        else view.m_image.Release();
        view.m_bLoading = m.loading;
        view.m_bSaving = m.saving;
        view.m_bFileLoopRunning = m.loopRunning;
        view.m_bBitEdit = m.bitEdit;
        view.m_bInputPanel = m.inputPanel;
        const int row = int(&m - table);
        EXPECT_EQ(view.CurrentScreen(), m.screen) << "row " << row;
        EXPECT_EQ(view.AcceptsPointer(), m.screen == Screen::Dump) << "row " << row;
        EXPECT_EQ(view.PanelShown(), m.screen != Screen::Dump && m.screen != Screen::Welcome)
            << "row " << row;
    }
    view.LeaveAllModes();
    view.m_bFileLoopRunning = false;
}
