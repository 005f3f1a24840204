// The search and jump-to-offset panel as drawn.
#include "InteractFixture.h"
#include "hosts/headless/RasterSurface.h"
#include "rules/CommandIds.h"

using namespace platform;

class InputPanelTest : public InteractTest {
protected:
    std::vector<headless::DrawnString> Draw() {
        raster = headless::Raster(782, 600, Rgb(9, 9, 9));
        headless::RasterSurface surface(&raster);
        view.DrawInputPanel(surface);
        return surface.Strings();
    }
    headless::Raster raster;
    static constexpr int cx = 8, cy = 15;
};

TEST_F(InputPanelTest, SearchModesShowTheirPromptAndTheTypedText) {
    SetImage(Iota(0x40));
    Click(HexPoint(0x21));
    const std::pair<unsigned, const char*> prompts[] = {
        {ID_SEARCH_HEX, "Valid HEX formats are FF AA CC or FFAACC."},
        {ID_SEARCH_TEXT, "Type some text to search for..."},
        {ID_SEARCH_UNICODE, "Type some text to find, search is in UNICODE..."},
        {ID_SEARCH_TEXT_NOCASE, "Type some text to search for, case is ignored..."},
        {ID_SEARCH_UNICODE_NOCASE,
         "Type some text to find, case is ignored, search is in UNICODE..."},
    };
    for (const auto& [id, prompt] : prompts) {
        Command(id);
        host.TypeText("4d");
        const auto s = Draw();
        ASSERT_EQ(s.size(), 8u) << id;
        const int y0 = view.m_nCellWidth + 2;
        EXPECT_EQ(s[0].text, ".:SEARCH MODE:.");
        EXPECT_EQ(s[1].text, "Press the [ESC] key to Exit.");
        EXPECT_EQ(s[2].text, "Press the [ENTER] key to Start the Search.");
        EXPECT_EQ(s[3].text, "Use the Arrow Keys to navigate the offset.");
        EXPECT_EQ(s[3].rect, (Rect{2 * cx, y0 + 3 * cy, 782, 600}));
        EXPECT_EQ(s[4].text, "START SEARCH AT OFFSET: 0x00000021");
        EXPECT_EQ(s[4].rect.top, y0 + 5 * cy);
        EXPECT_EQ(s[5].text, std::string(prompt));
        EXPECT_EQ(s[5].rect.top, y0 + 7 * cy);
        EXPECT_EQ(s[6].text, "Ready...");
        EXPECT_EQ(s[6].textColor, Rgb(0, 175, 0));
        EXPECT_EQ(s[7].text, id == ID_SEARCH_HEX ? "TO FIND: 4D" : "TO FIND: 4d");
        EXPECT_EQ(s[7].rect.top, y0 + 11 * cy);
        EXPECT_EQ(s[7].textColor, view.m_clrAccent);
        for (int i = 0; i < 4; ++i) EXPECT_EQ(s[i].textColor, view.m_clrPanelTitle);
        for (const auto& line : s) EXPECT_EQ(line.bkMode, BkMode::Transparent);
        host.PressKey(vk::Escape);
    }
}

TEST_F(InputPanelTest, TheOffsetPanelAndTheBoxes) {
    SetImage(Iota(0x40));
    Click(HexPoint(5));
    Command(ID_JUMP_TO_OFFSET);
    host.TypeText("1a");
    const auto s = Draw();
    ASSERT_EQ(s.size(), 7u);
    EXPECT_EQ(s[0].text, ".:SEARCH FOR OFFSET:.");
    EXPECT_EQ(s[3].text, "YOUR CURRENT OFFSET IS: 0x00000005");
    EXPECT_EQ(s[4].text, "Type a HEX Offset to search for, and jump to.");
    EXPECT_EQ(s[6].text, "TO FIND: 1A");

    const int top = view.m_nCellWidth;
    EXPECT_EQ(raster.At(0, 0), view.m_clrBackground);
    EXPECT_EQ(raster.At(cx, top), view.m_clrPanelFrame);
    EXPECT_EQ(raster.At(cx + 75 * cx - 1, top + 10 * cy + 4), view.m_clrPanelFrame);
    EXPECT_EQ(raster.At(cx + 1, top + 1), view.m_clrPanelFill);
    EXPECT_EQ(raster.At(cx + 75 * cx, top + 1), view.m_clrBackground);
    // The small box is as wide as "TO FIND: 1A" and a cell either side.
    const int y11 = top + 2 + 11 * cy;
    const int right = cx + 11 * cx + 2 * cx;
    EXPECT_EQ(raster.At(cx, y11 - 3), view.m_clrPanelFrame);
    EXPECT_EQ(raster.At(right - 1, y11), view.m_clrPanelFrame);
    EXPECT_EQ(raster.At(right, y11), view.m_clrBackground);
    EXPECT_EQ(raster.At(cx + 1, y11 - 2), view.m_clrPanelFill);
}

TEST_F(InputPanelTest, ProgressWhileSearchingAndALongTextIsCutToTheLine) {
    SetImage(std::vector<uint8_t>(12u << 20, 0x11));
    Command(ID_SEARCH_TEXT);
    const std::string longText(400, 'w');
    host.Clipboard() = longText;
    host.PressCtrl('v');
    EXPECT_EQ(view.m_strInput, longText);
    std::vector<headless::DrawnString> during;
    host.OnPump([&](int count) {
        if (count == 2) during = Draw();
    });
    host.PressKey(vk::Return);
    host.OnPump(nullptr);
    ASSERT_EQ(during.size(), 8u);
    EXPECT_EQ(during[6].text.substr(0, 13), "Searching... ");
    EXPECT_EQ(during[6].text.back(), '%');
    EXPECT_EQ(during[7].text, "TO FIND: " + std::string(140, 'w'));
    EXPECT_EQ(Draw()[6].text, "TEXT String Not Found.");
}

TEST_F(InputPanelTest, TextModesTakeAnyPrintableCharacterAndPastesReplace) {
    SetImage(Iota(8));
    Command(ID_SEARCH_TEXT);
    host.TypeText("a B&~");
    EXPECT_EQ(view.m_strInput, "a B&~");
    host.PressKey(vk::Back);
    EXPECT_EQ(view.m_strInput, "a B&");
    EXPECT_EQ(Draw()[7].text, "TO FIND: a B&");
    EXPECT_NE(Draw()[7].format & dt::NoPrefix, 0u) << "shown as typed";
    host.Clipboard() = "x\r\ny";
    host.PressCtrl('v');
    EXPECT_EQ(view.m_strInput, "x\r\ny");
    // Mode 0 takes only hex patterns, whole and unchanged.
    Command(ID_SEARCH_HEX);
    host.TypeText("ab");
    host.Clipboard() = "ff aa";
    host.PressCtrl('v');
    EXPECT_EQ(view.m_strInput, "ff aa");
    host.Clipboard() = "ff\r\naa";
    host.PressCtrl('v');
    EXPECT_EQ(view.m_strInput, "ff aa");
    host.PressKey(vk::Back);
    host.PressKey(vk::Back);
    host.PressKey(vk::Back);
    host.PressKey(vk::Back);
    host.PressKey(vk::Back);
    host.PressKey(vk::Back);
    EXPECT_EQ(view.m_strInput, "");
    EXPECT_EQ(Image(), Iota(8)) << "BACKSPACE in the panel removes no byte";
}
