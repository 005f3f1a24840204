// Cell metrics, the scroll range, hit-testing and scroll bar messages.
#include <climits>
#include <cstdint>

#include "view/HexView.h"
#include "view/ScopedFont.h"

using namespace platform;

void CHexView::RecalcMetrics() {
    Size zero{8, 15};
    if (auto measure = Host().CreateMeasuringSurface()) {
        const ScopedFont font(*measure, m_font);
        zero = MeasureString(*measure, "0");
    }
    const int cw = zero.cx;
    const int ch = zero.cy;
    m_nRowHeight = ch + 2;
    m_nCellWidth = cw;

    const int b = m_nBytesPerRow;
    m_nCharWidth = b * cw;
    m_nHexLeft = 11 * cw;
    m_nHexWidth = 3 * b * cw;
    m_nCharLeft = 3 * b * cw + 12 * cw;

    const int64_t rows = (int64_t(m_nFileSize) + b - 1) / b;
    const int64_t height = rows * m_nRowHeight;
    m_nContentHeight = height > INT_MAX ? INT_MAX : int32_t(height);

    const int clientHeight = Host().GetClientRect().Height();
    m_nPageRows = m_nRowHeight > 0 ? (clientHeight + m_nRowHeight - 1) / m_nRowHeight : 0;
    if (m_nPageRows < 0) m_nPageRows = 0;

    const int64_t half = m_nPageRows / 2;
    const int maxPos = half > rows ? 0 : int(rows - half);
    if (m_wndScrollBar) m_wndScrollBar->SetScrollRange(0, maxPos, true);
}

void CHexView::ChangeColumns(int delta) {
    if (m_pData == nullptr || m_nFileSize == 0) return;
    m_nBytesPerRow += delta;
    if (m_nBytesPerRow < 1) m_nBytesPerRow = 1;
    RecalcMetrics();
    if (Host().WindowExists()) Host().Invalidate();
}

CHexView::PointLocation CHexView::LocatePoint(Point pt) const {
    PointLocation at;
    const int p = ScrollPos();
    if (pt.x >= m_nHexLeft && pt.x < m_nHexLeft + m_nHexWidth && pt.y >= m_nCellWidth) {
        at.area = PointLocation::Hex;
        at.col = (pt.x - m_nHexLeft) / (3 * m_nCellWidth);
        at.row = (pt.y - m_nCellWidth) / m_nRowHeight + int64_t(p);
    }
    if (pt.x >= m_nCharLeft && pt.x < m_nCharLeft + m_nCharWidth && pt.y >= m_nCellWidth) {
        at.area = PointLocation::Char;
        at.col = (pt.x - m_nCharLeft) / m_nCellWidth;
        at.row = (pt.y - m_nCellWidth) / m_nRowHeight + int64_t(p);
    }
    if (at.row >= 0) {
        const int64_t offset = at.row * m_nBytesPerRow + at.col;
        if (offset < int64_t(m_nFileSize) && m_pData != nullptr) at.offset = int(offset);
    }
    return at;
}

int CHexView::HitTest(Point pt) {
    if (pt.x == -1) return -1;
    const PointLocation at = LocatePoint(pt);
    // The area is recorded even when no byte lies there (the empty part of
    // the last row), so the typing mode follows the pointer.
    if (at.area != PointLocation::None) m_bCharArea = at.area == PointLocation::Char;
    return at.offset;
}

void CHexView::OnVScroll(unsigned code, ScrollBar* scrollBar) {
    if (!scrollBar) return;
    const int p = scrollBar->GetScrollPos();
    int pos;
    switch (code) {
        case sb::LineUp: pos = p - 1; break;
        case sb::LineDown: pos = p + 1; break;
        case sb::PageUp: pos = p - m_nPageRows; break;
        case sb::PageDown: pos = p + m_nPageRows; break;
        case sb::ThumbPosition:
        case sb::ThumbTrack: pos = scrollBar->GetTrackPos(); break;
        default: return;
    }
    scrollBar->SetScrollPos(pos, true);
    Host().InvalidateRect(DumpRect());
    Message m{msg::VScroll, MakeWParam(code, 0), 0};
    Host().DefaultProcessing(m);
}

void CHexView::ScrollToRow(uint32_t row) {
    if (!m_wndScrollBar) return;
    m_wndScrollBar->SetScrollPos(row > uint32_t(INT_MAX) ? INT_MAX : int(row), true);
    Host().Invalidate();
}
