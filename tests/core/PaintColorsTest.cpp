// Cell colours: selection, caret and character fading.
#include "PaintFixture.h"

using namespace platform;

namespace {
const Color kBlack = Rgb(0, 0, 0);
const Color kGrey = Rgb(75, 75, 75);
const Color kRed = Rgb(175, 75, 75);
const Color kGreen = Rgb(0, 255, 0);
const Color kYellow = Rgb(240, 240, 75);
const Color kPlainHex = Rgb(0, 254, 0);      // unfaded
const Color kPlainChar = Rgb(254, 249, 75);  // unfaded
}  // namespace

TEST(FadeLevel, FollowsTheFadingMode) {
    CHexView view;
    struct Case {
        int mode;
        uint8_t value;
        int level;
    };
    const Case cases[] = {
        {1, 0, 0},   {1, 10, 7},    {1, 100, 70},  {1, 255, 178},  // v * 0.7, truncated
        {1, 90, 62}, {1, 170, 118}, {1, 180, 125},  // the double product lies just below
        {2, 0, 51},  {2, 1, 51},    {2, 3, 52},    {2, 255, 178},  // 51 + v / 2
        {0, 0, 179}, {0, 255, 179}, {7, 42, 179},  {-1, 42, 179},  // none
    };
    for (const Case& c : cases) {
        view.m_nFadeMode = c.mode;
        EXPECT_EQ(view.FadeLevel(c.value), c.level)
            << "mode " << c.mode << " value " << int(c.value);
    }
}

TEST_F(PaintTest, SelectionIsGreyAndTheCaretInsideItRed) {
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 16; ++i) bytes.push_back(uint8_t('a' + i));
    SetImage(bytes);
    view.SetFadeMode(0);
    view.m_nSelStart = 5;
    view.m_nSelEnd = 9;
    view.m_nCaret = 7;
    Repaint();

    const std::string plain = Look(kPlainHex, kBlack, kPlainChar, kBlack);
    const std::string sel = Look(kGreen, kGrey, kYellow, kGrey);
    const std::string caret = Look(kGreen, kRed, kYellow, kRed);
    EXPECT_EQ(LooksOf(0, 16),
              (std::vector<std::string>{plain, plain, plain, plain, plain, sel, sel, caret, sel,
                                        sel, plain, plain, plain, plain, plain, plain}));

    view.m_nCaret = 12;  // outside: no cell is red
    Repaint();
    EXPECT_EQ(LooksOf(5, 5), std::vector<std::string>(5, sel));
    EXPECT_EQ(host.LastFrame().Count(host.LastFrame().Bounds(), kRed), 0);
}

TEST_F(PaintTest, TheEmptySelectionMarksNothing) {
    SetImage(40, 0x41);
    view.m_nSelStart = view.m_nSelEnd = view.m_nCaret = NO_OFFSET;
    Repaint();
    const auto& f = host.LastFrame();
    EXPECT_EQ(f.Count(f.Bounds(), kGrey), 0);
    EXPECT_EQ(f.Count(f.Bounds(), kRed), 0);
    EXPECT_EQ(f.Count(f.Bounds(), kYellow), 0);
}

TEST_F(PaintTest, ASelectedZeroByteFillsItsWholeCharacterCell) {
    SetImage({0x00, 0x00});
    view.m_nSelStart = 0;
    view.m_nSelEnd = 1;
    view.m_nCaret = 1;
    Repaint();
    const int cw = view.m_nCellWidth, top = RowTop(0);
    const Rect first{view.m_nCharLeft, top, view.m_nCharLeft + cw, top + view.m_nRowHeight - 2};
    const Rect second{first.right, top, first.right + cw, first.bottom};
    const auto& f = host.LastFrame();
    EXPECT_EQ(f.Count(first, kGrey), cw * first.Height());
    EXPECT_EQ(f.Count(second, kRed), cw * second.Height());
    // The two spare pixel rows under the cell keep the background.
    EXPECT_EQ(f.At(view.m_nCharLeft, first.bottom), kBlack);
}

TEST_F(PaintTest, FadingTintsZeroAndFFByMode) {
    SetImage({0x00, 0xFF});
    view.m_nSelStart = view.m_nSelEnd = view.m_nCaret = NO_OFFSET;
    struct Case {
        int mode;
        Color zeroHex, ffHex, ffChar;
    };
    const Case cases[] = {
        {1, Rgb(0, 75, 0), Rgb(0, 253, 0), Rgb(253, 248, 75)},
        {2, Rgb(0, 126, 0), Rgb(0, 253, 0), Rgb(253, 248, 75)},
        {0, kPlainHex, kPlainHex, kPlainChar},
    };
    for (const Case& c : cases) {
        view.SetFadeMode(c.mode);
        host.PaintNow();
        // The zero byte's character cell is empty: only black shows.
        EXPECT_EQ(LooksOf(0, 2),
                  (std::vector<std::string>{Look(c.zeroHex, kBlack, kBlack, kBlack),
                                            Look(c.ffHex, kBlack, c.ffChar, kBlack)}))
            << "mode " << c.mode;
    }
}
