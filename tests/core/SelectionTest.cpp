// Selecting with the pointer, the wheel and the arrow keys.
#include "InteractFixture.h"
#include "rules/CommandIds.h"

using namespace platform;

TEST_F(InteractTest, PressesSelectOneByteOrNothing) {
    SetImage(Iota(100));
    Click(HexPoint(17));
    EXPECT_EQ(Sel(), (SelectionState{17, 17, 17}));
    Click(CharPoint(40));
    EXPECT_EQ(Sel(), (SelectionState{40, 40, 40}));
    EXPECT_TRUE(view.m_bCharArea);

    // The offset column, the gap between the areas and the empty end of the
    // last row select nothing; afterwards typing and the arrows do nothing.
    Click(OffsetColumn(1));
    EXPECT_EQ(Sel(), (SelectionState{NONE, NONE, NONE}));
    EXPECT_EQ(view.m_nDragAnchor, -1);
    Click(HexPoint(40));
    Click({view.m_nHexLeft + view.m_nHexWidth + 2, HexPoint(0).y});
    EXPECT_EQ(Sel(), (SelectionState{NONE, NONE, NONE}));
    Click({HexPoint(99).x + 3 * view.m_nCellWidth, HexPoint(99).y});
    EXPECT_EQ(Sel(), (SelectionState{NONE, NONE, NONE}));
    host.TypeText("41x");
    host.PressKey(vk::Right);
    host.PressKey(vk::Down);
    EXPECT_EQ(Sel(), (SelectionState{NONE, NONE, NONE}));
    EXPECT_EQ(Image(), Iota(100));

    // A double click is two clicks: the byte stays selected alone.
    Click(HexPoint(5));
    Click(HexPoint(5));
    EXPECT_EQ(Sel(), (SelectionState{5, 5, 5}));
}

TEST_F(InteractTest, DragsSelectBothWaysAndKeepTheCaretOnTheAnchor) {
    SetImage(Iota(100));
    SelectHex(10, 3);
    EXPECT_EQ(Sel(), (SelectionState{3, 10, 10}));
    EXPECT_EQ(view.m_nDragAnchor, -1);
    SelectHex(3, 10);
    EXPECT_EQ(Sel(), (SelectionState{3, 10, 3}));

    // Back and forth across the anchor in one drag.
    host.LButtonDown(HexPoint(20));
    host.MoveMouse(HexPoint(25));
    EXPECT_EQ(Sel(), (SelectionState{20, 25, 20}));
    host.MoveMouse(HexPoint(12));
    EXPECT_EQ(Sel(), (SelectionState{12, 20, 20}));
    // Over something that is not a byte the extent stays.
    host.MoveMouse(OffsetColumn(0));
    EXPECT_EQ(Sel(), (SelectionState{12, 20, 20}));
    host.LButtonUp(OffsetColumn(0));
    EXPECT_EQ(Sel(), (SelectionState{12, 20, 20}));

    // Released in the margin above the first row: the selection stays.
    host.LButtonDown(HexPoint(3));
    host.MoveMouse(HexPoint(10));
    const Point margin{HexPoint(10).x, view.m_nCellWidth - 1};
    host.MoveMouse(margin);
    host.LButtonUp(margin);
    EXPECT_EQ(Sel(), (SelectionState{3, 10, 3}));
}

TEST_F(InteractTest, AReleaseOutsideTheViewLeavesTheDragOpen) {
    SetImage(Iota(100));
    host.LButtonDown(HexPoint(3));
    host.MoveMouse(HexPoint(8));
    // The button comes up elsewhere: no release reaches the view.
    host.MoveMouse(HexPoint(50));
    EXPECT_EQ(Sel(), (SelectionState{3, 50, 3}));
    // A release back over the view ends it where the pointer last moved.
    host.LButtonUp(HexPoint(60));
    EXPECT_EQ(Sel(), (SelectionState{3, 50, 3}));
    host.MoveMouse(HexPoint(70));
    EXPECT_EQ(Sel(), (SelectionState{3, 50, 3}));
}

TEST_F(InteractTest, PointerMovesRefreshOnlyTheStatusStripAndFollowTheArea) {
    SetImage(Iota(100));
    host.ValidateAll();
    // Sent rather than queued, so that no paint validates the window first.
    view.WindowProc({msg::MouseMove, 0, LParamFromPoint(CharPoint(7))});
    EXPECT_EQ(host.InvalidRect(), (Rect{0, 600 - 18, 800 - 18, 600}));
    EXPECT_EQ(view.m_nHoverOffset, 7);
    EXPECT_EQ(view.m_ptMouse, CharPoint(7));
    EXPECT_TRUE(view.m_bCharArea);
    host.MoveMouse(HexPoint(7));
    EXPECT_FALSE(view.m_bCharArea);
    host.MoveMouse(OffsetColumn());
    EXPECT_FALSE(view.m_bCharArea);
    EXPECT_EQ(view.m_nHoverOffset, -1);
    // Below the last byte the area still switches.
    host.MoveMouse({view.m_nCharLeft + 2, HexPoint(0).y + 20 * view.m_nRowHeight});
    EXPECT_TRUE(view.m_bCharArea);
    EXPECT_EQ(view.m_nHoverOffset, -1);
}

TEST_F(InteractTest, PointerIsIgnoredInEveryModeButTheWheelScrolls) {
    SetImage(Iota(16 * 200));
    Click(HexPoint(5));
    Command(ID_EDIT_BITS);
    ASSERT_TRUE(view.m_bBitEdit);
    const Point mouse = view.m_ptMouse;
    Click(HexPoint(9));
    host.Drag(HexPoint(1), HexPoint(2));
    EXPECT_EQ(Sel(), (SelectionState{5, 5, 5}));
    EXPECT_EQ(view.m_ptMouse, mouse);
    host.Wheel(-WHEEL_NOTCH);
    EXPECT_EQ(view.ScrollPos(), view.m_nPageRows / 3);
    // The arrows walk the byte the panel shows.
    host.PressKey(vk::Right);
    EXPECT_EQ(Sel(), (SelectionState{6, 6, 6}));
    host.PressKey(vk::Escape);

    Command(ID_SEARCH_HEX);
    Click(HexPoint(9));
    EXPECT_EQ(Sel(), (SelectionState{6, 6, 6}));

    // Without an image nothing is accepted either.
    host.PressKey(vk::Escape);
    view.m_image.Release();
    const int hover = view.m_nHoverOffset;
    host.MoveMouse(HexPoint(3));
    EXPECT_EQ(view.m_nHoverOffset, hover);
    EXPECT_EQ(view.m_ptMouse, mouse);
}

TEST_F(InteractTest, SetCursorShowsTheArrowAndPassesOn) {
    const int before = host.ArrowCursorSets();
    view.WindowProc({msg::SetCursor, 0, 0});
    EXPECT_EQ(host.ArrowCursorSets(), before + 1);
}

TEST_F(InteractTest, TheWheelScrollsAThirdOfThePageInsideTheRange) {
    SetImage(Iota(100) /* 7 rows: cannot scroll */);
    host.Wheel(-WHEEL_NOTCH);
    EXPECT_EQ(view.ScrollPos(), 0);

    SetImage(16 * 1000);
    const int step = view.m_nPageRows / 3;  // 36 rows in 600 pixels
    ASSERT_EQ(step, 12);
    host.Wheel(WHEEL_NOTCH);
    EXPECT_EQ(view.ScrollPos(), 0) << "already at the top";
    host.Wheel(-3 * WHEEL_NOTCH);
    EXPECT_EQ(view.ScrollPos(), step) << "one step whatever the delta";
    host.Wheel(-1);
    EXPECT_EQ(view.ScrollPos(), 2 * step);
    host.DragThumb(RangeMax());
    host.Wheel(-WHEEL_NOTCH);
    EXPECT_EQ(view.ScrollPos(), RangeMax()) << "already at the end";
    host.ValidateAll();
    view.WindowProc({msg::MouseWheel, MakeWParam(0, WHEEL_NOTCH), 0});
    EXPECT_EQ(view.ScrollPos(), RangeMax() - step);
    EXPECT_EQ(host.InvalidRect(), (Rect{0, 0, 800 - 18, 600}));
}

TEST(WheelPage, ThirtyRowsStepTenAndTwoRowsStepNone) {
    for (const auto& [height, step] : {std::pair{30 * 17, 10}, std::pair{2 * 17, 0}}) {
        headless::HeadlessHost host(800, height);
        CHexView view;
        ASSERT_TRUE(view.Create(host));
        view.m_image.Allocate(uint32_t(16 * 500));
        view.RecalcMetrics();
        host.ScrollBar()->SetScrollPos(100, true);
        host.Wheel(-WHEEL_NOTCH);
        EXPECT_EQ(view.ScrollPos(), 100 + step) << height;
        host.Wheel(WHEEL_NOTCH);
        host.Wheel(WHEEL_NOTCH);
        EXPECT_EQ(view.ScrollPos(), 100 - step) << height;
    }
}

TEST_F(InteractTest, TheWheelExtendsAnOpenDragToTheByteScrolledUnderThePointer) {
    SetImage(Iota(16 * 1000));
    host.LButtonDown(HexPoint(2));
    host.MoveMouse(HexPoint(16 * 5 + 2));
    host.Wheel(-WHEEL_NOTCH);
    const uint32_t under = uint32_t(16 * (5 + view.m_nPageRows / 3) + 2);
    EXPECT_EQ(view.m_nHoverOffset, int(under));
    EXPECT_EQ(Sel(), (SelectionState{2, under, 2}));
    host.LButtonUp(HexPoint(under));
    // With no drag open the wheel only tracks the hovered byte.
    host.Wheel(-WHEEL_NOTCH);
    EXPECT_EQ(Sel(), (SelectionState{2, under, 2}));
    EXPECT_EQ(view.m_nHoverOffset, int(under + 16 * view.m_nPageRows / 3));
}

TEST_F(InteractTest, ArrowsMoveTheWholeBlockOnlyWhenItFits) {
    SetImage(Iota(100));
    Click(HexPoint(90));
    host.PressKey(vk::Down);
    EXPECT_EQ(Sel(), (SelectionState{90, 90, 90})) << "90 + 16 >= 100";
    host.PressKey(vk::Up);
    EXPECT_EQ(Sel(), (SelectionState{74, 74, 74}));
    host.PressKey(vk::Down);
    host.PressKey(vk::Right);
    EXPECT_EQ(Sel(), (SelectionState{91, 91, 91}));

    Click(HexPoint(5));
    host.PressKey(vk::Up);
    EXPECT_EQ(Sel(), (SelectionState{5, 5, 5})) << "5 < 16";
    host.PressKey(vk::Left);
    EXPECT_EQ(Sel(), (SelectionState{4, 4, 4}));

    SelectHex(99, 95);
    ASSERT_EQ(Sel(), (SelectionState{95, 99, 99}));
    host.PressKey(vk::Right);
    EXPECT_EQ(Sel(), (SelectionState{95, 99, 99})) << "already ends at the last byte";
    host.PressKey(vk::Down);
    EXPECT_EQ(Sel(), (SelectionState{95, 99, 99}));

    // Four bytes keep four bytes; the caret returns to the first and a
    // pending digit is dropped.
    SelectHex(3, 0);
    host.PressKey(vk::Left);
    EXPECT_EQ(Sel(), (SelectionState{0, 3, 3}));
    host.TypeChar('4');
    host.PressKey(vk::Right);
    EXPECT_EQ(Sel(), (SelectionState{1, 4, 1}));
    EXPECT_EQ(view.m_chPendingDigit, 0);
    host.PressKey(vk::Down);
    EXPECT_EQ(Sel(), (SelectionState{17, 20, 17}));
    host.TypeText("AB");
    EXPECT_EQ(Image()[17], 0xAB);

    // The rows shown never follow the arrows; holding a key acts once.
    SetImage(16 * 1000);
    host.KeyDown(vk::Down);
    host.KeyDown(vk::Down);
    host.KeyDown(vk::Down);
    EXPECT_EQ(Sel(), (SelectionState{0, 0, 0}));
    host.KeyUp(vk::Down);
    EXPECT_EQ(Sel(), (SelectionState{16, 16, 16}));
    for (int i = 0; i < 100; ++i) host.PressKey(vk::Down);
    EXPECT_EQ(view.ScrollPos(), 0);
}

TEST_F(InteractTest, ScrollSelectionIntoViewPutsItsRowAtTheTop) {
    SetImage(16 * 1000);
    Click(HexPoint(40));
    Command(ID_SCROLL_SELECTION_INTO_VIEW);
    EXPECT_EQ(view.ScrollPos(), 2);
    for (int i = 0; i < 0x125 - 40; ++i) host.KeyUp(vk::Right);
    Command(ID_SCROLL_SELECTION_INTO_VIEW);
    EXPECT_EQ(view.ScrollPos(), 0x12);
    // Near the end the range stops short of the row.
    host.DragThumb(0);
    Click(HexPoint(0));
    for (int i = 0; i < 999; ++i) host.KeyUp(vk::Down);
    Command(ID_SCROLL_SELECTION_INTO_VIEW);
    EXPECT_EQ(view.ScrollPos(), RangeMax());
    // With nothing selected the view stays where it is.
    host.ScrollBar()->SetScrollPos(7, true);
    Click(OffsetColumn());
    Command(ID_SCROLL_SELECTION_INTO_VIEW);
    EXPECT_EQ(view.ScrollPos(), 7);
}
