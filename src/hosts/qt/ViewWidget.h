// The view's child window: turns Qt's events into the core's messages. It
// never erases; what it shows comes from the core's paint. It takes text
// from input methods (dead keys, compose), and keeps what assistive
// technologies are told about it (ViewAccessible).
#pragma once

#include <QBasicTimer>
#include <QWidget>

#include "hosts/qt/InputTranslation.h"
#include "platform/ViewHost.h"

class QMimeData;

namespace qthost {

class QtViewHost;

class ViewWidget final : public QWidget {
    Q_OBJECT
public:
    ViewWidget(QtViewHost& host, QWidget* parent);

    const platform::ViewDescription& Description() const { return m_description; }
    void SetDescription(const platform::ViewDescription& description) {
        m_description = description;
    }

protected:
    bool event(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    /// Whether a point lies on the view itself (not on its scroll bar, not
    /// outside): the view does not capture the pointer, so moves and
    /// releases elsewhere are not its own.
    bool OnView(QPoint point) const;
    void SendSetCursor(unsigned mouseMessage);
    void Pointer(unsigned message, const QMouseEvent& event);
    void DeliverPendingRelease();

    QtViewHost& m_host;
    KeyboardTranslator m_keys;
    /// Delivers a key release held back once no repeat's press can follow.
    QBasicTimer m_releaseTimer;
    int m_releaseWaitMs;
    WheelNotches m_wheel;
    platform::ViewDescription m_description;
};

/// The first local file of a drop, or an empty string.
QString FirstLocalFile(const QMimeData* data);

}  // namespace qthost
