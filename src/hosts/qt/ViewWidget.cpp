#include "hosts/qt/ViewWidget.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWheelEvent>

#include <cstdlib>

#include "hosts/qt/PostedMessage.h"
#include "hosts/qt/QtScrollBar.h"
#include "hosts/qt/QtViewHost.h"
#include "hosts/qt/ViewAccessible.h"
#include "hosts/qt/X11AutoRepeat.h"
#include "platform/Constants.h"

using namespace platform;

namespace qthost {
namespace {

constexpr unsigned kHitClient = 1;  // the set-cursor message's hit-test code

/// How long a key release waits for the press of a repeat with its
/// timestamp. Only an X server that sends a release before every repeated
/// press makes such pairs, and on a loaded machine the press can reach Qt
/// tens of milliseconds after the release. Elsewhere the platform flags its
/// repeats, so an unflagged release is real and acts as soon as the events
/// already waiting have been delivered.
int ReleaseWaitMs() {
    constexpr int kLatePressMs = 100;
    const bool releasePerRepeat =
        QGuiApplication::platformName() == QLatin1String("xcb") && !RequestDetectableAutoRepeat();
    return releasePerRepeat ? kLatePressMs : 0;
}

LParam PointLParam(QPoint p) { return MakeLParam(p.x(), p.y()); }

}  // namespace

QString FirstLocalFile(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) return url.toLocalFile();
    }
    return {};
}

ViewWidget::ViewWidget(QtViewHost& host, QWidget* parent)
    : QWidget(parent), m_host(host), m_releaseWaitMs(ReleaseWaitMs()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAcceptDrops(true);
    // Dead keys and compose sequences reach the view as committed text.
    setAttribute(Qt::WA_InputMethodEnabled);
    setInputMethodHints(Qt::ImhNoPredictiveText | Qt::ImhNoAutoUppercase | Qt::ImhPreferLatin);
    InstallViewAccessibleFactory();
}

bool ViewWidget::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
        case QEvent::Wheel:
        case QEvent::Drop:
        case QEvent::InputMethod:
        case QEvent::FocusOut:
            // A key release held back acts before what the user did next.
            DeliverPendingRelease();
            break;
        default: break;
    }
    if (event->type() == PostedMessageEvent::EventType()) {
        Message m = static_cast<PostedMessageEvent*>(event)->Message();
        m_host.Deliver(m);
        return true;
    }
    if (event->type() == PostedDropEvent::EventType()) {
        DroppedFiles& files = static_cast<PostedDropEvent*>(event)->Files();
        Message m{msg::DropFiles, WParam(&files), 0};
        m_host.Deliver(m);
        return true;
    }
    return QWidget::event(event);
}

// TAB and Shift+TAB are keys for the view, not focus moves.
bool ViewWidget::focusNextPrevChild(bool) { return false; }

void ViewWidget::paintEvent(QPaintEvent*) { m_host.OnPaintEvent(); }

void ViewWidget::keyPressEvent(QKeyEvent* event) {
    if (WindowClient* client = m_host.Client()) m_keys.Press(*event, *client);
    if (!m_keys.HasPendingRelease()) m_releaseTimer.stop();
    event->accept();
}

void ViewWidget::keyReleaseEvent(QKeyEvent* event) {
    if (WindowClient* client = m_host.Client()) m_keys.Release(*event, *client);
    if (m_keys.HasPendingRelease()) m_releaseTimer.start(m_releaseWaitMs, this);
    event->accept();
}

void ViewWidget::inputMethodEvent(QInputMethodEvent* event) {
    if (WindowClient* client = m_host.Client()) m_keys.Commit(event->commitString(), *client);
    event->accept();
}

void ViewWidget::DeliverPendingRelease() {
    m_releaseTimer.stop();
    if (WindowClient* client = m_host.Client()) m_keys.DeliverPendingRelease(*client);
}

void ViewWidget::focusOutEvent(QFocusEvent* event) {
    m_keys.Reset();
    QWidget::focusOutEvent(event);
}

bool ViewWidget::OnView(QPoint point) const {
    if (!rect().contains(point)) return false;
    const ScrollBarWidget* bar = m_host.ScrollBar();
    return !(bar && bar->isVisible() && bar->geometry().contains(point));
}

void ViewWidget::SendSetCursor(unsigned mouseMessage) {
    m_host.Send(Message{msg::SetCursor, 0, MakeLParam(kHitClient, mouseMessage)});
}

void ViewWidget::Pointer(unsigned message, const QMouseEvent& event) {
    Message m{message, PointerFlags(event.buttons(), event.modifiers()),
              PointLParam(event.position().toPoint())};
    m_host.Deliver(m);
}

void ViewWidget::mousePressEvent(QMouseEvent* event) {
    unsigned message;
    switch (event->button()) {
        case Qt::LeftButton: message = msg::LButtonDown; break;
        case Qt::RightButton: message = msg::RButtonDown; break;
        default: event->accept(); return;
    }
    SendSetCursor(message);
    Pointer(message, *event);
    event->accept();
}

// The view asks for no double clicks: the second press is a press.
void ViewWidget::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void ViewWidget::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (!OnView(event->position().toPoint())) return;
    switch (event->button()) {
        case Qt::LeftButton: Pointer(msg::LButtonUp, *event); break;
        case Qt::RightButton: Pointer(msg::RButtonUp, *event); break;
        default: break;
    }
}

void ViewWidget::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (!OnView(event->position().toPoint())) return;
    SendSetCursor(msg::MouseMove);
    Pointer(msg::MouseMove, *event);
}

void ViewWidget::wheelEvent(QWheelEvent* event) {
    event->accept();
    const int notches = m_wheel.Feed(event->angleDelta().y());
    const QPoint screen = event->globalPosition().toPoint();
    const WParam flags = PointerFlags(event->buttons(), event->modifiers());
    for (int i = 0; i < std::abs(notches); ++i) {
        const int delta = notches > 0 ? WHEEL_NOTCH : -WHEEL_NOTCH;
        Message m{msg::MouseWheel, MakeWParam(unsigned(flags), unsigned(delta)),
                  MakeLParam(screen.x(), screen.y())};
        m_host.Deliver(m);
    }
}

// The context menu is the core's answer to the right button's release.
void ViewWidget::contextMenuEvent(QContextMenuEvent* event) { event->accept(); }

void ViewWidget::dragEnterEvent(QDragEnterEvent* event) {
    if (!FirstLocalFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void ViewWidget::dragMoveEvent(QDragMoveEvent* event) {
    if (!FirstLocalFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void ViewWidget::dropEvent(QDropEvent* event) {
    const QString path = FirstLocalFile(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    // Handed over after the drag has finished, so that a long load does not
    // keep the dragging program waiting.
    DroppedFiles files{{QFile::encodeName(path).toStdString()}};
    QCoreApplication::postEvent(this, new PostedDropEvent(std::move(files)));
}

void ViewWidget::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_releaseTimer.timerId()) {
        DeliverPendingRelease();
        return;
    }
    m_host.OnTimerEvent(event->timerId());
}

}  // namespace qthost
