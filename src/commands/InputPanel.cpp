// The search and jump-to-offset panel: its screen, drawn instead of the dump
// while m_bInputPanel is set. Each line is formatted into a fixed buffer; a
// line too long for it (a long search text) is cut, never overrun.
#include "view/Format.h"
#include "view/HexView.h"
#include "view/PanelScreen.h"

using namespace platform;

namespace {

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

}  // namespace

void CHexView::DrawInputPanel(Surface& dc) {
    PanelScreen panel(*this, dc, m_clrBackground);
    panel.DrawBox();
    const bool offset = m_nSearchMode == SEARCH_OFFSET;
    panel.BoxLine(0, m_clrPanelTitle, offset ? ".:SEARCH FOR OFFSET:." : ".:SEARCH MODE:.", 0);
    panel.BoxLine(1, m_clrPanelTitle, "Press the [ESC] key to Exit.", 0);
    panel.BoxLine(2, m_clrPanelTitle, "Press the [ENTER] key to Start the Search.", 0);
    if (!offset) {
        panel.BoxLine(3, m_clrPanelTitle, "Use the Arrow Keys to navigate the offset.", 0);
    }
    panel.BoxLine(
        5, m_clrPlainText,
        Format(offset ? "YOUR CURRENT OFFSET IS: 0x%08X" : "START SEARCH AT OFFSET: 0x%08X",
               m_nSelStart),
        dt::SingleLine);
    panel.BoxLine(7, m_clrPlainText, PromptFor(m_nSearchMode), 0);
    panel.BoxLine(9, Rgb(0, 175, 0),
                  m_bSearching ? Format("%s %.02f%%", m_strPanelMsg.c_str(), m_dSearchProgress)
                               : Format("%s", m_strPanelMsg.c_str()),
                  dt::NoPrefix);

    // The typed text in a box that grows with it; it is shown exactly as
    // typed (no ampersand processing), so the box fits the text.
    panel.TextBox(11, m_clrAccent, Format("TO FIND: %s", m_strInput.c_str()), dt::NoPrefix);
}
