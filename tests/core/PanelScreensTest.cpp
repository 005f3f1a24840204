// The bit edit and search panels as the window shows them: chosen by the
// modes at every paint, above the dump.
#include "InteractFixture.h"
#include "rules/CommandIds.h"

TEST_F(InteractTest, BitEditPanelReplacesTheDumpUntilEnter) {
    SetImage(Iota(64));
    Command(ID_EDIT_BITS);
    EXPECT_TRUE(LastFrameHas(".:BIT EDIT MODE:."));
    EXPECT_FALSE(LastFrameHas(" 00000000"));
    host.TypeText("1111");
    EXPECT_TRUE(LastFrameHas("NEW BITS: 1111 "));
    host.PressKey(platform::vk::Return);
    EXPECT_TRUE(LastFrameHas(" 00000000"));
}

TEST_F(InteractTest, SearchPanelRepaintsItsProgressOnTheTimerAndShowsTheResult) {
    SetImage(std::vector<uint8_t>(8 * 1024 * 1024, 0x11));
    const uint8_t mz[] = {0x4D, 0x5A};
    view.m_image.Overwrite(view.m_nFileSize - 3, mz, 2);
    Command(ID_SEARCH_HEX);
    EXPECT_TRUE(LastFrameHas(".:SEARCH MODE:."));
    host.TypeText("4D5A");

    bool progressShown = false;
    host.SetClockStepPerPump(50);
    host.OnPump([&](int) {
        for (const auto& s : host.LastFrameStrings()) {
            progressShown |= s.text.rfind("Searching... ", 0) == 0;
        }
    });
    host.PressKey(platform::vk::Return);
    host.OnPump(nullptr);
    host.SetClockStepPerPump(0);

    EXPECT_TRUE(progressShown);
    EXPECT_FALSE(host.TimerRunning(SEARCH_TIMER_ID));
    EXPECT_EQ(view.m_nSelStart, view.m_nFileSize - 3);
    char found[96];
    std::snprintf(found, sizeof found, "Found HEX at Offset: 0x%08X  Press ESC to jump to offset",
                  view.m_nFileSize - 3);
    EXPECT_TRUE(LastFrameHas(found));
    host.PressKey(platform::vk::Escape);
    EXPECT_TRUE(LastFrameHas(" 007FFFF0"));
}
