// A drawing surface over a Raster with fixed, documented font metrics, and a
// log of every string drawn so tests can check texts, places and colours.
#pragma once

#include <string>
#include <vector>

#include "hosts/headless/Raster.h"
#include "platform/StatefulSurface.h"

namespace headless {

/// Fixed metrics: the view font ("Lucida Console", any size) has 8 x 15
/// pixel cells, like DejaVu Sans Mono at 10 pt; the dialog font ("MS Shell
/// Dlg") has 6 x 13 pixel cells. Every other face gets the view font's.
struct FontMetrics {
    int cellWidth;
    int cellHeight;
};
FontMetrics MetricsFor(const platform::Font& font);

/// One DrawTextInRect call as it reached the surface.
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
class RasterSurface final : public platform::StatefulSurface {
public:
    /// Draws into raster; a null raster only measures.
    explicit RasterSurface(Raster* raster);

    int DrawTextInRect(const std::string& text, const platform::Rect& rect,
                       unsigned format) override;
    platform::Size GetTextExtent(const std::string& text) override;

    const std::vector<DrawnString>& Strings() const { return m_strings; }
    Raster* Target() const { return m_raster; }

private:
    void FillArea(const platform::Rect& rect, platform::Color colour) override;
    void Fill(const platform::Rect& rect, platform::Color colour, const platform::Rect& clip);

    Raster* m_raster;
    std::vector<DrawnString> m_strings;
};

}  // namespace headless
