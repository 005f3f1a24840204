// Text held back during a paint and drawn with one ExtTextOutW per row, font
// and colour, since each text call costs far more than the one or two
// characters the view draws with it. The picture stays what drawing each
// text at once would give: the batch knows the pixels its characters will
// change (their black boxes), so whatever would paint over them, or under
// them in another colour, can have them drawn first.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/InkIndex.h"
#include "platform/Shapes.h"

namespace win32host {

/// How the font selected in a context draws each byte of the process's
/// code page: its character, advance and black box.
struct AnsiGlyphs {
    /// False unless the code page has one byte per character and the font
    /// tells the black box of every glyph (an outline font).
    bool complete = false;
    int height = 0;  // of a line
    wchar_t character[256] = {};
    int advance[256] = {};
    platform::Rect ink[256] = {};  // from the character cell's top left

    static AnsiGlyphs Of(HDC dc);
    /// The advance of text, and the black box of its characters drawn from
    /// (x, top).
    int Advance(const std::string& text) const;
    platform::Rect InkOf(const std::string& text, int x, int top) const;
};

class GdiTextBatch {
public:
    /// A batch for a canvas of the given size; characters outside it are dropped.
    explicit GdiTextBatch(platform::Size canvas) : m_ink(canvas) {}

    /// True when area takes in a pixel that a held-back character will change.
    bool Touches(const platform::Rect& area) const { return m_ink.Touches(area); }
    bool Empty() const { return m_runs.empty(); }
    /// Holds back text drawn from (x, top) in font and colour; ink is where
    /// its characters change pixels. First draws what is held when the ink
    /// meets held-back characters of another font or colour.
    void Add(HDC dc, HFONT font, COLORREF colour, const AnsiGlyphs& glyphs, const std::string& text,
             int x, int top, const platform::Rect& ink);
    /// Draws every held-back character and forgets them. Leaves the
    /// context's font, text colour and background mode changed.
    void Flush(HDC dc);

private:
    struct Run {
        HFONT font;
        COLORREF colour;
        int left, top;
        int lastX;  // where the last character starts
        std::wstring text;
        std::vector<INT> advances;
    };
    using RunKey = std::tuple<HFONT, COLORREF, int>;

    std::vector<Run> m_runs;
    std::map<RunKey, int> m_runIndex;
    platform::InkIndex m_ink;
};

}  // namespace win32host
