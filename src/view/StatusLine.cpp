// The status line: an 18-pixel strip at the bottom of the dump describing the
// byte under the pointer, the edit mode and the size of the selection.
#include "view/Format.h"
#include "view/HexView.h"
#include "view/ScopedFont.h"

using namespace platform;

namespace {

constexpr int STATUS_LINE_HEIGHT = 18;
constexpr unsigned ITEM_FORMAT = dt::Left | dt::VCenter | dt::SingleLine;

/// The byte as the status line shows it: line feed, carriage return and tab
/// as a backslash and a letter, a zero byte as nothing.
std::string CharItem(uint8_t value) {
    switch (value) {
        case '\n': return "Char:\\n";
        case '\r': return "Char:\\r";
        case '\t': return "Char:\\t";
        case 0: return "Char:";
        default: return std::string("Char:") + char(value);
    }
}

}  // namespace

Rect CHexView::StatusLineRect() const {
    const Rect area = DumpRect();
    return {0, area.bottom - STATUS_LINE_HEIGHT, area.right, area.bottom};
}

void CHexView::DrawStatusLine(Surface& dc) {
    Rect rect = StatusLineRect();
    const ScopedFont font(dc, Host().GetMainWindowFont());
    const int xw = MeasureString(dc, "X").cx;

    dc.FillSolidRect(rect, m_clrStatusBack);
    dc.Draw3dRect(rect, m_clrStatusBorder, m_clrStatusBorder);
    rect.left += 2;
    rect.right -= 2;
    rect.bottom -= 1;
    dc.Draw3dRect(rect, m_clrStatusFrame, m_clrStatusFrame);
    rect.left += xw;
    dc.SetBkMode(BkMode::Opaque);
    dc.SetBkColor(m_clrStatusBack);
    dc.SetTextColor(m_clrStatusText);

    const PointLocation at = LocatePoint(m_ptMouse);
    if (at.offset < 0) {
        DrawString(dc, "Ready...", rect, ITEM_FORMAT);
        return;
    }

    const uint8_t value = m_pData[at.offset];
    const std::string row = Format("Row:%02d", int(at.row));
    DrawString(dc, row, rect, ITEM_FORMAT);
    rect.left += MeasureString(dc, row).cx + 2 * xw;

    DrawString(dc, Format("Col:%02d", int(at.col)), rect, ITEM_FORMAT);
    rect.left += 7 * xw;

    DrawString(dc, Format("Hex:%02X", unsigned(value)), rect, ITEM_FORMAT);
    rect.left += 8 * xw;

    // No prefix processing, so a hovered ampersand is shown.
    DrawString(dc, CharItem(value), rect, ITEM_FORMAT | dt::NoPrefix);
    rect.left += 8 * xw;

    rect.right -= xw;
    DrawString(dc,
               Format("Editmode:%s %s", m_bCharArea ? "ASCII" : "HEX",
                      m_bInsertMode ? "INSERT" : "OVERWRITE"),
               rect, dt::Right | dt::VCenter | dt::SingleLine);

    // Unsigned arithmetic: the empty selection (-1 to -1) counts one byte.
    const std::string selected = Format("Selected:%u", unsigned(m_nSelEnd - m_nSelStart + 1));
    DrawString(dc, selected, rect, ITEM_FORMAT);
    rect.left += MeasureString(dc, selected).cx + 2 * xw;

    DrawString(dc, Format("Offset:0x%X", unsigned(at.offset)), rect, ITEM_FORMAT);
}
