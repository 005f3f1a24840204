// The view's command handler: the context menu's commands. Every command
// message, handled or not, is then passed on to the default handling.
#include "rules/CommandIds.h"
#include "view/HexView.h"

using namespace platform;

bool CHexView::OnCommand(WParam wParam, LParam lParam) {
    switch (LoWord(wParam)) {
        case ID_COPY_HEX_STRING: CopyAsHexString(); break;
        case ID_COPY_HEX_BLOCK: CopyAsHexBlock(); break;
        case ID_COPY_ASCII_TEXT: CopyAsAsciiText(); break;
        case ID_DELETE_SELECTION:
            if (ImageMayChange() && HasSelectionInImage()) DeleteSelection();
            break;
        case ID_INSERT_FROM_CLIPBOARD: PasteInsert(); break;
        case ID_OVERWRITE_FROM_CLIPBOARD: PasteOverwrite(); break;
        case ID_EDIT_BITS: BeginBitEdit(); break;
        // The crossing is deliberate: 168 is TEXT ignoring case (mode 3)
        // and 169 is UNICODE (mode 2).
        case ID_SEARCH_HEX: OpenInputPanel(SEARCH_HEX); break;
        case ID_SEARCH_TEXT: OpenInputPanel(SEARCH_TEXT); break;
        case ID_SEARCH_TEXT_NOCASE: OpenInputPanel(SEARCH_TEXT_NOCASE); break;
        case ID_SEARCH_UNICODE: OpenInputPanel(SEARCH_UNICODE); break;
        case ID_SEARCH_UNICODE_NOCASE: OpenInputPanel(SEARCH_UNICODE_NOCASE); break;
        case ID_JUMP_TO_OFFSET: OpenInputPanel(SEARCH_OFFSET); break;
        case ID_SCROLL_SELECTION_INTO_VIEW: ScrollSelectionIntoView(); break;
        case ID_FIND_NEXT: FindNext(); break;
        default: break;
    }
    return Host().DefaultProcessing({msg::Command, wParam, lParam}) != 0;
}

void CHexView::OpenInputPanel(int searchMode) {
    m_strInput.clear();
    m_nSearchMode = searchMode;
    ShowInputPanel();
}

void CHexView::ShowInputPanel() {
    m_strPanelMsg = "Ready...";
    m_bInputPanel = true;
    if (m_wndScrollBar) m_wndScrollBar->EnableWindow(false);
    Host().Invalidate();
}
