// Bit edit mode: its digits, its keys and its panel.
#include "InteractFixture.h"
#include "hosts/headless/RasterSurface.h"
#include "rules/CommandIds.h"

using namespace platform;

class BitEditTest : public InteractTest {
protected:
    void Enter(uint32_t offset) {
        Click(HexPoint(offset));
        Command(ID_EDIT_BITS);
        ASSERT_TRUE(view.m_bBitEdit);
    }
    std::string Bits() const { return view.m_szBits; }

    /// Draws the panel on its own raster and returns the surface's log.
    std::vector<headless::DrawnString> DrawPanel(headless::Raster& raster) {
        raster = headless::Raster(800, 600, Rgb(9, 9, 9));
        headless::RasterSurface surface(&raster);
        view.DrawBitEditPanel(surface);
        return surface.Strings();
    }
};

TEST_F(BitEditTest, EightDigitsAndEnterStoreTheByte) {
    SetImage(Iota(32));
    Enter(3);
    EXPECT_FALSE(host.ScrollBar()->IsWindowEnabled());
    host.TypeText("1111");
    EXPECT_EQ(Bits(), "1111 ");
    host.TypeText("00002");
    EXPECT_EQ(Bits(), "1111 0000");
    host.TypeChar('1');
    EXPECT_EQ(Bits(), "1111 0000") << "a ninth digit is ignored";
    host.PressKey(vk::Return);
    EXPECT_EQ(Image()[3], 0xF0);
    EXPECT_FALSE(view.m_bBitEdit);
    EXPECT_TRUE(host.ScrollBar()->IsWindowEnabled());
    EXPECT_EQ(std::string(view.m_szBits, 10), std::string(10, '\0'));

    // Fewer digits store nothing; ESC stores nothing either.
    Enter(4);
    host.TypeText("101");
    host.PressKey(vk::Return);
    EXPECT_EQ(Image()[4], 4);
    EXPECT_FALSE(view.m_bBitEdit);
    Enter(5);
    host.TypeText("11111111");
    host.PressKey(vk::Escape);
    EXPECT_EQ(Image()[5], 5);
    EXPECT_EQ(Bits(), "");

    // Only the first byte of a longer selection is written.
    SelectHex(8, 10);
    Command(ID_EDIT_BITS);
    host.TypeText("10101010");
    host.PressKey(vk::Return);
    EXPECT_EQ(Image()[8], 0xAA);
    EXPECT_EQ(Image()[9], 9);
}

TEST_F(BitEditTest, BackspaceSkipsTheSpaceAndTheArrowsMoveTheTarget) {
    SetImage(Iota(32));
    Enter(6);
    host.PressKey(vk::Back);
    EXPECT_EQ(std::string(view.m_szBits, 5), std::string("\0\0\0\0 ", 5))
        << "nothing to remove, but the space is set";
    host.TypeText("11001");
    host.PressKey(vk::Back);
    EXPECT_EQ(Bits(), "1100 ");
    host.PressKey(vk::Back);
    EXPECT_EQ(Bits(), "110");
    host.TypeText("0");
    EXPECT_EQ(Bits(), "1100 ");

    // The digits survive a move; ENTER writes them to the byte then shown.
    host.PressKey(vk::Escape);
    Enter(6);
    host.TypeText("0101");
    host.PressKey(vk::Right);
    host.TypeText("0101");
    host.PressKey(vk::Return);
    EXPECT_EQ(Image()[6], 6);
    EXPECT_EQ(Image()[7], 0x55);
}

TEST_F(BitEditTest, RefusedWithNothingSelectedAndKeyShortcutsStayOut) {
    SetImage(Iota(32));
    Click(OffsetColumn());
    Command(ID_EDIT_BITS);
    EXPECT_FALSE(view.m_bBitEdit);
    EXPECT_TRUE(host.ScrollBar()->IsWindowEnabled());

    Enter(2);
    host.PressCtrl('f');
    EXPECT_FALSE(view.m_bInputPanel);
    host.PressCtrl('v');
    EXPECT_EQ(Image(), Iota(32));
}

TEST_F(BitEditTest, EnterEndsBitEditThenStartsTheSearchPanelBelowIt) {
    SetImage(Iota(32));
    Click(HexPoint(2));
    Command(ID_SEARCH_HEX);
    Command(ID_EDIT_BITS);
    ASSERT_TRUE(view.m_bBitEdit && view.m_bInputPanel);
    host.TypeText("00010001");
    EXPECT_EQ(view.m_strInput, "") << "digits go to the bits, not the panel";
    // ENTER is consumed by the view: the search message is the only trace.
    Message enter{msg::KeyDown, vk::Return, 1};
    EXPECT_TRUE(view.PreTranslateMessage(enter));
    EXPECT_EQ(Image()[2], 0x11);
    EXPECT_FALSE(view.m_bBitEdit);
    EXPECT_TRUE(view.m_bInputPanel);
    EXPECT_EQ(host.QueuedMessages(), 1u);
}

TEST_F(BitEditTest, FormatBinaryGroupsTheBitsInFours) {
    EXPECT_EQ(CHexView::FormatBinary(0x41), "0100 0001");
    EXPECT_EQ(CHexView::FormatBinary(0x00), "0000 0000");
    EXPECT_EQ(CHexView::FormatBinary(0xF1), "1111 0001");
}

TEST_F(BitEditTest, ThePanelShowsTheByteAndTheTypedBits) {
    std::vector<uint8_t> bytes = Iota(32);
    bytes[0x10] = 0x41;
    SetImage(bytes);
    Enter(0x10);
    host.TypeText("10");

    headless::Raster raster;
    const auto strings = DrawPanel(raster);
    ASSERT_EQ(strings.size(), 7u);
    const int cx = 8, cy = 15, x0 = 16, y0 = view.m_nCellWidth;
    const char* titles[] = {".:BIT EDIT MODE:.", "Press the [ESC] key to Exit.",
                            "Press the [ENTER] key to Save the changes.",
                            "Use the Arrow Keys to navigate the offset.",
                            "Type the new bits using the 1 && 0 keys."};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(strings[i].text, titles[i]);
        EXPECT_EQ(strings[i].rect, (Rect{x0, y0 + 2 + i * cy, 782, 600}));
        EXPECT_EQ(strings[i].textColor, view.m_clrPanelTitle);
        EXPECT_EQ(strings[i].bkMode, BkMode::Transparent);
        EXPECT_EQ(strings[i].font, view.m_font);
        EXPECT_EQ(strings[i].format & dt::NoPrefix, 0u);
    }
    EXPECT_EQ(strings[5].text, "OFFSET:0x00000010  BINARY:[0100 0001]  HEX:41  CHAR:A");
    EXPECT_EQ(strings[5].rect.top, y0 + 2 + 7 * cy);
    EXPECT_EQ(strings[5].textColor, view.m_clrPlainText);
    EXPECT_NE(strings[5].format & dt::SingleLine, 0u);
    EXPECT_EQ(strings[6].text, "NEW BITS: 10") << "the text ends at the first free digit";
    EXPECT_EQ(strings[6].textColor, view.m_clrAccent);
    const int y7 = y0 + 2 + 11 * cy;
    EXPECT_EQ(strings[6].rect.top, y7);

    // Black background, the main box, and the small box sized to line 7.
    EXPECT_EQ(raster.At(0, 0), Rgb(0, 0, 0));
    EXPECT_EQ(raster.At(781, 599), Rgb(0, 0, 0));
    EXPECT_EQ(raster.At(782, 0), Rgb(9, 9, 9)) << "the scroll bar strip is left alone";
    EXPECT_EQ(raster.At(cx, y0), view.m_clrPanelFrame);
    EXPECT_EQ(raster.At(cx + 75 * cx - 1, y0 + 10 * cy + 4), view.m_clrPanelFrame);
    EXPECT_EQ(raster.At(cx + 75 * cx, y0 + 1), Rgb(0, 0, 0));
    EXPECT_EQ(raster.At(cx + 1, y0 + 1), view.m_clrPanelFill);
    const int w = 12 * cx;
    EXPECT_EQ(raster.At(cx, y7 - 3), view.m_clrPanelFrame);
    EXPECT_EQ(raster.At(cx + w + 2 * cx - 1, y7 + cy), view.m_clrPanelFrame);
    EXPECT_EQ(raster.At(cx + w + 2 * cx, y7), Rgb(0, 0, 0));
    EXPECT_EQ(raster.At(cx + 1, y7 - 2), view.m_clrPanelFill);

    // The box grows with each digit.
    host.TypeText("111");
    EXPECT_EQ(DrawPanel(raster)[6].text, "NEW BITS: 1011 1");
    EXPECT_EQ(raster.At(cx + w + 2 * cx + 4 * cx - 1, y7), view.m_clrPanelFrame);
}

TEST_F(BitEditTest, AZeroByteShowsNothingAfterChar) {
    SetImage(4);
    Enter(0);
    headless::Raster raster;
    const auto strings = DrawPanel(raster);
    EXPECT_EQ(strings[5].text, "OFFSET:0x00000000  BINARY:[0000 0000]  HEX:00  CHAR:");
    EXPECT_EQ(strings[6].text, "NEW BITS: ");
}

TEST_F(BitEditTest, ALineBreakByteDoesNotBreakTheInfoLine) {
    SetImage(std::vector<uint8_t>{'\n'});
    Enter(0);
    headless::Raster raster;
    const auto strings = DrawPanel(raster);
    EXPECT_EQ(strings[5].text, "OFFSET:0x00000000  BINARY:[0000 1010]  HEX:0A  CHAR:\n");
    EXPECT_NE(strings[5].format & dt::SingleLine, 0u);
}

TEST_F(BitEditTest, ThePanelAndEnterStayInsideAnImageThatShrankOrWent) {
    SetImage(Iota(8));
    SelectHex(0, 7);
    Command(ID_EDIT_BITS);
    host.TypeText("11111111");
    // The context menu deletes every byte while the mode is on.
    Command(ID_DELETE_SELECTION);
    ASSERT_EQ(view.m_pData, nullptr);
    ASSERT_TRUE(view.m_bBitEdit);
    headless::Raster raster;
    const auto strings = DrawPanel(raster);
    ASSERT_EQ(strings.size(), 6u) << "no byte to describe";
    EXPECT_EQ(strings[5].text, "NEW BITS: 1111 1111");
    host.PressKey(vk::Return);
    EXPECT_FALSE(view.m_bBitEdit);
    EXPECT_EQ(view.m_pData, nullptr);

    // Shrunk: the selection follows the deletion and ENTER writes there.
    SetImage(Iota(8));
    SelectHex(6, 7);
    Command(ID_EDIT_BITS);
    host.TypeText("00000000");
    Command(ID_DELETE_SELECTION);
    EXPECT_EQ(DrawPanel(raster)[5].text.substr(0, 17), "OFFSET:0x00000005");
    host.PressKey(vk::Return);
    EXPECT_EQ(Image(), (std::vector<uint8_t>{0, 1, 2, 3, 4, 0}));
}
