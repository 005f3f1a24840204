// The search and jump-to-offset panel: its screen, drawn instead of the dump
// while m_bInputPanel is set. Each line is formatted into a fixed buffer; a
// line too long for it (a long search text) is cut, never overrun.
#include <cstdio>

#include "view/HexView.h"

using namespace platform;

namespace {

constexpr size_t LINE_BUFFER = 150;

const char* PromptFor(int mode) {
    switch (mode) {
        case SEARCH_HEX: return "Valid HEX formats are FF AA CC or FFAACC.";
        case SEARCH_TEXT: return "Type some text to search for...";
        case SEARCH_UNICODE: return "Type some text to find, search is in UNICODE...";
        case SEARCH_TEXT_NOCASE: return "Type some text to search for, case is ignored...";
        case SEARCH_UNICODE_NOCASE:
            return "Type some text to find, case is ignored, search is in UNICODE...";
        default: return "Type a HEX Offset to search for, and jump to.";
    }
}

template <typename... Args>
std::string Format(const char* format, Args... args) {
    char line[LINE_BUFFER];
    std::snprintf(line, sizeof line, format, args...);
    return line;
}

}  // namespace

void CHexView::DrawInputPanel(Surface& dc) {
    const Rect area = DumpRect();
    const int w = area.Width();
    const int h = area.Height();
    dc.FillSolidRect({0, 0, w, h}, m_clrBackground);
    const Font previousFont = dc.SelectFont(m_font);
    const Size cell = MeasureString(dc, "X");
    const int cx = cell.cx;
    const int cy = cell.cy;

    const int top = m_nCellWidth;
    dc.FillSolidRect({cx, top, cx + 75 * cx, top + 10 * cy + 4}, m_clrPanelFill);
    dc.Draw3dRect({cx, top, cx + 75 * cx, top + 10 * cy + 5}, m_clrPanelFrame, m_clrPanelFrame);

    dc.SetBkMode(BkMode::Transparent);
    auto line = [&](int lineTop, Color colour, const std::string& text, unsigned format) {
        dc.SetTextColor(colour);
        DrawString(dc, text, {2 * cx, lineTop, w, h}, dt::Left | format);
    };
    const bool offset = m_nSearchMode == SEARCH_OFFSET;
    const int y0 = top + 2;
    line(y0, m_clrPanelTitle, offset ? ".:SEARCH FOR OFFSET:." : ".:SEARCH MODE:.", 0);
    line(y0 + cy, m_clrPanelTitle, "Press the [ESC] key to Exit.", 0);
    line(y0 + 2 * cy, m_clrPanelTitle, "Press the [ENTER] key to Start the Search.", 0);
    if (!offset) {
        line(y0 + 3 * cy, m_clrPanelTitle, "Use the Arrow Keys to navigate the offset.", 0);
    }
    line(y0 + 5 * cy, m_clrPlainText,
         Format(offset ? "YOUR CURRENT OFFSET IS: 0x%08X" : "START SEARCH AT OFFSET: 0x%08X",
                m_nSelStart),
         dt::SingleLine);
    line(y0 + 7 * cy, m_clrPlainText, PromptFor(m_nSearchMode), 0);
    line(y0 + 9 * cy, Rgb(0, 175, 0),
         m_bSearching ? Format("%s %.02f%%", m_strPanelMsg.c_str(), m_dSearchProgress)
                      : Format("%s", m_strPanelMsg.c_str()),
         dt::NoPrefix);

    // The typed text in a box that grows with it; it is shown exactly as
    // typed (no ampersand processing), so the box fits the text.
    const std::string toFind = Format("TO FIND: %s", m_strInput.c_str());
    const int y11 = y0 + 11 * cy;
    const int boxWidth = MeasureString(dc, toFind).cx + 2 * cx;
    dc.FillSolidRect({cx, y11 - 2, cx + boxWidth, y11 - 2 + cy + 2}, m_clrPanelFill);
    dc.Draw3dRect({cx, y11 - 3, cx + boxWidth, y11 - 3 + cy + 4}, m_clrPanelFrame,
                  m_clrPanelFrame);
    line(y11, m_clrAccent, toFind, dt::NoPrefix);

    dc.SelectFont(previousFont);
}
