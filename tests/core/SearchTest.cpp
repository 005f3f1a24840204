// Searching from the selection in every mode, Find Next, cancelling, and
// the scan against a plain reference of the byte-by-byte loop.
#include <cstdio>
#include <random>

#include "InteractFixture.h"
#include "rules/CommandIds.h"

using namespace platform;

class SearchTest : public InteractTest {
protected:
    /// Opens the panel for command id, types text and presses ENTER.
    void Search(unsigned id, const std::string& text) {
        Command(id);
        host.TypeText(text);
        host.PressKey(vk::Return);
    }
    void ExpectFound(const char* label, uint32_t at, uint32_t length) {
        char message[100];
        std::snprintf(message, sizeof message,
                      "Found %s at Offset: 0x%08X  Press ESC to jump to offset", label, at);
        EXPECT_EQ(view.m_strPanelMsg, message);
        EXPECT_EQ(Sel(), (SelectionState{at, at + length - 1, at}));
        EXPECT_FALSE(view.m_bSearching);
        EXPECT_TRUE(view.m_bInputPanel) << "the panel stays open on the result";
        EXPECT_FALSE(host.TimerRunning(SEARCH_TIMER_ID));
    }
    void ExpectNotFound(const std::string& label, SelectionState unchanged) {
        EXPECT_EQ(view.m_strPanelMsg, label + " String Not Found.");
        EXPECT_EQ(Sel(), unchanged);
        EXPECT_FALSE(view.m_bSearching);
        EXPECT_FALSE(host.TimerRunning(SEARCH_TIMER_ID));
    }
};

TEST_F(SearchTest, HexPatternsAreFoundAndScrolledToTheTop) {
    std::vector<uint8_t> bytes(0x1000, 0);
    bytes[0x200] = 0x4D, bytes[0x201] = 0x5A;
    SetImage(bytes);
    Search(ID_SEARCH_HEX, "4d 5a");
    EXPECT_EQ(view.m_strInput, "4D 5A");
    ExpectFound("HEX", 0x200, 2);
    EXPECT_EQ(view.ScrollPos(), 0x20);

    // ENTER again finds the same place: the search includes its start.
    host.PressKey(vk::Return);
    ExpectFound("HEX", 0x200, 2);

    // An odd number of digits, and an empty input, find nothing.
    host.PressKey(vk::Back);
    host.PressKey(vk::Return);
    ExpectNotFound("HEX", {0x200, 0x201, 0x200});
    Command(ID_SEARCH_HEX);
    host.PressKey(vk::Return);
    ExpectNotFound("HEX", {0x200, 0x201, 0x200});
    // Letters other than hex digits are not typed in mode 0.
    host.TypeText("4g");
    EXPECT_EQ(view.m_strInput, "4");
}

TEST_F(SearchTest, TextModesWithAndWithoutCase) {
    SetImage(std::vector<uint8_t>{'x', 'A', 'B', 'C', 'a', 'B', 'c', 'a', 'b', 'c'});
    Search(ID_SEARCH_TEXT, "abc");
    ExpectFound("TEXT", 7, 3);
    host.PressKey(vk::Escape);
    Click(HexPoint(0));
    Search(ID_SEARCH_TEXT_NOCASE, "abc");
    ExpectFound("TEXT", 1, 3);
    // The typed text is folded too.
    host.PressKey(vk::Escape);
    Click(HexPoint(2));
    Search(ID_SEARCH_TEXT_NOCASE, "AbC");
    ExpectFound("TEXT", 4, 3);
}

TEST_F(SearchTest, UnicodeModesSearchTheUtf16Form) {
    SetImage(std::vector<uint8_t>{0x48, 0x00, 0x49, 0x00, 0x48, 0x00, 0x69, 0x00});
    Search(ID_SEARCH_UNICODE, "Hi");
    ExpectFound("UNICODE TEXT", 4, 4);
    host.PressKey(vk::Escape);
    Click(HexPoint(0));
    Search(ID_SEARCH_UNICODE_NOCASE, "hi");
    ExpectFound("UNICODE TEXT", 0, 4);
    host.PressKey(vk::Escape);
    Click(HexPoint(1));
    Search(ID_SEARCH_UNICODE, "hi");
    ExpectNotFound("UNICODE TEXT", {1, 1, 1});
}

TEST_F(SearchTest, APatternRunningPastTheEndIsNotFound) {
    SetImage(std::vector<uint8_t>{1, 2, 3, 'a', 'b'});
    Search(ID_SEARCH_TEXT, "abc");
    ExpectNotFound("TEXT", {0, 0, 0});
}

TEST_F(SearchTest, FindNextSearchesFromOneByteOnAndFindsOverlaps) {
    SetImage(std::vector<uint8_t>{'a', 'a', 'a', 'x', 'a', 'a'});
    Search(ID_SEARCH_TEXT, "aa");
    ExpectFound("TEXT", 0, 2);
    // Refused while the panel is open.
    host.PressKey(vk::F3);
    EXPECT_EQ(Sel(), (SelectionState{0, 1, 0}));
    host.PressKey(vk::Escape);
    host.PressKey(vk::F3);
    ExpectFound("TEXT", 1, 2);
    host.PressKey(vk::Escape);
    Command(ID_FIND_NEXT);
    ExpectFound("TEXT", 4, 2);
    // At the last byte the selection does not move, and the same hit comes back.
    host.PressKey(vk::Escape);
    host.PressKey(vk::F3);
    ExpectFound("TEXT", 4, 2);

    // Find Next with nothing typed does nothing; so it does in bit edit.
    host.PressKey(vk::Escape);
    Command(ID_SEARCH_TEXT);
    host.PressKey(vk::Escape);
    host.PressKey(vk::F3);
    EXPECT_FALSE(view.m_bInputPanel);
}

TEST_F(SearchTest, FindNextDropsAPendingDigitOnlyWhenItMoves) {
    SetImage(std::vector<uint8_t>{'a', 'b', 'a', 'b'});
    Search(ID_SEARCH_TEXT, "b");
    ExpectFound("TEXT", 1, 1);
    host.PressKey(vk::Escape);
    Click(HexPoint(1));
    host.TypeChar('7');
    host.PressKey(vk::F3);
    EXPECT_EQ(view.m_chPendingDigit, 0);
    ExpectFound("TEXT", 3, 1);
}

TEST_F(SearchTest, EscapeCancelsARunningSearch) {
    SetImage(std::vector<uint8_t>(12u << 20, 0x11));  // several scan blocks
    Click(HexPoint(3));
    Command(ID_SEARCH_TEXT);
    host.TypeText("absent");
    bool sawRunning = false;
    host.OnPump([&](int count) {
        if (count != 2) return;
        sawRunning = view.m_bSearching && host.TimerRunning(SEARCH_TIMER_ID);
        // While it runs, keys and characters are swallowed...
        host.PostViewMessage(msg::KeyUp, vk::Right, 0);
        host.PostViewMessage(msg::Char, 'q', 0);
        host.PostViewMessage(msg::KeyDown, vk::Escape, 0);
    });
    host.PressKey(vk::Return);
    host.OnPump(nullptr);
    EXPECT_TRUE(sawRunning);
    EXPECT_FALSE(view.m_bSearching);
    EXPECT_FALSE(view.m_bInputPanel);
    EXPECT_FALSE(host.TimerRunning(SEARCH_TIMER_ID));
    EXPECT_TRUE(host.ScrollBar()->IsWindowEnabled());
    EXPECT_EQ(Sel(), (SelectionState{3, 3, 3}));
    EXPECT_EQ(view.m_strInput, "absent");
    EXPECT_GT(view.m_dSearchProgress, 0.0);
    EXPECT_LT(view.m_dSearchProgress, 100.0);
}

TEST_F(SearchTest, TheTimerRepaintsTheProgressWhileTheScanRuns) {
    SetImage(std::vector<uint8_t>(12u << 20, 0x11));
    Search(ID_SEARCH_HEX, "");  // nothing typed: finds nothing at once
    Command(ID_SEARCH_HEX);
    host.TypeText("22");
    host.SetClockStepPerPump(60);
    // Paints counted at each pump: the first one shows "Searching...", and
    // later ones come only from the timer (every 100 ms, the clock moving
    // 60 ms per pump).
    std::vector<int> paints;
    host.OnPump([&](int) { paints.push_back(host.PaintCount()); });
    host.PressKey(vk::Return);
    host.OnPump(nullptr);
    host.SetClockStepPerPump(0);
    ASSERT_GE(paints.size(), 3u);
    EXPECT_GT(paints[2], paints[1]);
    ExpectNotFound("HEX", {0, 0, 0});
}

TEST_F(SearchTest, CommandsThatChangeTheImageAreRefusedWhileItRuns) {
    SetImage(std::vector<uint8_t>(12u << 20, 0x11));
    SelectHex(0, 3);
    host.Clipboard() = "AA";
    Command(ID_SEARCH_HEX);
    host.TypeText("22");
    host.OnPump([&](int count) {
        if (count != 2) return;
        for (unsigned id :
             {ID_DELETE_SELECTION, ID_INSERT_FROM_CLIPBOARD, ID_OVERWRITE_FROM_CLIPBOARD}) {
            host.PostViewMessage(msg::Command, id, 0);
        }
        host.PostViewMessage(WM_RUN_SEARCH, 0, 0);  // a second run is refused too
    });
    host.PressKey(vk::Return);
    host.OnPump(nullptr);
    EXPECT_EQ(view.m_nFileSize, 12u << 20);
    EXPECT_EQ(view.m_pData[0], 0x11);
    ExpectNotFound("HEX", {0, 3, 0});
}

TEST_F(SearchTest, ARunPostedBeforeEscapeDoesNotStart) {
    SetImage(std::vector<uint8_t>{1, 2, 3});
    Command(ID_SEARCH_HEX);
    host.TypeText("03");
    host.PostViewMessage(msg::KeyDown, vk::Return, 0);
    host.PostViewMessage(msg::KeyDown, vk::Escape, 0);
    host.RunUntilIdle();
    EXPECT_EQ(Sel(), (SelectionState{0, 0, 0}));
    EXPECT_EQ(view.m_strPanelMsg, "Ready...");
}

TEST_F(SearchTest, AQuitDuringTheScanEndsItAsNotFound) {
    SetImage(std::vector<uint8_t>(12u << 20, 0x11));
    Command(ID_SEARCH_HEX);
    host.TypeText("11");
    host.OnPump([&](int count) {
        if (count == 1) host.PostQuit();
    });
    host.PressKey(vk::Return);
    host.OnPump(nullptr);
    ExpectNotFound("HEX", {0, 0, 0});
}

TEST_F(SearchTest, TheBlockScanAgreesWithTheByteLoop) {
    const unsigned seed = 7331;
    std::printf("scan differential seed: %u\n", seed);
    std::mt19937 rng(seed);
    // Over 8 MiB, so that hits straddle the scan's block boundaries.
    const size_t size = (8u << 20) + 4099;
    std::vector<uint8_t> data(size);
    for (auto& b : data) b = uint8_t("aAbB\0"[rng() % 5]);
    SetImage(data);
    view.m_bInputPanel = view.m_bSearching = true;  // as a running search has them

    for (int round = 0; round < 24; ++round) {
        const bool fold = round % 2 == 1;
        std::vector<uint8_t> pattern(1 + rng() % 7);
        for (auto& b : pattern) b = uint8_t("abAB\0"[rng() % (fold ? 2 : 5)]);
        // Plant it at, across or just before a block boundary, or cut off at the end.
        const size_t at = round % 4 == 3 ? size - pattern.size() + 1 + rng() % pattern.size()
                                         : (size_t(1 + rng() % 2) << 22) - rng() % 8;
        for (size_t i = 0; i < pattern.size() && at + i < size; ++i) {
            view.m_image.Overwrite(uint32_t(at + i), &pattern[i], 1);
            data[at + i] = pattern[i];
        }
        const uint32_t start = uint32_t(rng() % size);
        const uint32_t starts[] = {start, uint32_t(at) - uint32_t(rng() % 3000),
                                   uint32_t(size - 3)};
        for (uint32_t s : starts) {
            const uint32_t got = view.FindBytes(pattern.data(), uint32_t(pattern.size()),
                                                view.m_pData, view.m_nFileSize, s, fold);
            ASSERT_EQ(got, model::NaiveFind(pattern, fold, data.data(), data.size(), s))
                << "round " << round << " start " << s << " length " << pattern.size();
        }
    }
}
