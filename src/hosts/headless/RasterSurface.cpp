#include "hosts/headless/RasterSurface.h"

#include "platform/TextLayout.h"

using platform::BkMode;
using platform::Color;
using platform::Rect;
using platform::Size;
namespace dt = platform::dt;

namespace headless {

FontMetrics MetricsFor(const platform::Font& font) {
    if (font.face == "MS Shell Dlg") return {6, 13};
    return {8, 15};
}

RasterSurface::RasterSurface(Raster* raster) : m_raster(raster) {}

void RasterSurface::Fill(const Rect& rect, Color colour, const Rect& clip) {
    if (m_raster) m_raster->Fill(rect, colour, clip);
}

void RasterSurface::FillArea(const Rect& rect, Color colour) { Fill(rect, colour, rect); }

Size RasterSurface::GetTextExtent(const std::string& text) {
    const FontMetrics m = MetricsFor(m_font);
    int n = 0;
    for (unsigned char c : text) n += !platform::IsControlCharacter(c);
    return {n * m.cellWidth, m.cellHeight};
}

int RasterSurface::DrawTextInRect(const std::string& text, const Rect& rect, unsigned format) {
    const FontMetrics m = MetricsFor(m_font);
    const std::vector<platform::TextLine> lines = platform::LayoutText(
        text, rect, format, m.cellHeight,
        [&](const std::string& shown) { return int(shown.size()) * m.cellWidth; });

    DrawnString record{text, rect, format, m_text, m_bk, m_mode, m_font, lines.front().extent};
    for (const platform::TextLine& line : lines) {
        const Rect& extent = line.extent;
        if (m_mode == BkMode::Opaque) Fill(extent, m_bk, rect);
        for (size_t i = 0; i < line.shown.size(); ++i) {
            if (line.shown[i] == ' ') continue;
            const int cx = extent.left + int(i) * m.cellWidth;
            Fill({cx + 1, extent.top + 3, cx + m.cellWidth - 1, extent.bottom - 3}, m_text, rect);
        }
    }
    m_strings.push_back(record);
    return int(lines.size()) * m.cellHeight;
}

}  // namespace headless
