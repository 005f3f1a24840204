#include "hosts/qt/QtViewHost.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QCursor>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>

#include "hosts/qt/InputTranslation.h"
#include "hosts/qt/MainWindow.h"
#include "hosts/qt/PostedMessage.h"
#include "hosts/qt/QtScrollBar.h"
#include "hosts/qt/QtSurface.h"
#include "hosts/qt/TextConversion.h"
#include "hosts/qt/ViewAccessible.h"
#include "hosts/qt/ViewWidget.h"
#include "hosts/qt/XcbClipboard.h"
#include "platform/Constants.h"

using namespace platform;

namespace qthost {

/// One paint of the view: buffers are images at the device pixel ratio of
/// what is painted on; presenting draws one in one operation onto the
/// widget, where Qt clips it to the invalid region. Outside a paint event
/// nothing is shown.
class QtPaintContext final : public PaintContext {
public:
    explicit QtPaintContext(QWidget* target) {
        if (target) m_painter.emplace(target);
    }

    std::unique_ptr<Surface> CreateBuffer(Size size) override {
        if (size.cx < 0 || size.cy < 0) return nullptr;
        const qreal ratio = m_painter ? m_painter->device()->devicePixelRatioF() : 1.0;
        auto buffer = std::make_unique<QtSurface>(QSize(size.cx, size.cy), ratio);
        if (!buffer->IsValid()) return nullptr;
        return buffer;
    }

    void Present(Surface& buffer, Point origin) override {
        if (!m_painter) return;
        const QImage& image = static_cast<QtSurface&>(buffer).Image();
        if (!image.isNull()) m_painter->drawImage(QPoint(origin.x, origin.y), image);
    }

private:
    std::optional<QPainter> m_painter;
};

QtViewHost::QtViewHost(QtMainWindowHost& main, Presenters presenters)
    : m_main(main), m_presenters(presenters) {}

QtViewHost::~QtViewHost() = default;

ViewWidget* QtViewHost::Widget() const { return m_widget; }

ScrollBarWidget* QtViewHost::ScrollBar() const { return m_scrollBar; }

// ---- The window ---------------------------------------------------------------

bool QtViewHost::CreateViewWindow(WindowClient& client, const Rect& rect) {
    QWidget* parent = m_main.ClientArea();
    if (!parent) return false;
    m_client = std::make_unique<GuardedClient>(client);
    m_widget = new ViewWidget(*this, parent);
    m_widget->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    m_widget->show();
    m_widget->setFocus();
    return true;
}

bool QtViewHost::WindowExists() const { return m_widget != nullptr; }

Rect QtViewHost::GetClientRect() const {
    if (!m_widget) return {};
    return {0, 0, m_widget->width(), m_widget->height()};
}

Rect QtViewHost::GetParentClientRect() const { return m_main.GetClientRect(); }

void QtViewHost::MoveWindow(const Rect& rect, bool) {
    if (m_widget) m_widget->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
}

void QtViewHost::Invalidate() {
    if (m_widget) m_widget->update();
}

void QtViewHost::InvalidateRect(const Rect& rect) {
    if (m_widget && !rect.IsEmpty()) {
        m_widget->update(QRect(rect.left, rect.top, rect.Width(), rect.Height()));
    }
}

LResult QtViewHost::DefaultProcessing(const Message& message) {
    // A paint nobody painted: black rather than whatever the backing store
    // held, since the view has no background of its own to erase to.
    if (message.message == msg::Paint && m_inPaintEvent && !m_paintBegun && m_widget) {
        QPainter painter(m_widget);
        painter.fillRect(m_widget->rect(), Qt::black);
    }
    return 0;
}

std::unique_ptr<platform::ScrollBar> QtViewHost::CreateScrollBar(const Rect& rect, int) {
    if (!m_widget) return nullptr;
    auto* bar = new ScrollBarWidget(m_widget, [this](const Message& m) { Send(m); });
    bar->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    bar->show();
    m_scrollBar = bar;
    return std::make_unique<QtScrollBar>(bar);
}

// ---- Painting and measuring ---------------------------------------------------

void QtViewHost::OnPaintEvent() {
    m_inPaintEvent = true;
    m_paintBegun = false;
    Send(Message{msg::Paint, 0, 0});
    m_inPaintEvent = false;
    m_paintBegun = false;
}

std::unique_ptr<PaintContext> QtViewHost::BeginPaint() {
    m_paintBegun = m_inPaintEvent;
    return std::make_unique<QtPaintContext>(m_inPaintEvent ? m_widget.data() : nullptr);
}

std::unique_ptr<Surface> QtViewHost::CreateMeasuringSurface() {
    return std::make_unique<QtSurface>();
}

Font QtViewHost::GetMainWindowFont() const { return m_main.WindowFont(); }

// ---- Messages and timers --------------------------------------------------------

void QtViewHost::Deliver(Message& message) {
    if (m_client) qthost::Deliver(*m_client, message);
}

void QtViewHost::Send(const Message& message) {
    if (m_client) m_client->WindowProc(message);
}

void QtViewHost::SetTimer(unsigned id, unsigned milliseconds) {
    if (m_widget) m_timers[id].start(int(milliseconds), m_widget);
}

void QtViewHost::KillTimer(unsigned id) { m_timers.erase(id); }

void QtViewHost::OnTimerEvent(int qtTimerId) {
    for (const auto& [id, timer] : m_timers) {
        if (timer.timerId() != qtTimerId) continue;
        Message m{msg::Timer, id, 0};
        Deliver(m);
        return;
    }
}

void QtViewHost::PostViewMessage(unsigned message, WParam wParam, LParam lParam) {
    if (m_widget) {
        QCoreApplication::postEvent(m_widget, new PostedMessageEvent({message, wParam, lParam}));
    }
}

bool QtViewHost::PumpWaitingMessages() {
    if (m_main.Quitting()) return false;
    if (m_sincePoll.isValid() && m_sincePoll.nsecsElapsed() < kMinPollNs) return true;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    m_sincePoll.start();
    return !m_main.Quitting();
}

// ---- Pointer and menus ------------------------------------------------------------

Point QtViewHost::GetCursorPos() const {
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

void QtViewHost::SetArrowCursor() {
    if (m_widget) m_widget->setCursor(Qt::ArrowCursor);
}

void QtViewHost::TrackPopupMenu(const std::vector<MenuItem>& items, Point screen) {
    const unsigned chosen = m_presenters.popup->Choose(items, QPoint(screen.x, screen.y), m_widget);
    if (chosen) PostViewMessage(msg::Command, chosen, 0);
}

// ---- Dialogs ------------------------------------------------------------------------

int QtViewHost::ShowMessageBox(const std::string& text, const std::string& caption, unsigned type) {
    const QString title = caption.empty() ? ApplicationCaption() : DisplayText(caption);
    return m_presenters.messageBox->Show(m_main.Widget(), DisplayText(text), title, type);
}

std::optional<std::string> QtViewHost::AskFile(bool save, const FileDialogRequest& request) {
    FileDialogOptions options;
    options.save = save;
    options.nameFilters = NameFiltersFrom(request.filter);
    options.initialName = QFile::decodeName(QByteArray::fromStdString(request.initialName));
    options.flags = request.flags;
    const std::optional<QString> path = m_presenters.fileDialog->Ask(m_main.Widget(), options);
    if (!path) return std::nullopt;
    return QFile::encodeName(*path).toStdString();
}

std::optional<std::string> QtViewHost::OpenFileDialog(const FileDialogRequest& request) {
    return AskFile(false, request);
}

std::optional<std::string> QtViewHost::SaveFileDialog(const FileDialogRequest& request) {
    return AskFile(true, request);
}

// ---- Clipboard, caption, command line, allocation ------------------------------------

std::optional<std::pmr::string> QtViewHost::ReadClipboardText() {
    std::pmr::memory_resource* memory = &GetAllocator().TemporaryMemory();
    const QClipboard* clipboard = QGuiApplication::clipboard();
    // Qt answers requests for the clipboard it owns from the event loop, to
    // which a paste does not return: that text is Qt's to give directly.
    if (QGuiApplication::platformName() == QLatin1String("xcb") && !clipboard->ownsClipboard()) {
        return ReadXcbClipboard(nullptr, kClipboardPatience, memory);
    }
    const QMimeData* data = clipboard->mimeData();
    if (!data || !data->hasText()) return std::nullopt;
    std::pmr::string text = ToLatin1(data->text(), memory);
    if (const size_t nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    return text;
}

bool QtViewHost::WriteClipboardText(std::string_view text) {
    QGuiApplication::clipboard()->setText(FromLatin1(text));
    return true;
}

std::string QtViewHost::GetMainCaption() const { return m_main.Caption(); }

void QtViewHost::SetMainCaption(const std::string& caption) { m_main.SetCaption(caption); }

CommandLine QtViewHost::StartupCommandLine() const { return m_main.CommandLine(); }

Allocator& QtViewHost::GetAllocator() { return DefaultAllocator(); }

// ---- Assistive technologies ----------------------------------------------------------

void QtViewHost::DescriptionChanged(const ViewDescription& description) {
    if (m_widget) Describe(*m_widget, description);
}

}  // namespace qthost
