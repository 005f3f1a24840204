// The view's vertical scroll bar: a scroll bar control, child of the view.
// The control does the clamping itself, and is destroyed with the view's
// window.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/ScrollBar.h"

namespace win32host {

class Win32ScrollBar final : public platform::ScrollBar {
public:
    /// Creates the control (WS_CHILD | WS_VISIBLE | SBS_VERT) over rect of
    /// parent with the given control id; null when it cannot be made.
    static std::unique_ptr<Win32ScrollBar> Create(HWND parent, const platform::Rect& rect, int id);

    HWND Handle() const { return m_window; }

    void SetScrollRange(int minPos, int maxPos, bool redraw) override;
    void GetScrollRange(int& minPos, int& maxPos) const override;
    int SetScrollPos(int pos, bool redraw) override;
    int GetScrollPos() const override;
    int GetTrackPos() const override;
    void EnableWindow(bool enable) override;
    bool IsWindowEnabled() const override;
    void MoveWindow(const platform::Rect& rect, bool repaint) override;

private:
    explicit Win32ScrollBar(HWND window) : m_window(window) {}
    HWND m_window;
};

}  // namespace win32host
