// The status line: its strip and frames, "Ready..." where no byte is
// hovered, and the items describing the hovered byte.
#include "PaintFixture.h"

using namespace platform;

namespace {

struct Item {
    std::string text;
    int left;
    friend bool operator==(const Item&, const Item&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Item& i) {
        return os << '"' << i.text << "\"@" << i.left;
    }
};

}  // namespace

class StatusLineTest : public PaintTest {
protected:
    /// Paints with the pointer at p and returns the status line's texts.
    std::vector<std::string> TextsAt(Point p) {
        std::vector<std::string> texts;
        for (const Item& i : ItemsAt(p)) texts.push_back(i.text);
        return texts;
    }
    std::vector<Item> ItemsAt(Point p) {
        view.m_ptMouse = p;
        Repaint();
        std::vector<Item> items;
        for (const auto& s : host.LastFrameStrings()) {
            if (InStatusLine(s)) items.push_back({s.text, s.rect.left});
        }
        return items;
    }
    const headless::DrawnString& LastStatusString() const { return host.LastFrameStrings().back(); }

    static constexpr int kXw = 6;           // "X" in the dialog font
    static constexpr int kFirst = 2 + kXw;  // inside the inner frame
};

TEST_F(StatusLineTest, StripFramesAndReadyBeforeThePointerMoved) {
    SetImage(64);
    EXPECT_EQ(TextsAt({-1, -1}), std::vector<std::string>{"Ready..."});

    const int w = DumpWidth(), h = DumpHeight();
    const auto& s = LastStatusString();
    EXPECT_EQ(s.rect, (Rect{kFirst, h - 18, w - 2, h - 1}));
    EXPECT_EQ(s.format, dt::Left | dt::VCenter | dt::SingleLine);
    EXPECT_EQ(s.textColor, Rgb(0, 255, 0));
    EXPECT_EQ(s.bkColor, Rgb(20, 20, 20));
    EXPECT_EQ(s.bkMode, BkMode::Opaque);

    const auto& f = host.LastFrame();
    const Color border = Rgb(0, 0, 0), frame = Rgb(40, 40, 40), back = Rgb(20, 20, 20);
    EXPECT_EQ(f.At(0, h - 10), border);
    EXPECT_EQ(f.At(w - 1, h - 10), border);
    EXPECT_EQ(f.At(10, h - 1), border);
    EXPECT_EQ(f.At(1, h - 10), back);
    EXPECT_EQ(f.At(2, h - 10), frame);
    EXPECT_EQ(f.At(w - 3, h - 10), frame);
    EXPECT_EQ(f.At(10, h - 2), frame);
    EXPECT_EQ(f.At(10, h - 18), frame) << "the inner frame keeps the strip's top";
    EXPECT_EQ(f.At(3, h - 3), back);
    EXPECT_EQ(f.At(w - 4, h - 3), back);
    EXPECT_EQ(f.At(w, h - 10), Color{}) << "the scroll bar strip is outside the buffer";
}

TEST_F(StatusLineTest, ReadyWhereNoByteLies) {
    SetImage(40);  // the last row holds 8 bytes
    const int cw = view.m_nCellWidth, top = RowTop(0) + 2;
    const Point misses[] = {
        {4, top},                                       // offset column
        {view.m_nHexLeft + view.m_nHexWidth + 2, top},  // gap between the areas
        {view.m_nHexLeft + 3, cw - 1},                  // top margin
        {view.m_nCharLeft + view.m_nCharWidth, top},    // right of the characters
        {view.m_nHexLeft + 3 * cw * 9, RowTop(2) + 2},  // empty part of the last row
        {view.m_nCharLeft + 12 * cw, RowTop(2) + 2},
    };
    for (Point p : misses) {
        EXPECT_EQ(TextsAt(p), std::vector<std::string>{"Ready..."}) << p.x << "," << p.y;
    }
}

TEST_F(StatusLineTest, HoveredByteReadsItsRowColumnValueCharacterAndOffset) {
    std::vector<uint8_t> bytes(64, 0);
    bytes[0x1F] = 0x41;
    SetImage(bytes);
    const int w = DumpWidth();
    const std::vector<Item> expected{
        {"Row:01", kFirst},
        {"Col:15", kFirst + 6 * kXw + 2 * kXw},
        {"Hex:41", kFirst + 8 * kXw + 7 * kXw},
        {"Char:A", kFirst + 15 * kXw + 8 * kXw},
        {"Editmode:HEX OVERWRITE", kFirst + 31 * kXw},
        {"Selected:1", kFirst + 31 * kXw},
        {"Offset:0x1F", kFirst + 31 * kXw + 10 * kXw + 2 * kXw},
    };
    EXPECT_EQ(ItemsAt(HexPoint(0x1F)), expected);
    EXPECT_EQ(ItemsAt(CharPoint(0x1F)), expected) << "the character area reads the same";

    const auto& mode = host.LastFrameStrings()[host.LastFrameStrings().size() - 3];
    EXPECT_EQ(mode.text, "Editmode:HEX OVERWRITE");
    EXPECT_EQ(mode.format, dt::Right | dt::VCenter | dt::SingleLine);
    EXPECT_EQ(mode.rect.right, w - 2 - kXw);
}

TEST_F(StatusLineTest, CharacterItemShowsLineBreaksAndTabsAsEscapes) {
    const std::vector<uint8_t> bytes{0x0A, 0x0D, 0x09, 0x00, '&', 0xE9, 0x01};
    SetImage(bytes);
    const std::string expected[] = {
        "Char:\\n", "Char:\\r", "Char:\\t", "Char:", "Char:&", "Char:\xE9", "Char:\x01"};
    for (uint32_t i = 0; i < bytes.size(); ++i) {
        const auto texts = TextsAt(HexPoint(i));
        ASSERT_EQ(texts.size(), 7u);
        EXPECT_EQ(texts[3], expected[i]) << "byte " << int(bytes[i]);
    }
    // An ampersand is shown, not taken as a prefix.
    view.m_ptMouse = HexPoint(4);
    Repaint();
    const auto& strings = host.LastFrameStrings();
    ASSERT_GE(strings.size(), 4u);
    const auto& item = strings[strings.size() - 4];
    EXPECT_EQ(item.text, "Char:&");
    EXPECT_TRUE(item.format & dt::NoPrefix);
}

TEST_F(StatusLineTest, EditModeFollowsTheAreaFlagAndThePaintLeavesItAlone) {
    SetImage(32);
    view.m_bCharArea = true;
    view.m_bInsertMode = true;
    EXPECT_EQ(TextsAt(CharPoint(3))[4], "Editmode:ASCII INSERT");
    // Hovering the hex area in a paint does not switch the area.
    EXPECT_EQ(TextsAt(HexPoint(3))[4], "Editmode:ASCII INSERT");
    EXPECT_TRUE(view.m_bCharArea);

    view.m_bCharArea = false;
    view.m_bInsertMode = false;
    EXPECT_EQ(TextsAt(CharPoint(3))[4], "Editmode:HEX OVERWRITE");
    EXPECT_FALSE(view.m_bCharArea);
}

TEST_F(StatusLineTest, SelectionSizeIsUnsigned) {
    SetImage(32);
    view.m_nSelStart = 3;
    view.m_nSelEnd = 9;
    EXPECT_EQ(TextsAt(HexPoint(0))[5], "Selected:7");
    view.m_nSelStart = view.m_nSelEnd = view.m_nCaret = NO_OFFSET;
    EXPECT_EQ(TextsAt(HexPoint(0))[5], "Selected:1");
}

TEST_F(StatusLineTest, ThreeDigitRowsKeepTheColumnAdvance) {
    SetImage(16 * 300);
    host.ScrollBar()->SetScrollPos(100, true);
    const auto items = ItemsAt(HexPoint(100 * 16 + 2));
    ASSERT_EQ(items.size(), 7u);
    EXPECT_EQ(items[0], (Item{"Row:100", kFirst}));
    EXPECT_EQ(items[1], (Item{"Col:02", kFirst + 7 * kXw + 2 * kXw}));
    EXPECT_EQ(items[2], (Item{"Hex:00", kFirst + 9 * kXw + 7 * kXw}));
    EXPECT_EQ(items[6].text, "Offset:0x642");
}
