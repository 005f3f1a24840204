#include "hosts/headless/HeadlessScrollBar.h"

namespace headless {

int HeadlessScrollBar::Clamp(int pos) const {
    if (pos < m_min) return m_min;
    if (pos > m_max) return m_max;
    return pos;
}

void HeadlessScrollBar::SetScrollRange(int minPos, int maxPos, bool) {
    m_min = minPos;
    m_max = maxPos < minPos ? minPos : maxPos;
    m_pos = Clamp(m_pos);
}

void HeadlessScrollBar::GetScrollRange(int& minPos, int& maxPos) const {
    minPos = m_min;
    maxPos = m_max;
}

int HeadlessScrollBar::SetScrollPos(int pos, bool) {
    const int old = m_pos;
    m_pos = Clamp(pos);
    return old;
}

void HeadlessScrollBar::SetTrackPos(int pos) { m_track = Clamp(pos); }

}  // namespace headless
