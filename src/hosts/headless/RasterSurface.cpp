#include "hosts/headless/RasterSurface.h"

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

namespace {

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0); }

/// Splits text into lines at CR LF, CR and LF.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

}  // namespace

RasterSurface::RasterSurface(Raster* raster) : m_raster(raster) {}

std::string RasterSurface::VisibleText(const std::string& line, bool noPrefix) {
    std::string out;
    for (size_t i = 0; i < line.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(line[i]);
        if (!noPrefix && c == '&') {
            if (i + 1 >= line.size()) break;  // a trailing ampersand shows nothing
            c = static_cast<unsigned char>(line[++i]);
        }
        if (!IsControl(c)) out += char(c);
    }
    return out;
}

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
    for (unsigned char c : text) n += !IsControl(c);
    return {n * m.cellWidth, m.cellHeight};
}

int RasterSurface::DrawText(const std::string& text, const Rect& rect, unsigned format) {
    const FontMetrics m = MetricsFor(m_font);
    const bool noPrefix = (format & dt::NoPrefix) != 0;
    const bool single = (format & dt::SingleLine) != 0;
    std::vector<std::string> lines = single ? std::vector<std::string>{text} : SplitLines(text);

    DrawnString record{text, rect, format, m_text, m_bk, m_mode, m_font, {}};
    int y = rect.top;
    if (single && (format & dt::VCenter)) y = rect.top + (rect.Height() - m.cellHeight) / 2;
    else if (single && (format & dt::Bottom)) y = rect.bottom - m.cellHeight;

    for (size_t li = 0; li < lines.size(); ++li) {
        const std::string shown = VisibleText(lines[li], noPrefix);
        const int w = int(shown.size()) * m.cellWidth;
        int x = rect.left;
        if (format & dt::Center) x = rect.left + (rect.Width() - w) / 2;
        else if (format & dt::Right) x = rect.right - w;
        const Rect extent{x, y, x + w, y + m.cellHeight};
        if (li == 0) record.extent = extent;
        if (m_mode == BkMode::Opaque) Fill(extent, m_bk, rect);
        for (size_t i = 0; i < shown.size(); ++i) {
            if (shown[i] == ' ') continue;
            const int cx = x + int(i) * m.cellWidth;
            Fill({cx + 1, y + 3, cx + m.cellWidth - 1, y + m.cellHeight - 3}, m_text, rect);
        }
        y += m.cellHeight;
    }
    m_strings.push_back(record);
    return int(lines.size()) * m.cellHeight;
}

}  // namespace headless
