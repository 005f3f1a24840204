#include "hosts/qt/QtScrollBar.h"

#include <QMouseEvent>
#include <QWheelEvent>

#include "platform/Constants.h"

using namespace platform;

namespace qthost {

ScrollBarWidget::ScrollBarWidget(QWidget* parent, std::function<void(const Message&)> send)
    : QScrollBar(Qt::Vertical, parent), m_send(std::move(send)) {
    setFocusPolicy(Qt::NoFocus);
    setContextMenuPolicy(Qt::NoContextMenu);
    setTracking(false);  // a drag reports the thumb; the core sets the value
    setRange(0, 0);
    setSingleStep(1);
    setPageStep(1);
    connect(this, &QAbstractSlider::actionTriggered, this, &ScrollBarWidget::OnAction);
    connect(this, &QAbstractSlider::sliderPressed, this, &ScrollBarWidget::OnSliderPressed);
    connect(this, &QAbstractSlider::sliderMoved, this, &ScrollBarWidget::OnSliderMoved);
    connect(this, &QAbstractSlider::sliderReleased, this, &ScrollBarWidget::OnSliderReleased);
}

void ScrollBarWidget::SetPositionQuietly(int pos) {
    m_quiet = true;
    setValue(pos);
    m_quiet = false;
}

void ScrollBarWidget::Send(unsigned code, int pos) {
    if (m_send) m_send(Message{msg::VScroll, MakeWParam(code, unsigned(pos)), 0});
}

void ScrollBarWidget::OnAction(int action) {
    unsigned code;
    switch (action) {
        case SliderSingleStepSub: code = sb::LineUp; break;
        case SliderSingleStepAdd: code = sb::LineDown; break;
        case SliderPageStepSub: code = sb::PageUp; break;
        case SliderPageStepAdd: code = sb::PageDown; break;
        case SliderToMinimum: code = sb::Top; break;
        case SliderToMaximum: code = sb::Bottom; break;
        default:
            // The end of a drag the core did not follow: the thumb returns.
            setSliderPosition(value());
            return;
    }
    setSliderPosition(value());  // undo Qt's own step; the core decides
    Send(code, value());
}

void ScrollBarWidget::OnSliderPressed() {
    m_tracking = true;
    m_track = sliderPosition();
}

void ScrollBarWidget::OnSliderMoved(int pos) {
    if (m_quiet || !isSliderDown()) return;
    m_track = pos;
    Send(sb::ThumbTrack, pos);
}

void ScrollBarWidget::OnSliderReleased() {
    if (!m_tracking) return;
    Send(sb::ThumbPosition, m_track);
}

void ScrollBarWidget::mouseReleaseEvent(QMouseEvent* event) {
    const bool ends = event->button() == Qt::LeftButton || m_tracking;
    QScrollBar::mouseReleaseEvent(event);
    if (ends) {
        Send(sb::EndScroll, 0);
        m_tracking = false;
    }
}

void ScrollBarWidget::wheelEvent(QWheelEvent* event) { event->ignore(); }

void QtScrollBar::SetScrollRange(int minPos, int maxPos, bool) {
    if (!m_widget) return;
    m_widget->blockSignals(true);
    m_widget->setRange(minPos, maxPos);
    m_widget->blockSignals(false);
}

void QtScrollBar::GetScrollRange(int& minPos, int& maxPos) const {
    minPos = m_widget ? m_widget->minimum() : 0;
    maxPos = m_widget ? m_widget->maximum() : 0;
}

int QtScrollBar::SetScrollPos(int pos, bool) {
    if (!m_widget) return 0;
    const int old = m_widget->value();
    m_widget->SetPositionQuietly(pos);
    return old;
}

int QtScrollBar::GetScrollPos() const { return m_widget ? m_widget->value() : 0; }

int QtScrollBar::GetTrackPos() const { return m_widget ? m_widget->TrackPos() : 0; }

void QtScrollBar::EnableWindow(bool enable) {
    if (m_widget) m_widget->setEnabled(enable);
}

bool QtScrollBar::IsWindowEnabled() const { return m_widget && m_widget->isEnabled(); }

void QtScrollBar::MoveWindow(const Rect& rect, bool) {
    if (m_widget) m_widget->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
}

}  // namespace qthost
