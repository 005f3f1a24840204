// Character fading and the colours of a byte's two cells: unselected bytes
// are tinted by their value so runs of zeros recede and high values stand
// out; selected bytes and the caret take the palette's fixed colours.
#include "view/HexView.h"

using namespace platform;

int CHexView::FadeLevel(uint8_t value) const {
    switch (m_nFadeMode) {
        case 1: {
            // Truncates the double product: 10 gives 7, but 90 gives 62
            // because 90 * 0.7 lies just below 63.
            const double product = value * 0.7;
            return int(product);
        }
        case 2: return 51 + value / 2;
        default: return 179;
    }
}

CHexView::CellColors CHexView::ColorsOfByte(uint32_t offset, uint8_t value) const {
    CellColors c;
    c.selected = offset >= m_nSelStart && offset <= m_nSelEnd;
    if (c.selected) {
        // The caret is marked only inside the selection.
        const Color back = offset == m_nCaret ? m_clrCaretBack : m_clrSelBack;
        c.hexText = m_clrAccent;
        c.hexBack = back;
        c.charText = m_clrSelCharText;
        c.charBack = back;
    } else {
        const int f = FadeLevel(value);
        c.hexText = Rgb(0, f + 75, 0);
        c.hexBack = m_clrBackground;
        c.charText = Rgb(f + 75, f + 70, 75);
        c.charBack = m_clrBackground;
    }
    return c;
}
