// Bit edit mode: the first selected byte is retyped as eight binary digits
// and stored by ENTER. m_szBits holds the digits typed so far as two groups
// of four separated by a space at position 4, ended by zeros.
#include <cstring>

#include "view/Format.h"
#include "view/HexView.h"
#include "view/PanelScreen.h"

using namespace platform;

namespace {

constexpr size_t BITS_SPACE = 4;
constexpr size_t BITS_LAST = 8;

}  // namespace

void CHexView::BeginBitEdit() {
    // The panel shows and ENTER writes m_nSelStart: it must be a byte.
    if (!ImageMayChange() || !HasSelectionInImage()) return;
    m_bBitEdit = true;
    if (m_wndScrollBar) m_wndScrollBar->EnableWindow(false);
    Host().Invalidate();
}

void CHexView::TypeBit(char ch) {
    m_szBits[BITS_SPACE] = ' ';
    if (ch != '0' && ch != '1') return;
    for (size_t i = 0; i <= BITS_LAST; ++i) {
        if (m_szBits[i] == 0) {
            m_szBits[i] = ch;
            Host().Invalidate();
            return;
        }
    }
}

void CHexView::RemoveLastBit() {
    m_szBits[BITS_SPACE] = ' ';
    for (size_t i = BITS_LAST + 1; i-- > 0;) {
        if (m_szBits[i] == '0' || m_szBits[i] == '1') {
            m_szBits[i] = 0;
            break;
        }
    }
    Host().Invalidate();
}

void CHexView::EndBitEdit() {
    // A save started while the mode was on: the byte cannot be stored now,
    // so the mode and the typed digits stay for a later ENTER.
    if (!ImageMayChange()) return;
    // The image may have shrunk or gone (a context-menu delete) since the
    // mode began; then there is no byte left to write.
    if (std::strlen(m_szBits) == BITS_LAST + 1 && HasSelectionInImage()) {
        unsigned value = 0;
        for (size_t i = 0; i <= BITS_LAST; ++i) {
            if (i == BITS_SPACE) continue;
            value = (value << 1) | unsigned(m_szBits[i] == '1');
        }
        const uint8_t byte = uint8_t(value);
        m_history.Begin(EditHistory::Kind::Other, SelectionNow());
        OverwriteBytes(m_nSelStart, &byte, 1);
    }
    DiscardBitEdit();
    Host().Invalidate();
}

std::string CHexView::FormatBinary(uint8_t byte) {
    std::string text;
    for (int bit = 7; bit >= 0; --bit) {
        text += (byte >> bit) & 1 ? '1' : '0';
        if (bit == 4) text += ' ';
    }
    return text;
}

void CHexView::DrawBitEditPanel(Surface& dc) {
    PanelScreen panel(*this, dc, Rgb(0, 0, 0));
    panel.DrawBox();
    panel.BoxLine(0, m_clrPanelTitle, ".:BIT EDIT MODE:.", 0);
    panel.BoxLine(1, m_clrPanelTitle, "Press the [ESC] key to Exit.", 0);
    panel.BoxLine(2, m_clrPanelTitle, "Press the [ENTER] key to Save the changes.", 0);
    panel.BoxLine(3, m_clrPanelTitle, "Use the Arrow Keys to navigate the offset.", 0);
    panel.BoxLine(4, m_clrPanelTitle, "Type the new bits using the 1 && 0 keys.", 0);

    // With no byte under the selection (the image shrank or went away while
    // the mode was on) there is nothing to describe.
    if (HasSelectionInImage()) {
        const uint8_t byte = m_pData[m_nSelStart];
        // A zero byte ends the text.
        panel.BoxLine(7, m_clrPlainText,
                      Format("OFFSET:0x%08X  BINARY:[%s]  HEX:%02X  CHAR:%c", m_nSelStart,
                             FormatBinary(byte).c_str(), byte, byte),
                      dt::SingleLine);
    }

    panel.TextBox(11, m_clrAccent, "NEW BITS: " + std::string(m_szBits), 0);
}
