// The view's vertical scroll bar child window. Positions are clamped into
// the range exactly as the platform's scroll bar control does.
#pragma once

#include "platform/Shapes.h"

namespace platform {

class ScrollBar {
public:
    virtual ~ScrollBar() = default;

    /// Sets the range; the position is moved inside the new range.
    virtual void SetScrollRange(int minPos, int maxPos, bool redraw) = 0;
    virtual void GetScrollRange(int& minPos, int& maxPos) const = 0;
    /// Sets the position, clamped to the range; returns the previous one.
    virtual int SetScrollPos(int pos, bool redraw) = 0;
    virtual int GetScrollPos() const = 0;
    /// The 32-bit position of the thumb while it is being dragged.
    virtual int GetTrackPos() const = 0;
    virtual void EnableWindow(bool enable) = 0;
    virtual bool IsWindowEnabled() const = 0;
    virtual void MoveWindow(const Rect& rect, bool repaint) = 0;
};

}  // namespace platform
