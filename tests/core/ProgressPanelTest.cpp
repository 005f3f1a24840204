// The loading / saving panel, drawn straight into a raster.
#include "ViewFixture.h"
#include "hosts/headless/Raster.h"
#include "hosts/headless/RasterSurface.h"

using namespace platform;

namespace {

struct Panel {
    headless::Raster raster{782, 600, Rgb(9, 9, 9)};
    headless::RasterSurface surface{&raster};
};

}  // namespace

TEST_F(ViewTest, ProgressPanelShowsTheTextsTheBarAndThePercentage) {
    view.m_bLoading = true;
    view.m_nFileProgress = 50;
    Panel panel;
    view.DrawProgressPanel(panel.surface);

    // The font cell is 8 x 15 and the top margin one cell width.
    const auto& strings = panel.surface.Strings();
    ASSERT_EQ(strings.size(), 3u);
    EXPECT_EQ(strings[0].text, " Loading File to Memory...");
    EXPECT_EQ(strings[0].extent.left, 0);
    EXPECT_EQ(strings[0].extent.top, 8);
    EXPECT_EQ(strings[1].text, " Press the [ESC] key to Cancel.");
    EXPECT_EQ(strings[1].extent.top, 8 + 15);
    EXPECT_EQ(strings[2].text, "50%");
    for (const auto& s : strings) {
        EXPECT_EQ(s.textColor, view.m_clrPlainText);
        EXPECT_EQ(s.bkMode, BkMode::Transparent);
        EXPECT_EQ(s.font, view.m_font);
    }

    // The bar runs from x 8 to 256 and y 40 to 55; "50%" is centred in it.
    const Rect bar{8, 40, 256, 55};
    EXPECT_EQ(strings[2].extent.top, bar.top + 1);
    EXPECT_EQ(strings[2].extent.left, 9 + (246 - 24) / 2);
    EXPECT_EQ(panel.raster.At(bar.left, bar.top), view.m_clrPanelFrame);
    EXPECT_EQ(panel.raster.At(bar.right - 1, bar.bottom - 1), view.m_clrPanelFrame);
    // Row bar.top + 1 holds no glyph: 123 accent pixels, then the fill.
    const int y = bar.top + 1;
    EXPECT_EQ(panel.raster.Count({9, y, 9 + 123, y + 1}, view.m_clrAccent), 123);
    EXPECT_EQ(panel.raster.At(9 + 123, y), view.m_clrPanelFill);
    EXPECT_EQ(panel.raster.At(bar.right - 2, y), view.m_clrPanelFill);
    // Everything else, to the scroll bar strip, is black.
    EXPECT_EQ(panel.raster.At(781, 599), Rgb(0, 0, 0));
    EXPECT_EQ(panel.raster.At(bar.right, y), Rgb(0, 0, 0));
}

TEST_F(ViewTest, ProgressPanelWhileSavingAtNoneAndNinetyNinePercent) {
    view.m_bSaving = true;
    view.m_nFileProgress = 0;
    Panel empty;
    view.DrawProgressPanel(empty.surface);
    EXPECT_EQ(empty.surface.Strings()[0].text, " Saving Memory to File...");
    EXPECT_EQ(empty.surface.Strings()[2].text, "0%");
    EXPECT_EQ(empty.raster.Count(empty.raster.Bounds(), view.m_clrAccent), 0);

    view.m_nFileProgress = 99;
    Panel full;
    view.DrawProgressPanel(full.surface);
    EXPECT_EQ(full.surface.Strings()[2].text, "99%");
    // int(99 * 0.01 * 246) = 243 of the 246 pixels inside the frame.
    EXPECT_EQ(full.raster.Count({9, 41, 255, 42}, view.m_clrAccent), 243);
}
