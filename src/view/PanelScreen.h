// What the screens drawn instead of the dump share: the view cleared, the
// view font selected for the paint, the size of one character cell, and, for
// the bit edit and the search / offset panels, their box of lines and the
// box that grows with the typed text.
#pragma once

#include <string>

#include "view/HexView.h"
#include "view/ScopedFont.h"

class PanelScreen {
public:
    /// Fills DumpRect with fill and selects the view font until destruction;
    /// text is then drawn without a background.
    PanelScreen(const CHexView& view, platform::Surface& dc, platform::Color fill);

    /// The size of one character cell of the view font.
    int CellWidth() const { return m_cell.cx; }
    int LineHeight() const { return m_cell.cy; }
    /// The top of the first line, below the view's top margin.
    int Top() const { return m_area.top + m_view.m_nCellWidth; }

    /// text in colour from (x, y) to the bottom right of the screen.
    void Text(int x, int y, platform::Color colour, const std::string& text, unsigned format);

    /// The panel box: 75 cells wide, ten lines high, filled and framed.
    void DrawBox();
    /// Line number `line` of the box (0 is the title).
    void BoxLine(int line, platform::Color colour, const std::string& text, unsigned format);
    /// The text of line `line`, in a filled and framed box of its width.
    void TextBox(int line, platform::Color colour, const std::string& text, unsigned format);

private:
    int BoxLeft() const { return m_area.left + CellWidth(); }
    int LineTop(int line) const { return Top() + 2 + line * LineHeight(); }

    const CHexView& m_view;
    platform::Surface& m_dc;
    const platform::Rect m_area;
    ScopedFont m_font;
    const platform::Size m_cell;
};
