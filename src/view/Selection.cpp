// The selection and what moves it: the left button (click and drag), pointer
// moves, the wheel, the arrow keys and "Scroll Selection Into View". The view
// never captures the pointer, so a release outside it leaves a drag open.
#include <cstdint>

#include "view/HexView.h"

using namespace platform;

bool CHexView::HasSelectionInImage() const {
    return m_pData != nullptr && m_nSelStart <= m_nSelEnd && m_nSelEnd < m_nFileSize;
}

void CHexView::OnLButtonDown(unsigned flags, Point point) {
    if (!AcceptsPointer()) return;
    const int offset = HitTest(point);
    m_nDragAnchor = offset;
    m_nSelStart = m_nSelEnd = m_nCaret = uint32_t(offset);  // -1: nothing selected
    m_chPendingDigit = 0;
    Host().Invalidate();
    Host().DefaultProcessing({msg::LButtonDown, flags, LParamFromPoint(point)});
}

void CHexView::OnMouseMove(unsigned flags, Point point) {
    if (!AcceptsPointer()) return;
    m_ptMouse = point;
    m_nHoverOffset = HitTest(point);
    // Only the status line reports the byte under the pointer.
    Host().InvalidateRect(StatusLineRect());
    Host().DefaultProcessing({msg::MouseMove, flags, LParamFromPoint(point)});
    UpdateDragSelection();
}

void CHexView::OnLButtonUp(unsigned flags, Point point) {
    if (!AcceptsPointer()) return;
    UpdateDragSelection();
    m_nDragAnchor = -1;
    Host().DefaultProcessing({msg::LButtonUp, flags, LParamFromPoint(point)});
}

void CHexView::UpdateDragSelection() {
    if (m_nDragAnchor == -1 || m_nHoverOffset == -1) return;
    const uint32_t anchor = uint32_t(m_nDragAnchor);
    const uint32_t hover = uint32_t(m_nHoverOffset);
    // Either end may predate a deletion that shortened the image since.
    if (m_pData == nullptr || anchor >= m_nFileSize || hover >= m_nFileSize) return;
    if (anchor < hover) {
        m_nSelStart = anchor;
        m_nSelEnd = hover;
    } else {
        m_nSelStart = hover;
        m_nSelEnd = anchor;
    }
    Host().Invalidate();
}

void CHexView::OnMouseWheel(unsigned flags, int delta, Point screenPoint) {
    const int step = m_nPageRows / 3;
    const int pos = ScrollPos();
    if (m_wndScrollBar) m_wndScrollBar->SetScrollPos(delta < 0 ? pos + step : pos - step, true);
    // The byte that now lies under the last known pointer position.
    m_nHoverOffset = HitTest(m_ptMouse);
    if (m_nDragAnchor != -1) UpdateDragSelection();
    Host().InvalidateRect(DumpRect());
    Host().DefaultProcessing(
        {msg::MouseWheel, MakeWParam(flags, unsigned(delta)), LParamFromPoint(screenPoint)});
}

LResult CHexView::OnSetCursor(const Message& message) {
    Host().SetArrowCursor();
    return Host().DefaultProcessing(message);
}

bool CHexView::MoveSelection(unsigned arrowKey) {
    if (!HasSelectionInImage()) return false;
    const uint64_t s = m_nSelStart;
    const uint64_t e = m_nSelEnd;
    const uint64_t b = uint64_t(m_nBytesPerRow);
    const uint64_t n = m_nFileSize;
    int64_t shift = 0;
    switch (arrowKey) {
        case vk::Left:
            if (s > 0) shift = -1;
            break;
        case vk::Up:
            if (s >= b) shift = -int64_t(b);
            break;
        case vk::Right:
            if (e < n - 1) shift = 1;
            break;
        case vk::Down:
            if (e + b < n) shift = int64_t(b);
            break;
        default: break;
    }
    if (shift == 0) return false;
    m_nSelStart = uint32_t(int64_t(s) + shift);
    m_nSelEnd = uint32_t(int64_t(e) + shift);
    m_nCaret = m_nSelStart;
    m_chPendingDigit = 0;
    Host().Invalidate();
    return true;
}

void CHexView::ScrollSelectionIntoView() {
    // Without a selection there is no row to bring into view.
    if (!HasSelectionInImage()) return;
    ScrollToRow(m_nSelStart / uint32_t(m_nBytesPerRow));
}
