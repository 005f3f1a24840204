// The view's vertical scroll bar: a real QScrollBar whose position only the
// core moves. The user's line, page and thumb actions are sent to the view
// as msg::VScroll with the sb:: codes; Qt's own move is undone first, and
// the thumb returns to the position the core set when a drag ends.
#pragma once

#include <QPointer>
#include <QScrollBar>

#include <functional>

#include "platform/Message.h"
#include "platform/ScrollBar.h"

namespace qthost {

class ScrollBarWidget final : public QScrollBar {
    Q_OBJECT
public:
    /// send delivers one msg::VScroll to the view.
    ScrollBarWidget(QWidget* parent, std::function<void(const platform::Message&)> send);

    /// The thumb position of the drag in progress (or of the one just
    /// ended, until its final messages are sent); else the position.
    int TrackPos() const { return m_tracking ? m_track : value(); }
    /// Sets the position without reporting it as a drag.
    void SetPositionQuietly(int pos);

protected:
    void wheelEvent(QWheelEvent* event) override;  // belongs to the view
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void OnAction(int action);
    void OnSliderPressed();
    void OnSliderMoved(int pos);
    void OnSliderReleased();
    void Send(unsigned code, int pos);

    std::function<void(const platform::Message&)> m_send;
    bool m_tracking = false;
    bool m_quiet = false;
    int m_track = 0;
};

/// platform::ScrollBar over a ScrollBarWidget; harmless once the widget is
/// gone.
class QtScrollBar final : public platform::ScrollBar {
public:
    explicit QtScrollBar(ScrollBarWidget* widget) : m_widget(widget) {}

    void SetScrollRange(int minPos, int maxPos, bool redraw) override;
    void GetScrollRange(int& minPos, int& maxPos) const override;
    int SetScrollPos(int pos, bool redraw) override;
    int GetScrollPos() const override;
    int GetTrackPos() const override;
    void EnableWindow(bool enable) override;
    bool IsWindowEnabled() const override;
    void MoveWindow(const platform::Rect& rect, bool repaint) override;

    ScrollBarWidget* Widget() const { return m_widget; }

private:
    QPointer<ScrollBarWidget> m_widget;
};

}  // namespace qthost
