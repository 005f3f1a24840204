#include "hosts/win32/Win32ScrollBar.h"

#include <memory>

namespace win32host {

std::unique_ptr<Win32ScrollBar> Win32ScrollBar::Create(HWND parent, const platform::Rect& rect,
                                                       int id) {
    HWND window = ::CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_VERT,
                                    rect.left, rect.top, rect.Width(), rect.Height(), parent,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                    ::GetModuleHandleW(nullptr), nullptr);
    if (!window) return nullptr;
    return std::unique_ptr<Win32ScrollBar>(new Win32ScrollBar(window));
}

// A redraw asked for is left to the next paint: drawing the bar at once
// costs a round trip to the window system each time, and a search or a
// scroll sets the position many times between two paints.
void Win32ScrollBar::SetScrollRange(int minPos, int maxPos, bool redraw) {
    ::SetScrollRange(m_window, SB_CTL, minPos, maxPos, FALSE);
    if (redraw) ::InvalidateRect(m_window, nullptr, FALSE);
}

void Win32ScrollBar::GetScrollRange(int& minPos, int& maxPos) const {
    ::GetScrollRange(m_window, SB_CTL, &minPos, &maxPos);
}

int Win32ScrollBar::SetScrollPos(int pos, bool redraw) {
    const int previous = ::SetScrollPos(m_window, SB_CTL, pos, FALSE);
    if (redraw) ::InvalidateRect(m_window, nullptr, FALSE);
    return previous;
}

int Win32ScrollBar::GetScrollPos() const { return ::GetScrollPos(m_window, SB_CTL); }

int Win32ScrollBar::GetTrackPos() const {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_TRACKPOS;
    if (!::GetScrollInfo(m_window, SB_CTL, &info)) return GetScrollPos();
    return info.nTrackPos;
}

void Win32ScrollBar::EnableWindow(bool enable) { ::EnableWindow(m_window, enable); }

bool Win32ScrollBar::IsWindowEnabled() const { return ::IsWindowEnabled(m_window) != FALSE; }

void Win32ScrollBar::MoveWindow(const platform::Rect& rect, bool repaint) {
    ::MoveWindow(m_window, rect.left, rect.top, rect.Width(), rect.Height(), repaint);
}

}  // namespace win32host
