// Typing into the image: two hexadecimal digits or one printable character
// make a byte, which overwrites the byte at the caret or is inserted before
// it; the caret then moves one byte on. Also the control-key shortcuts that
// arrive as characters, and BACKSPACE, INSERT and DELETE outside the panels.
#include "rules/CommandIds.h"
#include "rules/HexText.h"
#include "view/HexView.h"

using namespace platform;

void CHexView::OnCharacter(unsigned ch) {
    if (m_bSearching) return;
    // With nothing selected, or no image at all, an edit may still be taken
    // back: the deletion of every byte, say.
    if (ch == ctl::Undo) return Undo();
    if (ch == ctl::Redo) return Redo();
    if (!HasSelectionInImage()) return;
    const bool shortcut = ch == ctl::Copy || ch == ctl::Find || ch == ctl::Paste;
    if (!shortcut && (ch < 0x20 || ch > 0x7E)) return;

    const bool modal = PanelShown();
    switch (ch) {
        case ctl::Find:
            if (!modal) {
                Host().PostViewMessage(msg::Command,
                                       m_bCharArea ? ID_SEARCH_TEXT_NOCASE : ID_SEARCH_HEX, 0);
            }
            return;
        case ctl::Copy:
            if (!modal) {
                if (m_bCharArea) CopyAsAsciiText();
                else CopyAsHexBlock();
            }
            return;
        case ctl::Paste:
            if (m_bInputPanel) {
                PanelPaste();
            } else if (!m_bBitEdit) {
                if (m_bInsertMode) PasteInsert();
                else PasteOverwrite();
            }
            return;
        default: break;
    }
    if (m_bBitEdit) TypeBit(char(ch));
    else if (m_bInputPanel) PanelTypeChar(char(ch));
    else if (ImageMayChange()) TypeCharacter(char(ch));
}

void CHexView::TypeCharacter(char ch) {
    if (m_nCaret > m_nSelEnd || m_nCaret < m_nSelStart) return;
    if (m_pData == nullptr || m_nCaret >= m_nFileSize) return;

    uint8_t byte;
    if (m_bCharArea) {
        byte = uint8_t(ch);
    } else {
        if (HexDigitValue(ch) < 0) return;
        if (m_chPendingDigit == 0) {
            m_chPendingDigit = ch;  // invisible until its partner arrives
            return;
        }
        byte = uint8_t(16 * HexDigitValue(m_chPendingDigit) + HexDigitValue(ch));
    }

    // Consecutive typed bytes make one step of the history.
    m_history.Begin(EditHistory::Kind::Typing, SelectionNow());
    if (m_bInsertMode) {
        if (!InsertBytes(m_nCaret, &byte, 1)) return;
        ++m_nSelEnd;
    } else {
        OverwriteBytes(m_nCaret, &byte, 1);
    }
    ++m_nCaret;
    m_chPendingDigit = 0;
    Host().Invalidate();
}

void CHexView::StepCaretBack() {
    if (m_nCaret <= m_nSelStart) return;
    --m_nCaret;
    m_chPendingDigit = 0;
    Host().Invalidate();
}

void CHexView::ToggleInsertMode() {
    m_bInsertMode = !m_bInsertMode;
    m_chPendingDigit = 0;
    Host().Invalidate();
}

void CHexView::DeleteKey() {
    if (!ImageMayChange() || PanelShown()) return;
    if (!HasSelectionInImage()) return;
    DeleteSelection();
}
