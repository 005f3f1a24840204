// The paint handler and its buffer, the rows of the dump, the welcome
// screen, the repaint timer and the cost bound of a paint.
#include <sstream>

#include "PaintFixture.h"

using namespace platform;

namespace {
const Color kBlack = Rgb(0, 0, 0);
}

TEST_F(PaintTest, OnePaintFillsABufferOfTheViewWithoutTheScrollBarStrip) {
    SetImage(20);
    const int before = host.PaintCount();
    Repaint();
    EXPECT_EQ(host.PaintCount(), before + 1);
    EXPECT_EQ(host.LastFrame().Width(), 800 - 18);
    EXPECT_EQ(host.LastFrame().Height(), 600);
    EXPECT_TRUE(host.InvalidRect().IsEmpty());
}

TEST_F(PaintTest, AFailedBufferDrawsNothingAndLeavesTheScreen) {
    SetImage(20, 0xFF);
    Repaint();
    const headless::Raster shown = host.Screen();
    const int paints = host.PaintCount();

    SetImage(20, 0x00);
    host.FailBufferCreation(1);
    Repaint();
    EXPECT_EQ(host.PaintCount(), paints);
    EXPECT_TRUE(host.InvalidRect().IsEmpty()) << "the paint still ends";
    for (int y = 0; y < shown.Height(); y += 3) {
        for (int x = 0; x < shown.Width(); x += 3)
            ASSERT_EQ(host.Screen().At(x, y), shown.At(x, y));
    }

    Repaint();
    EXPECT_EQ(host.PaintCount(), paints + 1);
}

TEST_F(PaintTest, SecondRowOfTwentyBytesShowsItsOffsetAndFourBytes) {
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 20; ++i) bytes.push_back(uint8_t(0x30 + i));
    SetImage(bytes);
    Repaint();

    EXPECT_EQ(RowTexts(1),
              (std::vector<std::string>{" 00000010", "40", "@", "41", "A", "42", "B", "43", "C"}));
    EXPECT_EQ(RowTexts(0).size(), 1u + 2 * 16);
    EXPECT_EQ(RowTexts(0).front(), " 00000000");
    EXPECT_TRUE(RowTexts(2).empty());

    // Everything right of the fourth byte stays black, in both areas.
    const auto& f = host.LastFrame();
    const int top = RowTop(1), bottom = RowTop(2);
    const Rect hexRest{view.m_nHexLeft + 4 * 3 * view.m_nCellWidth, top, view.m_nCharLeft, bottom};
    const Rect charRest{view.m_nCharLeft + 4 * view.m_nCellWidth, top, DumpWidth(), bottom};
    EXPECT_EQ(f.Count(hexRest, kBlack), hexRest.Width() * hexRest.Height());
    EXPECT_EQ(f.Count(charRest, kBlack), charRest.Width() * charRest.Height());

    // The offset text is grey on black from the left edge, one cell per digit.
    const auto& offset = host.LastFrameStrings()[RowTexts(0).size()];
    EXPECT_EQ(offset.text, " 00000010");
    EXPECT_EQ(offset.rect, (Rect{0, top, DumpWidth(), DumpHeight()}));
    EXPECT_EQ(offset.textColor, view.m_clrPlainText);
    EXPECT_EQ(offset.bkColor, view.m_clrBackground);
    EXPECT_EQ(offset.bkMode, BkMode::Opaque);
}

TEST_F(PaintTest, ControlCharactersAndAmpersandsStayInTheirOwnCells) {
    SetImage({0x0A, 'A', 0x0D, 'B', 0x09, 'C', '&', 0x00, 0x1B, 'D'});
    view.m_nSelStart = view.m_nSelEnd = view.m_nCaret = NO_OFFSET;
    view.SetFadeMode(0);
    Repaint();

    const auto& f = host.LastFrame();
    const int cw = view.m_nCellWidth, top = RowTop(0);
    const Color character = Rgb(254, 249, 75);
    for (int col : {1, 3, 5, 6, 9}) {
        EXPECT_EQ(f.At(view.m_nCharLeft + col * cw + cw / 2, top + 7), character) << col;
    }
    for (int col : {0, 2, 4, 7, 8}) {
        const Rect cell{view.m_nCharLeft + col * cw, top, view.m_nCharLeft + (col + 1) * cw,
                        top + view.m_nRowHeight};
        EXPECT_EQ(f.Count(cell, kBlack), cw * view.m_nRowHeight) << col;
    }
    // Nothing moved to another line.
    const Rect below{0, RowTop(1), DumpWidth(), DumpHeight() - 18};
    EXPECT_EQ(f.Count(below, kBlack), below.Width() * below.Height());
    for (const auto& s : host.LastFrameStrings()) {
        if (s.rect.left >= view.m_nCharLeft && !InStatusLine(s)) {
            EXPECT_TRUE(s.format & dt::NoPrefix) << s.text;
            EXPECT_EQ(s.rect.Width(), cw);
            EXPECT_EQ(s.rect.Height(), view.m_nRowHeight - 2);
        }
    }
}

TEST_F(PaintTest, WelcomeScreenWithoutAnImageResetsTheCaption) {
    host.SetMainCaption("Bytewren - old.bin");
    Repaint();
    EXPECT_EQ(host.GetMainCaption(), "Bytewren");

    const auto& strings = host.LastFrameStrings();
    ASSERT_EQ(strings.size(), 2u) << "no status line on the welcome screen";
    const Rect area{0, view.m_nCellWidth, DumpWidth(), DumpHeight()};

    const auto& welcome = strings[0];
    EXPECT_EQ(welcome.rect, area);
    EXPECT_EQ(welcome.format, 0u);
    EXPECT_EQ(welcome.textColor, view.m_clrPlainText);
    EXPECT_EQ(welcome.bkColor, view.m_clrBackground);
    EXPECT_EQ(welcome.bkMode, BkMode::Opaque);
    std::vector<std::string> lines;
    std::istringstream in(welcome.text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_NE(welcome.text.back(), '\n');
    EXPECT_EQ(lines[0], " Welcome to the Bytewren,");
    for (int i = 1; i <= 3; ++i) {
        EXPECT_GT(lines[i].size(), 1u);
        EXPECT_EQ(lines[i][0], ' ');
        EXPECT_NE(lines[i][1], ' ');
    }
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(lines[5], " Tips: When modifying data, the data entry mode automatically changes");
    EXPECT_EQ(lines[11],
              " The INSERT key will change between Overwrite, and Insert Editing modes.");

    const auto& none = strings[1];
    EXPECT_EQ(none.text, "No file loaded...");
    EXPECT_EQ(none.rect, area);
    EXPECT_EQ(none.format, dt::Center | dt::VCenter | dt::SingleLine);
    EXPECT_EQ(none.textColor, view.m_clrAccent);
    EXPECT_EQ(none.bkMode, BkMode::Transparent);

    const Rect strip{0, DumpHeight() - 18, DumpWidth(), DumpHeight()};
    EXPECT_EQ(host.LastFrame().Count(strip, kBlack), strip.Width() * strip.Height());
}

TEST_F(PaintTest, TheCaptionIsLeftAloneWhileAnImageIsShownAndResetWhenItIsEmpty) {
    SetImage(8);
    host.SetMainCaption("Bytewren - a.bin");
    Repaint();
    EXPECT_EQ(host.GetMainCaption(), "Bytewren - a.bin");

    view.m_image.Allocate(0);  // an empty image: the block exists, no byte in it
    Repaint();
    EXPECT_EQ(host.GetMainCaption(), "Bytewren");
    EXPECT_EQ(host.LastFrameStrings().back().text, "No file loaded...");
}

TEST(PaintTinyView, AtOnePastTheLastRowOnlyTheStatusLineIsDrawn) {
    headless::HeadlessHost host(800, 10);  // one partial row
    CHexView view;
    ASSERT_TRUE(view.Create(host));
    view.m_image.Allocate(uint32_t(40));
    view.RecalcMetrics();
    ASSERT_EQ(view.m_nPageRows, 1);
    host.ScrollBar()->SetScrollPos(3, true);  // R = 3
    ASSERT_EQ(view.ScrollPos(), 3);
    host.Invalidate();
    host.PaintNow();
    ASSERT_EQ(host.LastFrameStrings().size(), 1u);
    EXPECT_EQ(host.LastFrameStrings()[0].text, "Ready...");
}

TEST_F(PaintTest, NoPageRowsDrawsNoRowEvenAtTheTop) {
    SetImage(64);
    view.m_nPageRows = 0;
    Repaint();
    EXPECT_EQ(DumpStringCount(), 0u);
    EXPECT_EQ(host.LastFrameStrings().back().text, "Ready...");
}

TEST_F(PaintTest, TimerTenRepaintsTheWholeViewOtherIdsDoNot) {
    SetImage(16);
    host.RunUntilIdle();
    for (unsigned id : {0u, 1u, 9u, 11u}) {
        view.OnTimer(id);
        EXPECT_TRUE(host.InvalidRect().IsEmpty()) << id;
    }
    view.OnTimer(SEARCH_TIMER_ID);
    EXPECT_EQ(host.InvalidRect(), host.GetClientRect());

    // Through the message table and the host's clock.
    host.RunUntilIdle();
    const int paints = host.PaintCount();
    host.SetTimer(11, 100);
    host.AdvanceClock(100);
    host.RunUntilIdle();
    EXPECT_EQ(host.PaintCount(), paints);
    host.SetTimer(SEARCH_TIMER_ID, SEARCH_TIMER_MS);
    host.AdvanceClock(SEARCH_TIMER_MS);
    host.RunUntilIdle();
    EXPECT_EQ(host.PaintCount(), paints + 1);
}

TEST_F(PaintTest, PaintCostIsBoundedByTheVisibleRows) {
    // Rows go on under the status line's strip, down to the bottom.
    const int visibleRows =
        (DumpHeight() - view.m_nCellWidth + view.m_nRowHeight - 1) / view.m_nRowHeight;
    SetImage(size_t(visibleRows) * 16);
    Repaint();
    const size_t filling = DumpStringCount();
    EXPECT_EQ(filling, size_t(visibleRows) * (1 + 2 * 16));

    SetImage(64u << 20);
    host.ScrollBar()->SetScrollPos(100000, true);
    Repaint();
    EXPECT_EQ(DumpStringCount(), filling);
    EXPECT_EQ(RowTexts(0).front(), " 00186A00");
    EXPECT_EQ(RowTexts(visibleRows - 1).size(), 1u + 2 * 16);
}
