// The dump: one row per m_nBytesPerRow bytes from the scroll position down to
// the bottom of the view, each an offset, hexadecimal cells and character
// cells; then the status line on top.
#include "rules/HexText.h"
#include "view/Format.h"
#include "view/HexView.h"
#include "view/ScopedFont.h"

using namespace platform;

namespace {

/// The byte as a one-character string; a zero byte gives the empty string.
std::string CharText(uint8_t value) {
    return value == 0 ? std::string() : std::string(1, char(value));
}

}  // namespace

void CHexView::DrawDump(Surface& dc) {
    const Rect area = DumpRect();
    const int W = area.right;
    const int H = area.bottom;
    Rect rect = area;
    dc.FillSolidRect(rect, m_clrBackground);
    dc.SetBkMode(BkMode::Opaque);
    rect.top += m_nCellWidth;  // the top margin
    const ScopedFont font(dc, m_font);

    if (!HasBytes()) {
        DrawWelcome(dc, rect);
        return;
    }

    uint64_t i = uint64_t(ScrollPos()) * uint64_t(m_nBytesPerRow);
    // Only the rows that fit are walked, whatever the size of the image; they
    // go on under the status line's strip.
    const int firstRowTop = m_nPageRows != 0 ? rect.top : H;
    for (int rowTop = firstRowTop; i < m_nFileSize && rowTop < H; rowTop += m_nRowHeight) {
        dc.SetBkColor(m_clrBackground);
        dc.SetTextColor(m_clrPlainText);
        DrawString(dc, Format(" %08X", unsigned(i)), {0, rowTop, W, H}, dt::Left | dt::Top);

        Rect hexRect{m_nHexLeft, rowTop, W, H};
        Rect charRect{m_nCharLeft, rowTop, m_nCharLeft + m_nCellWidth, rowTop + m_nRowHeight - 2};
        for (int col = 0; col < m_nBytesPerRow && i < m_nFileSize; ++col, ++i) {
            const uint8_t value = m_pData[i];
            const CellColors colors = ColorsOfByte(uint32_t(i), value);

            // Opaque text: the background shows behind the two digits only,
            // the byte's third cell keeps the view's background.
            dc.SetTextColor(colors.hexText);
            dc.SetBkColor(colors.hexBack);
            DrawString(dc, HexPair(value), hexRect, dt::Left | dt::Top);
            hexRect.left += 3 * m_nCellWidth;

            if (colors.selected) {
                dc.FillSolidRect(charRect, colors.charBack);  // also a zero byte's empty cell
            } else {
                dc.SetBkColor(colors.charBack);
            }
            dc.SetTextColor(colors.charText);
            // No prefix processing: an ampersand is a byte like any other.
            // Control characters draw nothing, and the cell is the clip.
            DrawString(dc, CharText(value), charRect, dt::Left | dt::Top | dt::NoPrefix);
            charRect.left += m_nCellWidth;
            charRect.right = charRect.left + m_nCellWidth;
        }
    }

    DrawStatusLine(dc);
}
