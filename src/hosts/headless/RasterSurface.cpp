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

void RasterSurface::FillSolidRect(const Rect& rect, Color colour) {
    m_bk = colour;
    Fill(rect, colour, rect);
}

void RasterSurface::FrameRect(const Rect& r, Color colour) {
    if (r.IsEmpty()) return;
    Fill({r.left, r.top, r.right, r.top + 1}, colour, r);
    Fill({r.left, r.bottom - 1, r.right, r.bottom}, colour, r);
    Fill({r.left, r.top, r.left + 1, r.bottom}, colour, r);
    Fill({r.right - 1, r.top, r.right, r.bottom}, colour, r);
}

void RasterSurface::Draw3dRect(const Rect& r, Color topLeft, Color bottomRight) {
    const Rect all{-1 << 30, -1 << 30, 1 << 30, 1 << 30};
    Fill({r.left, r.top, r.right - 1, r.top + 1}, topLeft, all);
    Fill({r.left, r.top, r.left + 1, r.bottom - 1}, topLeft, all);
    Fill({r.right - 1, r.top, r.right, r.bottom}, bottomRight, all);
    Fill({r.left, r.bottom - 1, r.right, r.bottom}, bottomRight, all);
    m_bk = bottomRight;
}

Color RasterSurface::SetTextColor(Color colour) {
    const Color old = m_text;
    m_text = colour;
    return old;
}

Color RasterSurface::SetBkColor(Color colour) {
    const Color old = m_bk;
    m_bk = colour;
    return old;
}

BkMode RasterSurface::SetBkMode(BkMode mode) {
    const BkMode old = m_mode;
    m_mode = mode;
    return old;
}

platform::Font RasterSurface::SelectFont(const platform::Font& font) {
    platform::Font old = m_font;
    m_font = font;
    return old;
}

Size RasterSurface::GetTextExtent(const std::string& text) {
    const FontMetrics m = MetricsFor(m_font);
    int n = 0;
    for (unsigned char c : text) n += !platform::IsControlCharacter(c);
    return {n * m.cellWidth, m.cellHeight};
}

int RasterSurface::DrawText(const std::string& text, const Rect& rect, unsigned format) {
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
