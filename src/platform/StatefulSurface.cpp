#include "platform/StatefulSurface.h"

namespace platform {

void StatefulSurface::FillSolidRect(const Rect& rect, Color colour) {
    m_bk = colour;
    if (!rect.IsEmpty()) FillArea(rect, colour);
}

void StatefulSurface::FrameRect(const Rect& r, Color colour) {
    if (r.IsEmpty()) return;
    FillArea({r.left, r.top, r.right, r.top + 1}, colour);
    FillArea({r.left, r.bottom - 1, r.right, r.bottom}, colour);
    FillArea({r.left, r.top, r.left + 1, r.bottom}, colour);
    FillArea({r.right - 1, r.top, r.right, r.bottom}, colour);
}

void StatefulSurface::Draw3dRect(const Rect& r, Color topLeft, Color bottomRight) {
    FillArea({r.left, r.top, r.right - 1, r.top + 1}, topLeft);
    FillArea({r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
    FillArea({r.right - 1, r.top, r.right, r.bottom}, bottomRight);
    FillArea({r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    m_bk = bottomRight;
}

Color StatefulSurface::SetTextColor(Color colour) {
    const Color old = m_text;
    m_text = colour;
    return old;
}

Color StatefulSurface::SetBkColor(Color colour) {
    const Color old = m_bk;
    m_bk = colour;
    return old;
}

BkMode StatefulSurface::SetBkMode(BkMode mode) {
    const BkMode old = m_mode;
    m_mode = mode;
    return old;
}

Font StatefulSurface::SelectFont(const Font& font) {
    Font old = m_font;
    if (!(font == m_font)) {
        m_font = font;
        FontChanged();
    }
    return old;
}

}  // namespace platform
