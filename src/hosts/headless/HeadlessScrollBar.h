// A scroll bar model that clamps like the platform's control.
#pragma once

#include "platform/ScrollBar.h"

namespace headless {

class HeadlessScrollBar final : public platform::ScrollBar {
public:
    explicit HeadlessScrollBar(const platform::Rect& rect) : m_rect(rect) {}

    void SetScrollRange(int minPos, int maxPos, bool redraw) override;
    void GetScrollRange(int& minPos, int& maxPos) const override;
    int SetScrollPos(int pos, bool redraw) override;
    int GetScrollPos() const override { return m_pos; }
    int GetTrackPos() const override { return m_track; }
    void EnableWindow(bool enable) override { m_enabled = enable; }
    bool IsWindowEnabled() const override { return m_enabled; }
    void MoveWindow(const platform::Rect& rect, bool) override { m_rect = rect; }

    /// Where the user holds the thumb while dragging it (clamped).
    void SetTrackPos(int pos);
    const platform::Rect& WindowRect() const { return m_rect; }
    int Min() const { return m_min; }
    int Max() const { return m_max; }

private:
    int Clamp(int pos) const;

    platform::Rect m_rect;
    int m_min = 0;
    int m_max = 0;
    int m_pos = 0;
    int m_track = 0;
    bool m_enabled = true;
};

}  // namespace headless
