// Copying the selection in its three forms and pasting in both ways, from
// the menu and from Ctrl+C / Ctrl+V.
#include "InteractFixture.h"
#include "rules/CommandIds.h"

using namespace platform;

class ClipboardTest : public InteractTest {
protected:
    std::string Copied(unsigned command) {
        host.Clipboard() = "untouched";
        Command(command);
        return *host.Clipboard();
    }
};

TEST_F(ClipboardTest, HexStringAndHexBlockForms) {
    SetImage({0x00, 0xAB, 0x10, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08});
    SelectHex(0, 2);
    EXPECT_EQ(Copied(ID_COPY_HEX_STRING), "00 AB 10 ");

    // Lines are counted from the selection start, not the dump's rows.
    while (view.m_nBytesPerRow > 4) host.PressKey(vk::F5);
    SelectHex(3, 8);
    EXPECT_EQ(Copied(ID_COPY_HEX_BLOCK), "01 02 03 04\r\n05 06 ");
    SelectHex(3, 10);
    EXPECT_EQ(Copied(ID_COPY_HEX_BLOCK), "01 02 03 04\r\n05 06 07 08\r\n");
    while (view.m_nBytesPerRow > 1) host.PressKey(vk::F5);
    SelectHex(0, 2);
    EXPECT_EQ(Copied(ID_COPY_HEX_BLOCK), "00\r\nAB\r\n10\r\n");
}

TEST_F(ClipboardTest, AsciiTextDropsZeroBytes) {
    SetImage({0x41, 0x00, 0x42, 0x00, 0x00, 0x0D, 0xFF});
    SelectHex(0, 2);
    EXPECT_EQ(Copied(ID_COPY_ASCII_TEXT), "AB");
    SelectHex(3, 4);
    EXPECT_EQ(Copied(ID_COPY_ASCII_TEXT), "untouched") << "all zeros leave the clipboard alone";
    SelectHex(5, 6);
    EXPECT_EQ(Copied(ID_COPY_ASCII_TEXT), "\r\xFF");
}

TEST_F(ClipboardTest, CtrlCCopiesByTheAreaAndNotUnderAPanel) {
    SetImage({0x41, 0x42, 0x43});
    SelectChars(0, 1);
    host.PressCtrl('c');
    EXPECT_EQ(host.Clipboard(), "AB");
    SelectHex(1, 2);
    host.PressCtrl('c');
    EXPECT_EQ(host.Clipboard(), "42 43 ");
    Command(ID_SEARCH_HEX);
    host.Clipboard() = "x";
    host.PressCtrl('c');
    EXPECT_EQ(host.Clipboard(), "x");
}

TEST_F(ClipboardTest, NothingIsCopiedOrPastedWithoutASelectionInTheImage) {
    SetImage(Iota(8));
    Click(OffsetColumn());
    host.Clipboard() = "00 11";
    for (unsigned id :
         {ID_COPY_HEX_STRING, ID_COPY_HEX_BLOCK, ID_COPY_ASCII_TEXT, ID_INSERT_FROM_CLIPBOARD,
          ID_OVERWRITE_FROM_CLIPBOARD, ID_DELETE_SELECTION}) {
        Command(id);
        EXPECT_EQ(host.Clipboard(), "00 11") << id;
        EXPECT_EQ(Image(), Iota(8)) << id;
        EXPECT_EQ(Sel(), (SelectionState{NONE, NONE, NONE})) << id;
    }
    // An empty image: its selection 0 is not a byte.
    SetImage(0);
    for (unsigned id : {ID_COPY_HEX_STRING, ID_INSERT_FROM_CLIPBOARD, ID_OVERWRITE_FROM_CLIPBOARD,
                        ID_DELETE_SELECTION}) {
        Command(id);
        EXPECT_EQ(view.m_nFileSize, 0u) << id;
        EXPECT_EQ(host.Clipboard(), "00 11") << id;
    }
}

TEST_F(ClipboardTest, InsertingHexPutsTheBytesInFrontOfTheSelection) {
    SetImage(Iota(20));
    SelectHex(10, 12);
    host.Clipboard() = "0a 1B\r\nff";
    Command(ID_INSERT_FROM_CLIPBOARD);
    std::vector<uint8_t> expected = Iota(20);
    expected.insert(expected.begin() + 10, {0x0A, 0x1B, 0xFF});
    EXPECT_EQ(Image(), expected);
    EXPECT_EQ(Sel(), (SelectionState{10, 15, 13}));

    // An odd number of digits changes nothing and says nothing.
    host.Clipboard() = "ABC";
    Command(ID_INSERT_FROM_CLIPBOARD);
    Command(ID_OVERWRITE_FROM_CLIPBOARD);
    EXPECT_EQ(Image(), expected);
    EXPECT_EQ(Sel(), (SelectionState{10, 15, 13}));
    EXPECT_TRUE(host.MessageBoxes().empty());

    // Nothing on the clipboard: nothing happens.
    host.Clipboard().reset();
    Command(ID_INSERT_FROM_CLIPBOARD);
    EXPECT_EQ(Image(), expected);
}

TEST_F(ClipboardTest, InsertingTextAndThePendingDigit) {
    SetImage(Iota(4));
    SelectChars(1, 1);
    host.MoveMouse(HexPoint(1));
    host.TypeChar('4');
    host.MoveMouse(CharPoint(1));
    host.Clipboard() = "hi";
    host.PressKey(vk::Insert);
    host.PressCtrl('v');
    EXPECT_EQ(Image(), (std::vector<uint8_t>{0, 'h', 'i', 1, 2, 3}));
    EXPECT_EQ(Sel(), (SelectionState{1, 3, 3}));
    EXPECT_EQ(view.m_chPendingDigit, 0);
}

TEST_F(ClipboardTest, OverwriteNeverGrowsTheImageAndSelectsWhatItWrote) {
    SetImage(Iota(10));
    SelectChars(8, 8);
    host.Clipboard() = "hello";
    host.PressCtrl('v');
    EXPECT_EQ(Image(), (std::vector<uint8_t>{0, 1, 2, 3, 4, 5, 6, 7, 'h', 'e'}));
    EXPECT_EQ(Sel(), (SelectionState{8, 9, 8}));

    // The caret stays where it was.
    SelectHex(0, 5);
    host.TypeText("FFFF");
    host.Clipboard() = "01 02 03";
    Command(ID_OVERWRITE_FROM_CLIPBOARD);
    EXPECT_EQ(Image()[0], 1);
    EXPECT_EQ(Image()[2], 3);
    EXPECT_EQ(Sel(), (SelectionState{0, 2, 2}));

    // Nothing to write (spaces and line breaks only, or an empty text)
    // changes nothing, the selection included.
    SelectHex(4, 6);
    host.Clipboard() = " \r\n ";
    Command(ID_OVERWRITE_FROM_CLIPBOARD);
    host.Clipboard() = "";
    host.MoveMouse(CharPoint(4));
    Command(ID_OVERWRITE_FROM_CLIPBOARD);
    EXPECT_EQ(Sel(), (SelectionState{4, 6, 4}));
    EXPECT_EQ(Image()[4], 4);
}

TEST_F(ClipboardTest, DeleteFromTheMenuHasNoModeGuard) {
    SetImage(Iota(10));
    SelectHex(2, 3);
    Command(ID_EDIT_BITS);
    Command(ID_DELETE_SELECTION);
    EXPECT_EQ(Image(), (std::vector<uint8_t>{0, 1, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(Sel(), (SelectionState{2, 2, 2}));
}
