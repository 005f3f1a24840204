#include "hosts/win32/GdiTextBatch.h"

using platform::Rect;

namespace win32host {

AnsiGlyphs AnsiGlyphs::Of(HDC dc) {
    AnsiGlyphs glyphs;
    TEXTMETRICW metrics{};
    CPINFO codePage{};
    if (!::GetTextMetricsW(dc, &metrics) || !::GetCPInfo(CP_ACP, &codePage)) return glyphs;
    glyphs.height = metrics.tmHeight;
    glyphs.complete = codePage.MaxCharSize == 1;
    const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    for (int byte = 1; byte < 256 && glyphs.complete; ++byte) {
        const char narrow = char(byte);
        wchar_t& wide = glyphs.character[byte];
        SIZE size{};
        GLYPHMETRICS box{};
        glyphs.complete =
            ::MultiByteToWideChar(CP_ACP, 0, &narrow, 1, &wide, 1) == 1 &&
            ::GetTextExtentPoint32W(dc, &wide, 1, &size) &&
            ::GetGlyphOutlineW(dc, wide, GGO_METRICS, &box, 0, nullptr, &identity) != GDI_ERROR;
        glyphs.advance[byte] = size.cx;
        const int left = box.gmptGlyphOrigin.x;
        const int top = metrics.tmAscent - box.gmptGlyphOrigin.y;
        glyphs.ink[byte] = {left, top, left + int(box.gmBlackBoxX), top + int(box.gmBlackBoxY)};
    }
    return glyphs;
}

int AnsiGlyphs::Advance(const std::string& text) const {
    int width = 0;
    for (unsigned char c : text) width += advance[c];
    return width;
}

Rect AnsiGlyphs::InkOf(const std::string& text, int x, int top) const {
    Rect all;
    for (unsigned char c : text) {
        const Rect& box = ink[c];
        all = all.Union({x + box.left, top + box.top, x + box.right, top + box.bottom});
        x += advance[c];
    }
    return all;
}

void GdiTextBatch::Add(HDC dc, HFONT font, COLORREF colour, const AnsiGlyphs& glyphs,
                       const std::string& text, int x, int top, const Rect& ink) {
    const Rect inside = ink.Intersect(m_ink.Canvas());
    if (inside.IsEmpty()) return;  // nothing of it would show

    const RunKey key{font, colour, top};
    auto found = m_runIndex.find(key);
    int run = found == m_runIndex.end() ? platform::InkIndex::kNone : found->second;
    if (m_ink.Touches(inside, run)) {
        Flush(dc);
        run = platform::InkIndex::kNone;
    }
    if (run == platform::InkIndex::kNone) {
        run = int(m_runs.size());
        m_runs.push_back({font, colour, x, top, x, {}, {}});
        m_runIndex.emplace(key, run);
    }
    Run& r = m_runs[size_t(run)];
    for (unsigned char c : text) {
        // Each advance is the step to the next character drawn, wherever it
        // lies on the row.
        if (!r.advances.empty()) r.advances.back() = x - r.lastX;
        r.text += glyphs.character[c];
        r.advances.push_back(glyphs.advance[c]);
        r.lastX = x;
        x += glyphs.advance[c];
    }
    m_ink.Add(inside, run);
}

void GdiTextBatch::Flush(HDC dc) {
    if (m_runs.empty()) return;
    ::SetBkMode(dc, TRANSPARENT);
    for (const Run& run : m_runs) {
        ::SelectObject(dc, run.font);
        ::SetTextColor(dc, run.colour);
        ::ExtTextOutW(dc, run.left, run.top, 0, nullptr, run.text.data(), UINT(run.text.size()),
                      run.advances.data());
    }
    m_runs.clear();
    m_runIndex.clear();
    m_ink.Clear();
}

}  // namespace win32host
