// A drawing surface over a Raster with fixed, documented font metrics, and a
// log of every string drawn so tests can check texts, places and colours.
#pragma once

#include <string>
#include <vector>

#include "hosts/headless/Raster.h"
#include "platform/Surface.h"

namespace headless {

/// Fixed metrics: the view font ("Lucida Console", any size) has 8 x 15
/// pixel cells, like DejaVu Sans Mono at 10 pt; the dialog font ("MS Shell
/// Dlg") has 6 x 13 pixel cells. Every other face gets the view font's.
struct FontMetrics {
    int cellWidth;
    int cellHeight;
};
FontMetrics MetricsFor(const platform::Font& font);

/// One DrawText call as it reached the surface.
struct DrawnString {
    std::string text;  // as passed in
    platform::Rect rect;
    unsigned format = 0;
    platform::Color textColor;
    platform::Color bkColor;
    platform::BkMode bkMode = platform::BkMode::Opaque;
    platform::Font font;
    platform::Rect extent;  // where the first line's text landed (before clipping)
};

/// A visible glyph is drawn as a solid box in the text colour inset from its
/// cell: columns 1..w-2 and rows 3..h-4 of the cell. Spaces draw no box.
class RasterSurface final : public platform::Surface {
public:
    /// Draws into raster; a null raster only measures.
    explicit RasterSurface(Raster* raster);

    void FillSolidRect(const platform::Rect& rect, platform::Color colour) override;
    void FrameRect(const platform::Rect& rect, platform::Color colour) override;
    void Draw3dRect(const platform::Rect& rect, platform::Color topLeft,
                    platform::Color bottomRight) override;
    platform::Color SetTextColor(platform::Color colour) override;
    platform::Color SetBkColor(platform::Color colour) override;
    platform::BkMode SetBkMode(platform::BkMode mode) override;
    platform::Font SelectFont(const platform::Font& font) override;
    int DrawText(const std::string& text, const platform::Rect& rect, unsigned format) override;
    platform::Size GetTextExtent(const std::string& text) override;

    const std::vector<DrawnString>& Strings() const { return m_strings; }
    Raster* Target() const { return m_raster; }
    platform::Color TextColor() const { return m_text; }
    platform::Color BkColor() const { return m_bk; }
    platform::BkMode Mode() const { return m_mode; }
    const platform::Font& CurrentFont() const { return m_font; }

private:
    void Fill(const platform::Rect& rect, platform::Color colour, const platform::Rect& clip);

    Raster* m_raster;
    platform::Color m_text{};
    platform::Color m_bk = platform::Rgb(255, 255, 255);
    platform::BkMode m_mode = platform::BkMode::Opaque;
    platform::Font m_font{"System", 100};
    std::vector<DrawnString> m_strings;
};

}  // namespace headless
