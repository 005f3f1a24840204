// Creation defaults, cell geometry, hit-testing, the scroll range and the
// scroll bar's messages.
#include "ViewFixture.h"

using namespace platform;

TEST_F(ViewTest, CreateSetsDefaultsAndLaysOutTheScrollBar) {
    EXPECT_EQ(view.m_strBaseTitle, "Bytewren");
    EXPECT_EQ(view.m_nBytesPerRow, 16);
    EXPECT_EQ(view.m_pData, nullptr);
    EXPECT_EQ(view.m_nDragAnchor, -1);
    EXPECT_EQ(view.m_nHoverOffset, -1);
    EXPECT_EQ(view.m_ptMouse, (Point{-1, -1}));
    EXPECT_EQ(view.m_font, (Font{"Lucida Console", 100}));
    EXPECT_EQ(view.m_nFadeMode, 1);
    EXPECT_EQ(view.m_clrCaretBack, Rgb(175, 75, 75));
    EXPECT_EQ(host.ScrollBar()->WindowRect(), (Rect{782, 0, 800, 600}));
    // 8 x 15 cells: rows of 17 pixels, the hex area after eleven cells.
    EXPECT_EQ(view.m_nCellWidth, 8);
    EXPECT_EQ(view.m_nRowHeight, 17);
    EXPECT_EQ(view.m_nHexLeft, 88);
    EXPECT_EQ(view.m_nHexWidth, 3 * 16 * 8);
    EXPECT_EQ(view.m_nCharLeft, 3 * 16 * 8 + 12 * 8);
    EXPECT_EQ(view.m_nCharWidth, 16 * 8);
    EXPECT_EQ(view.m_nPageRows, (600 + 16) / 17);
}

TEST_F(ViewTest, CommandLineFileIsStoredAndPostedForLater) {
    headless::HeadlessHost other;
    other.SetCommandLine(CommandLine::FromLine("\"/usr/bin/bytewren\" \"/tmp/a b.bin\""));
    CHexView v;
    ASSERT_TRUE(v.Create(other));
    EXPECT_EQ(v.m_strFilePath, "/tmp/a b.bin");
    EXPECT_EQ(other.QueuedMessages(), 1u);
    EXPECT_EQ(view.m_strFilePath, "");
    EXPECT_EQ(host.QueuedMessages(), 0u);
}

TEST_F(ViewTest, HitTestMapsBothAreasAndRecordsTheArea) {
    SetImage(40);  // two full rows and a partial one of 8 bytes
    const int cw = view.m_nCellWidth, rh = view.m_nRowHeight;
    const int top = cw;

    // Hex area: each byte spans three cells, the gap cell included.
    EXPECT_EQ(view.HitTest({view.m_nHexLeft, top}), 0);
    EXPECT_FALSE(view.m_bCharArea);
    EXPECT_EQ(view.HitTest({view.m_nHexLeft + 3 * cw - 1, top}), 0);
    EXPECT_EQ(view.HitTest({view.m_nHexLeft + 3 * cw, top + rh}), 17);
    EXPECT_EQ(view.HitTest({view.m_nHexLeft + view.m_nHexWidth - 1, top + rh - 1}), 15);

    // Character area.
    EXPECT_EQ(view.HitTest({view.m_nCharLeft + 5 * cw, top + 2 * rh}), 37);
    EXPECT_TRUE(view.m_bCharArea);

    // The top margin, the offset column, the gap and the right of the
    // character area hit nothing and leave the area alone.
    EXPECT_EQ(view.HitTest({view.m_nHexLeft, top - 1}), -1);
    EXPECT_EQ(view.HitTest({view.m_nCharLeft, top - 1}), -1);
    EXPECT_EQ(view.HitTest({4, top + 5}), -1);
    EXPECT_EQ(view.HitTest({view.m_nHexLeft + view.m_nHexWidth + 2, top}), -1);
    EXPECT_EQ(view.HitTest({view.m_nCharLeft + view.m_nCharWidth, top}), -1);
    EXPECT_TRUE(view.m_bCharArea);
    EXPECT_EQ(view.HitTest({-1, 100}), -1);

    // The empty part of the partial last row hits nothing but still sets the area.
    EXPECT_EQ(view.HitTest({view.m_nHexLeft + 3 * cw * 9, top + 2 * rh}), -1);
    EXPECT_FALSE(view.m_bCharArea);
    EXPECT_EQ(view.HitTest({view.m_nCharLeft + 9 * cw, top + 2 * rh}), -1);
    EXPECT_TRUE(view.m_bCharArea);
}

TEST_F(ViewTest, HitTestFollowsTheScrollPosition) {
    SetImage(16 * 200);
    host.ScrollBar()->SetScrollPos(10, true);
    EXPECT_EQ(view.HitTest({view.m_nHexLeft, view.m_nCellWidth}), 160);
    // The status strip is not excluded: it maps to the row under it.
    const int bottomRow = (600 - 1 - view.m_nCellWidth) / view.m_nRowHeight;
    EXPECT_EQ(view.HitTest({view.m_nHexLeft, 599}), (10 + bottomRow) * 16);
}

TEST_F(ViewTest, NothingHitsWithoutAnImage) {
    EXPECT_EQ(view.HitTest({view.m_nHexLeft, view.m_nCellWidth}), -1);
    view.m_image.Release();
    EXPECT_EQ(view.HitTest({view.m_nCharLeft, view.m_nCellWidth + 3}), -1);
}

TEST(ScrollRange, OneByteInAFortyRowViewCannotScroll) {
    headless::HeadlessHost host(800, 40 * 17);
    CHexView view;
    ASSERT_TRUE(view.Create(host));
    view.m_image.Allocate(uint32_t(1));
    view.RecalcMetrics();
    EXPECT_EQ(view.m_nPageRows, 40);
    int lo = -1, hi = -1;
    host.ScrollBar()->GetScrollRange(lo, hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 0);
}

TEST(ScrollRange, ThousandRowsInAFortyOneRowView) {
    headless::HeadlessHost host(800, 40 * 17 + 5);  // a partial row counts
    CHexView view;
    ASSERT_TRUE(view.Create(host));
    view.m_image.Allocate(uint32_t(16000));
    view.RecalcMetrics();
    EXPECT_EQ(view.m_nPageRows, 41);
    EXPECT_EQ(view.m_nContentHeight, 1000 * 17);
    int lo = -1, hi = -1;
    host.ScrollBar()->GetScrollRange(lo, hi);
    EXPECT_EQ(hi, 980);
    host.ScrollBar()->SetScrollPos(5000, true);
    EXPECT_EQ(host.ScrollBar()->GetScrollPos(), 980);
}

TEST(ScrollRange, TinyViewsReachOnePastTheLastRow) {
    for (int height : {0, 10}) {
        headless::HeadlessHost host(800, height);
        CHexView view;
        ASSERT_TRUE(view.Create(host));
        view.m_image.Allocate(uint32_t(32));
        view.RecalcMetrics();
        int lo = -1, hi = -1;
        host.ScrollBar()->GetScrollRange(lo, hi);
        EXPECT_EQ(hi, 2) << "height " << height;
    }
}

TEST_F(ViewTest, VScrollCodesMoveByLineAndPageAndFollowTheThumb) {
    SetImage(16 * 1000);
    const int page = view.m_nPageRows;
    host.ValidateAll();

    host.ScrollBarAction(sb::LineDown);
    EXPECT_EQ(view.ScrollPos(), 1);
    EXPECT_EQ(host.InvalidRect(), Rect{}) << "a paint followed";
    host.ScrollBarAction(sb::PageDown);
    EXPECT_EQ(view.ScrollPos(), 1 + page);
    host.ScrollBarAction(sb::PageUp);
    host.ScrollBarAction(sb::LineUp);
    EXPECT_EQ(view.ScrollPos(), 0);
    host.ScrollBarAction(sb::LineUp);
    EXPECT_EQ(view.ScrollPos(), 0) << "clamped at the top";

    host.DragThumb(700);
    EXPECT_EQ(view.ScrollPos(), 700);
    host.DragThumb(100000);
    EXPECT_EQ(view.ScrollPos(), RangeMax());
}

TEST_F(ViewTest, VScrollUsesTheThirtyTwoBitTrackingPosition) {
    SetImage(16 * 100000);
    host.ScrollBar()->SetTrackPos(70000);  // beyond 16 bits
    host.PostViewMessage(msg::VScroll, MakeWParam(sb::ThumbTrack, 70000 & 0xFFFF), 0);
    host.RunUntilIdle();
    EXPECT_EQ(view.ScrollPos(), 70000);
}

TEST_F(ViewTest, VScrollIgnoresTopBottomAndEndScroll) {
    SetImage(16 * 1000);
    host.ScrollBar()->SetScrollPos(50, true);
    host.ValidateAll();
    for (unsigned code : {sb::Top, sb::Bottom, sb::EndScroll}) {
        const int paints = host.PaintCount();
        host.ScrollBarAction(code);
        EXPECT_EQ(view.ScrollPos(), 50);
        EXPECT_EQ(host.PaintCount(), paints);
        EXPECT_TRUE(host.InvalidRect().IsEmpty());
    }
}

TEST_F(ViewTest, VScrollInvalidatesTheDumpButNotTheScrollBarStrip) {
    SetImage(16 * 1000);
    host.ValidateAll();
    view.OnVScroll(sb::LineDown, view.m_wndScrollBar.get());
    EXPECT_EQ(host.InvalidRect(), (Rect{0, 0, 782, 600}));
}

TEST_F(ViewTest, PageDownKeepsTheOldPageSizeUntilRecalculated) {
    SetImage(16 * 1000);
    const int page = view.m_nPageRows;
    host.MoveWindow({0, 0, 800, 1200}, false);
    host.ScrollBarAction(sb::PageDown);
    EXPECT_EQ(view.ScrollPos(), page);
}

TEST_F(ViewTest, ChangeColumnsNeedsAnImageAndStopsAtOne) {
    view.ChangeColumns(+1);
    EXPECT_EQ(view.m_nBytesPerRow, 16);
    SetImage(0);
    view.ChangeColumns(-1);
    EXPECT_EQ(view.m_nBytesPerRow, 16) << "an empty image does not count";

    SetImage(100);
    for (int i = 0; i < 20; ++i) view.ChangeColumns(-1);
    EXPECT_EQ(view.m_nBytesPerRow, 1);
    EXPECT_EQ(view.m_nHexWidth, 3 * view.m_nCellWidth);
    EXPECT_EQ(view.m_nCharLeft, 15 * view.m_nCellWidth);
    EXPECT_EQ(RangeMax(), 100 - view.m_nPageRows / 2);
    for (int i = 0; i < 100; ++i) view.ChangeColumns(+1);
    EXPECT_EQ(view.m_nBytesPerRow, 101) << "no upper limit";
}

TEST_F(ViewTest, ChangeColumnsKeepsTheRowIndexNotTheOffset) {
    SetImage(16 * 1000);
    host.ScrollBar()->SetScrollPos(100, true);
    view.ChangeColumns(+1);
    EXPECT_EQ(view.ScrollPos(), 100);
    EXPECT_EQ(view.HitTest({view.m_nHexLeft, view.m_nCellWidth}), 1700);
}

TEST_F(ViewTest, LeaveAllModesEndsEveryModeButKeepsSearchModeAndSelection) {
    SetImage(64);
    view.m_bLoading = view.m_bSaving = view.m_bInputPanel = view.m_bSearching = true;
    view.m_bBitEdit = true;
    std::memcpy(view.m_szBits, "1010 1", 7);
    view.m_nSearchMode = SEARCH_UNICODE;
    view.m_nSelStart = 3;
    view.m_nSelEnd = 9;
    host.SetTimer(SEARCH_TIMER_ID, SEARCH_TIMER_MS);
    view.m_wndScrollBar->EnableWindow(false);
    host.ValidateAll();

    view.LeaveAllModes();

    EXPECT_FALSE(view.m_bLoading || view.m_bSaving || view.m_bInputPanel || view.m_bSearching ||
                 view.m_bBitEdit);
    for (char c : view.m_szBits) EXPECT_EQ(c, 0);
    EXPECT_FALSE(host.TimerRunning(SEARCH_TIMER_ID));
    EXPECT_TRUE(host.ScrollBar()->IsWindowEnabled());
    EXPECT_EQ(view.m_nSearchMode, SEARCH_UNICODE);
    EXPECT_EQ(view.m_nSelStart, 3u);
    EXPECT_EQ(view.m_nSelEnd, 9u);
    EXPECT_TRUE(host.InvalidRect().IsEmpty()) << "it does not repaint";
}

TEST_F(ViewTest, FitToParentCoversTheClientAreaAndPutsTheBarInItsStrip) {
    host.ResizeMainWindow(640, 300);
    view.FitToParent();
    EXPECT_EQ(host.GetClientRect(), (Rect{0, 0, 640, 300}));
    EXPECT_EQ(host.ScrollBar()->WindowRect(), (Rect{622, 0, 640, 300}));
    EXPECT_EQ(host.InvalidRect(), (Rect{0, 0, 640, 300}));
}

TEST_F(ViewTest, SetFadeModeAndResetColorsRepaint) {
    host.ValidateAll();
    view.SetFadeMode(2);
    EXPECT_EQ(view.m_nFadeMode, 2);
    EXPECT_FALSE(host.InvalidRect().IsEmpty());
    host.ValidateAll();
    view.m_clrAccent = Rgb(1, 2, 3);
    view.ResetColors();
    EXPECT_EQ(view.m_nFadeMode, 1);
    EXPECT_EQ(view.m_clrAccent, Rgb(0, 255, 0));
    EXPECT_FALSE(host.InvalidRect().IsEmpty());
}
