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
