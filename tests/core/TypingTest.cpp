// Typing hexadecimal digits and characters into the selection, in both
// modes, and the keys that step, toggle and delete.
#include "InteractFixture.h"
#include "rules/CommandIds.h"

using namespace platform;

TEST_F(InteractTest, HexDigitsOverwriteTheSelectionAndStopAtItsEnd) {
    SetImage(Iota(16));
    SelectHex(4, 7);
    host.TypeText("DEADBEEF");
    EXPECT_EQ(Sel(), (SelectionState{4, 7, 8}));
    host.TypeText("1");
    host.TypeText("2");
    std::vector<uint8_t> expected = Iota(16);
    expected[4] = 0xDE, expected[5] = 0xAD, expected[6] = 0xBE, expected[7] = 0xEF;
    EXPECT_EQ(Image(), expected) << "the caret stands past the selection";

    // Either case; the first digit is the high nibble.
    Click(HexPoint(0));
    host.TypeText("41");
    Click(HexPoint(1));
    host.TypeText("aB");
    EXPECT_EQ(Image()[0], 0x41);
    EXPECT_EQ(Image()[1], 0xAB);
}

TEST_F(InteractTest, APendingDigitWaitsAndOnlySomeKeysDropIt) {
    SetImage(Iota(16));
    Click(HexPoint(2));
    host.TypeChar('4');
    EXPECT_EQ(view.m_chPendingDigit, '4');
    // Not hex, and not printable: the digit stays pending.
    host.TypeText("G ");
    host.PressKey(vk::Tab);
    EXPECT_EQ(view.m_chPendingDigit, '4');
    // Moving the pointer into the other area and back does not drop it.
    host.MoveMouse(CharPoint(9));
    host.MoveMouse(HexPoint(9));
    host.TypeChar('1');
    EXPECT_EQ(Image()[2], 0x41);

    // An arrow key drops it: the next two digits make a whole byte there.
    Click(HexPoint(2));
    host.TypeChar('4');
    host.PressKey(vk::Right);
    host.TypeText("7F");
    EXPECT_EQ(Image()[3], 0x7F);
    EXPECT_EQ(Image()[2], 0x41);
    // So do INSERT and a press.
    host.TypeChar('9');
    host.PressKey(vk::Insert);
    EXPECT_EQ(view.m_chPendingDigit, 0);
    host.PressKey(vk::Insert);
    host.TypeChar('9');
    Click(HexPoint(8));
    EXPECT_EQ(view.m_chPendingDigit, 0);
    // ...but a drag update and the wheel do not.
    host.TypeChar('9');
    host.Wheel(-WHEEL_NOTCH);
    EXPECT_EQ(view.m_chPendingDigit, '9');
}

TEST_F(InteractTest, InsertModeTypesBeforeTheCaretAndGrowsTheSelection) {
    SetImage({0x00, 0x11, 0x22});
    host.PressKey(vk::Insert);
    ASSERT_TRUE(view.m_bInsertMode);
    Click(HexPoint(0));
    host.TypeText("AB");
    EXPECT_EQ(Image(), (std::vector<uint8_t>{0xAB, 0x00, 0x11, 0x22}));
    EXPECT_EQ(Sel(), (SelectionState{0, 1, 1}));
    host.TypeText("CD");
    EXPECT_EQ(Image(), (std::vector<uint8_t>{0xAB, 0xCD, 0x00, 0x11, 0x22}));
    EXPECT_EQ(Sel(), (SelectionState{0, 2, 2}));

    // Before the last byte, which stays last.
    Click(CharPoint(4));
    host.TypeChar('x');
    EXPECT_EQ(Image(), (std::vector<uint8_t>{0xAB, 0xCD, 0x00, 0x11, 0x78, 0x22}));
    EXPECT_EQ(Sel(), (SelectionState{4, 5, 5}));
}

TEST_F(InteractTest, InsertedRowsWaitForTheNextRecalculation) {
    SetImage(16 * 40);
    const int range = RangeMax();
    host.PressKey(vk::Insert);
    Click(HexPoint(0));
    for (int i = 0; i < 16 * 5; ++i) host.TypeText("00");
    EXPECT_EQ(view.m_nFileSize, 16u * 45);
    EXPECT_EQ(RangeMax(), range);
    host.PressKey(vk::F6);
    host.PressKey(vk::F5);
    EXPECT_EQ(RangeMax(), range + 5);
}

TEST_F(InteractTest, CharactersOverwriteAndBackspaceStepsBack) {
    SetImage(Iota(8));
    SelectChars(0, 2);
    host.TypeText("hi");
    EXPECT_EQ(Sel(), (SelectionState{0, 2, 2}));
    host.PressKey(vk::Back);
    EXPECT_EQ(Sel(), (SelectionState{0, 2, 1}));
    host.TypeChar('o');
    EXPECT_EQ(Image(), (std::vector<uint8_t>{'h', 'o', 2, 3, 4, 5, 6, 7}));
    // At the selection's first byte BACKSPACE does nothing and removes no byte.
    host.PressKey(vk::Back);
    host.PressKey(vk::Back);
    EXPECT_EQ(Sel(), (SelectionState{0, 2, 0}));
    EXPECT_EQ(view.m_nFileSize, 8u);

    // Only 0x20 to 0x7E is stored: not TAB, not an accented letter.
    Click(CharPoint(5));
    host.TypeChar(char(0xE9));
    host.PressKey(vk::Tab);
    host.PressKey(vk::Return);
    EXPECT_EQ(Image()[5], 5);
    EXPECT_EQ(Sel(), (SelectionState{5, 5, 5}));
    host.TypeChar('~');
    EXPECT_EQ(Image()[5], '~');
}

TEST_F(InteractTest, CharactersNeverReachTheMainWindow) {
    SetImage(Iota(8));
    Message m{msg::Char, 'a', 1};
    EXPECT_FALSE(view.PreTranslateMessage(m));
    EXPECT_EQ(m.wParam, WParam(' '));
    Message esc{msg::KeyDown, vk::Escape, 1};
    EXPECT_TRUE(view.PreTranslateMessage(esc));
    Message enter{msg::KeyDown, vk::Return, 1};
    EXPECT_TRUE(view.PreTranslateMessage(enter));
}

TEST_F(InteractTest, ShortcutsDoNothingWithNothingSelected) {
    SetImage(Iota(8));
    Click(OffsetColumn());
    host.PressCtrl('f');
    EXPECT_FALSE(view.m_bInputPanel);
    host.PressCtrl('v');
    host.PressCtrl('c');
    host.TypeText("ab");
    EXPECT_EQ(Image(), Iota(8));
    EXPECT_EQ(host.Clipboard(), std::nullopt);

    // With a selection Ctrl+F opens the panel that the area chooses.
    Click(HexPoint(1));
    host.PressCtrl('f');
    EXPECT_TRUE(view.m_bInputPanel);
    EXPECT_EQ(view.m_nSearchMode, SEARCH_HEX);
    host.PressKey(vk::Escape);
    Click(CharPoint(1));
    host.PressCtrl('f');
    EXPECT_EQ(view.m_nSearchMode, SEARCH_TEXT_NOCASE);
    EXPECT_EQ(view.m_strPanelMsg, "Ready...");
}

TEST_F(InteractTest, DeleteRemovesTheSelectionUnlessAPanelIsShown) {
    SetImage(Iota(10));
    SelectHex(2, 4);
    Command(ID_EDIT_BITS);
    host.PressKey(vk::Delete);
    EXPECT_EQ(view.m_nFileSize, 10u);
    host.PressKey(vk::Escape);
    Command(ID_SEARCH_TEXT);
    host.PressKey(vk::Delete);
    EXPECT_EQ(view.m_nFileSize, 10u);
    host.PressKey(vk::Escape);

    host.PressKey(vk::Delete);
    EXPECT_EQ(Image(), (std::vector<uint8_t>{0, 1, 5, 6, 7, 8, 9}));
    EXPECT_EQ(Sel(), (SelectionState{2, 2, 2}));

    // Nothing selected: nothing deleted.
    Click(OffsetColumn());
    host.PressKey(vk::Delete);
    EXPECT_EQ(view.m_nFileSize, 7u);

    // The whole image: none is left, and the keys then do nothing.
    SelectHex(0, 6);
    host.PressKey(vk::Delete);
    EXPECT_EQ(view.m_pData, nullptr);
    host.PressKey(vk::Delete);
    host.PressKey(vk::Right);
    host.TypeText("12");
    EXPECT_EQ(view.m_pData, nullptr);
}

TEST_F(InteractTest, InsertTogglesAndF5F6ChangeTheColumnsInEveryModeButASearch) {
    SetImage(Iota(64));
    Command(ID_EDIT_BITS);
    host.PressKey(vk::Insert);
    host.PressKey(vk::F6);
    EXPECT_TRUE(view.m_bInsertMode);
    EXPECT_EQ(view.m_nBytesPerRow, 17);
    host.PressKey(vk::Escape);

    // While a search runs, releases do nothing at all.
    view.m_bInputPanel = view.m_bSearching = true;
    host.PressKey(vk::Insert);
    host.PressKey(vk::F5);
    host.PressKey(vk::Right);
    EXPECT_TRUE(view.m_bInsertMode);
    EXPECT_EQ(view.m_nBytesPerRow, 17);
    EXPECT_EQ(Sel(), (SelectionState{0, 0, 0}));
    // ...and presses are passed on as a space, whose character is dropped.
    Message key{msg::KeyDown, 'A', 1};
    EXPECT_FALSE(view.PreTranslateMessage(key));
    EXPECT_EQ(key.wParam, WParam(vk::Space));
    view.m_bInputPanel = false;  // typed straight into the image otherwise
    host.TypeText("41");
    EXPECT_EQ(Image(), Iota(64));
}
