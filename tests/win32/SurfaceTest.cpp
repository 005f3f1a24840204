// The GDI surface over a real memory device context: fills, frames and text
// read back pixel by pixel.
#include <gtest/gtest.h>

#include "hosts/win32/GdiSurface.h"

using namespace win32host;
using platform::Rgb;

namespace {

class SurfaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        screen = ::GetDC(nullptr);
        surface = BufferSurface::Create(screen, {40, 30}, fonts);
        ASSERT_NE(surface, nullptr);
        surface->FillSolidRect({0, 0, 40, 30}, Rgb(1, 2, 3));
    }
    void TearDown() override {
        surface.reset();
        ::ReleaseDC(nullptr, screen);
    }
    COLORREF At(int x, int y) const { return ::GetPixel(surface->Dc(), x, y); }

    HDC screen = nullptr;
    FontCache fonts;
    std::unique_ptr<BufferSurface> surface;
};

}  // namespace

TEST_F(SurfaceTest, FramesLieJustInsideTheirRectangle) {
    surface->SetBkColor(Rgb(9, 9, 9));
    surface->FrameRect({5, 5, 15, 12}, Rgb(200, 0, 0));
    EXPECT_EQ(At(5, 5), RGB(200, 0, 0));
    EXPECT_EQ(At(14, 11), RGB(200, 0, 0));
    EXPECT_EQ(At(15, 12), RGB(1, 2, 3));
    EXPECT_EQ(At(6, 6), RGB(1, 2, 3));
    // A frame changes no colour of the context.
    EXPECT_EQ(surface->SetBkColor(Rgb(0, 0, 0)), Rgb(9, 9, 9));

    surface->Draw3dRect({20, 5, 30, 15}, Rgb(0, 200, 0), Rgb(0, 0, 200));
    EXPECT_EQ(At(20, 5), RGB(0, 200, 0));
    EXPECT_EQ(At(28, 5), RGB(0, 200, 0));
    EXPECT_EQ(At(29, 5), RGB(0, 0, 200));
    EXPECT_EQ(At(20, 14), RGB(0, 0, 200));
    // ... but a 3-D frame leaves its bottom-right colour as the background.
    EXPECT_EQ(surface->SetBkColor(Rgb(0, 0, 0)), Rgb(0, 0, 200));
}

TEST_F(SurfaceTest, TextIsClippedToItsRectangleAndFontsComeBack) {
    const platform::Font original = surface->SelectFont({"Lucida Console", 100});
    EXPECT_EQ(surface->SelectFont(original), (platform::Font{"Lucida Console", 100}));
    surface->SelectFont({"Lucida Console", 100});
    const platform::Size zero = surface->GetTextExtent("0");
    EXPECT_GT(zero.cx, 0);
    EXPECT_GT(zero.cy, zero.cx);

    surface->SetTextColor(Rgb(255, 255, 255));
    surface->SetBkColor(Rgb(0, 0, 255));
    surface->SetBkMode(platform::BkMode::Opaque);
    surface->DrawTextInRect("\xDB\xDB\xDB\xDB\xDB\xDB", {2, 2, 2 + zero.cx, 30}, 0);
    EXPECT_EQ(At(2 + zero.cx, 4), RGB(1, 2, 3)) << "drawn past its rectangle";
    bool inked = false;
    for (int x = 2; x < 2 + zero.cx; ++x) {
        for (int y = 2; y < 2 + zero.cy; ++y) inked = inked || At(x, y) == RGB(255, 255, 255);
    }
    EXPECT_TRUE(inked);
}
