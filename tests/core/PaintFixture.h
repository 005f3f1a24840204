// A view on the headless host with probes that read a whole painted row or
// status line at once: the strings drawn and the pixels of each byte's cells.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "ViewFixture.h"

class PaintTest : public ViewTest {
protected:
    /// Invalidates everything and paints once.
    void Repaint() {
        host.Invalidate();
        host.PaintNow();
    }

    int RowTop(int screenRow) const { return view.m_nCellWidth + screenRow * view.m_nRowHeight; }
    int DumpWidth() const { return host.GetClientRect().Width() - SCROLLBAR_WIDTH; }
    int DumpHeight() const { return host.GetClientRect().Height(); }
    bool InStatusLine(const headless::DrawnString& s) const {
        return s.font == host.GetMainWindowFont();
    }

    /// The texts of the last paint drawn from the top of a screen row, in
    /// drawing order (offset, then hex and character cell of each byte).
    std::vector<std::string> RowTexts(int screenRow) const {
        std::vector<std::string> texts;
        for (const auto& s : host.LastFrameStrings()) {
            if (s.rect.top == RowTop(screenRow) && !InStatusLine(s)) texts.push_back(s.text);
        }
        return texts;
    }

    /// The dump's strings of the last paint (the status line left out).
    size_t DumpStringCount() const {
        size_t n = 0;
        for (const auto& s : host.LastFrameStrings()) n += !InStatusLine(s);
        return n;
    }

    /// One byte's cells as painted, read from the last frame's pixels:
    /// "hex <text> on <back> gap <third cell> | char <text> on <back>".
    /// A cell without a glyph shows its background as its text.
    std::string LookOf(uint32_t offset) const {
        const int cw = view.m_nCellWidth;
        const int top = RowTop(int(offset / view.m_nBytesPerRow) - view.ScrollPos());
        const int col = int(offset % view.m_nBytesPerRow);
        const int hex = view.m_nHexLeft + 3 * cw * col;
        const int chr = view.m_nCharLeft + cw * col;
        const auto& f = host.LastFrame();
        return "hex " + Hex(f.At(hex + cw / 2, top + 7)) + " on " + Hex(f.At(hex, top)) + " gap " +
               Hex(f.At(hex + 2 * cw + 1, top + 1)) + " | char " +
               Hex(f.At(chr + cw / 2, top + 7)) + " on " + Hex(f.At(chr, top));
    }
    static std::string Look(platform::Color hexText, platform::Color hexBack,
                            platform::Color charText, platform::Color charBack) {
        return "hex " + Hex(hexText) + " on " + Hex(hexBack) + " gap 000000 | char " +
               Hex(charText) + " on " + Hex(charBack);
    }
    /// The looks of count bytes from first.
    std::vector<std::string> LooksOf(uint32_t first, uint32_t count) const {
        std::vector<std::string> looks;
        for (uint32_t i = first; i < first + count; ++i) looks.push_back(LookOf(i));
        return looks;
    }

    static std::string Hex(platform::Color c) {
        char text[8];
        std::snprintf(text, sizeof text, "%06X", unsigned(c.Packed()));
        return text;
    }
};
