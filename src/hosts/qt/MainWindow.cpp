#include "hosts/qt/MainWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenuBar>
#include <QShortcut>

#include "hosts/qt/DialogUnits.h"
#include "hosts/qt/Icons.h"
#include "hosts/qt/InputTranslation.h"
#include "hosts/qt/PostedMessage.h"
#include "hosts/qt/QtFonts.h"
#include "hosts/qt/TemplateDialog.h"
#include "hosts/qt/TextConversion.h"
#include "platform/Constants.h"

using namespace platform;

namespace qthost {
namespace {

constexpr unsigned kSizeRestored = 0;
constexpr unsigned kSizeMinimized = 1;
constexpr unsigned kSizeMaximized = 2;

/// The area below the menu bar; reports its size changes.
class ClientAreaWidget final : public QWidget {
public:
    ClientAreaWidget(QWidget* parent, QtMainWindowHost& host) : QWidget(parent), m_host(host) {}

protected:
    void resizeEvent(QResizeEvent*) override { m_host.OnClientResized(); }

private:
    QtMainWindowHost& m_host;
};

}  // namespace

// ---- The window ------------------------------------------------------------------

MainWindowWidget::MainWindowWidget(QtMainWindowHost& host)
    : QDialog(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      m_host(host),
      m_menuBar(new QMenuBar(this)),
      m_client(new ClientAreaWidget(this, host)) {
    setSizeGripEnabled(false);
    // Alt+F4 asks to close, as the platform's default key handling does
    // (a window manager usually takes it first, with the same effect).
    auto* close = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F4), this);
    connect(close, &QShortcut::activated, this, [this] { m_host.OnCloseRequest(); });
}

int MainWindowWidget::MenuBarHeight(int width) const {
    const int h = m_menuBar->heightForWidth(width);
    return h > 0 ? h : m_menuBar->sizeHint().height();
}

void MainWindowWidget::LayOut() {
    const int h = MenuBarHeight(width());
    m_menuBar->setGeometry(0, 0, width(), h);
    m_client->setGeometry(0, h, width(), std::max(0, height() - h));
}

bool MainWindowWidget::event(QEvent* event) {
    if (event->type() == PostedMessageEvent::EventType()) {
        Message m = static_cast<PostedMessageEvent*>(event)->Message();
        m_host.Deliver(m);
        return true;
    }
    return QDialog::event(event);
}

void MainWindowWidget::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    LayOut();
}

void MainWindowWidget::closeEvent(QCloseEvent* event) {
    event->ignore();  // the dialog decides; its default processing ends the run
    m_host.OnCloseRequest();
}

void MainWindowWidget::reject() { m_host.OnCloseRequest(); }

// Keys that reach the window itself get no dialog handling of their own:
// ESC and ENTER belong to the view.
void MainWindowWidget::keyPressEvent(QKeyEvent* event) { QWidget::keyPressEvent(event); }

// ---- The host ----------------------------------------------------------------------

QtMainWindowHost::QtMainWindowHost(DialogClient& dialog, platform::CommandLine commandLine,
                                   Presenters presenters)
    : m_dialog(dialog), m_commandLine(std::move(commandLine)), m_view(*this, presenters) {}

QtMainWindowHost::~QtMainWindowHost() { Destroy(); }

bool QtMainWindowHost::Open() {
    const DialogTemplate& t = m_dialog.Template();
    m_widget = std::make_unique<MainWindowWidget>(*this);
    m_caption = t.caption;
    m_widget->setWindowTitle(DisplayText(m_caption));
    m_widget->setFont(DialogFont());
    BuildMenu();

    const QSize client = ToPixels(t.sizeDlu, BaseUnitsOf(m_widget->font()));
    m_widget->resize(client.width(), client.height() + m_widget->MenuBarHeight(client.width()));
    m_widget->LayOut();

    m_dialog.OnInitDialog(*this);
    m_initialised = true;
    return true;
}

int QtMainWindowHost::Exec() {
    if (!m_widget) return -1;
    const int result = m_widget->exec();  // centred on the screen by Qt
    m_ended = true;
    return result;
}

void QtMainWindowHost::Destroy() {
    m_ended = true;
    m_widget.reset();
}

void QtMainWindowHost::BuildMenu() {
    for (const MenuPopup& popup : m_dialog.Menu()) {
        QMenu* menu = m_widget->MenuBar()->addMenu(FromLatin1(popup.text));
        for (const MenuItem& item : popup.items) {
            if (item.separator) {
                menu->addSeparator();
                continue;
            }
            // The text after a tab shows as the item's key; no shortcut is bound.
            QAction* action = menu->addAction(FromLatin1(item.text));
            action->setData(item.id);
            const unsigned id = item.id;
            QObject::connect(action, &QAction::triggered, m_widget.get(),
                             [this, id] { PostCommand(id); });
        }
    }
}

QWidget* QtMainWindowHost::ClientArea() const {
    return m_widget ? m_widget->ClientArea() : nullptr;
}

bool QtMainWindowHost::Quitting() const { return m_ended || QCoreApplication::closingDown(); }

void QtMainWindowHost::SetCaption(const std::string& caption) {
    m_caption = caption;
    if (m_widget) m_widget->setWindowTitle(DisplayText(caption));
}

Font QtMainWindowHost::WindowFont() const {
    const DialogTemplate& t = m_dialog.Template();
    return Font{t.fontFace, t.fontPoints * 10};
}

Rect QtMainWindowHost::GetClientRect() const {
    const QWidget* client = ClientArea();
    if (!client) return {};
    return {0, 0, client->width(), client->height()};
}

void QtMainWindowHost::SetIcon(int iconId, bool) {
    // Qt keeps one icon per window and picks the size it needs from it.
    if (m_widget) m_widget->setWindowIcon(IconForId(iconId));
}

int QtMainWindowHost::RunModalDialog(const DialogTemplate& dialog) {
    TemplateDialog box(dialog, m_widget.get());
    return box.exec();
}

LResult QtMainWindowHost::DefaultProcessing(const Message& message) {
    switch (message.message) {
        case msg::SysCommand:
            // Closing a dialog is its cancel command.
            if ((message.wParam & 0xFFF0) == syscmd::Close) {
                Message cancel{msg::Command, WParam(mb::IdCancel), 0};
                m_dialog.WindowProc(cancel);
            }
            return 0;
        case msg::Close: {
            Message cancel{msg::Command, WParam(mb::IdCancel), 0};
            m_dialog.WindowProc(cancel);
            return 0;
        }
        case msg::Command: {
            const unsigned id = LoWord(message.wParam);
            if (id == unsigned(mb::IdOk) || id == unsigned(mb::IdCancel)) EndDialog(int(id));
            return 0;
        }
        default: return 0;
    }
}

void QtMainWindowHost::EndDialog(int result) {
    m_ended = true;
    if (m_widget) m_widget->done(result);
}

void QtMainWindowHost::OnClientResized() {
    if (!m_initialised || m_ended || !m_widget) return;
    const QWidget* client = ClientArea();
    unsigned kind = kSizeRestored;
    if (m_widget->isMinimized()) kind = kSizeMinimized;
    else if (m_widget->isMaximized()) kind = kSizeMaximized;
    m_guardedDialog.WindowProc(
        Message{msg::Size, kind, MakeLParam(client->width(), client->height())});
}

void QtMainWindowHost::OnCloseRequest() {
    if (m_ended) return;
    m_guardedDialog.WindowProc(Message{msg::SysCommand, syscmd::Close, 0});
}

void QtMainWindowHost::PostCommand(unsigned id) {
    if (m_widget) {
        QCoreApplication::postEvent(m_widget.get(), new PostedMessageEvent({msg::Command, id, 0}));
    }
}

void QtMainWindowHost::Deliver(Message& message) { qthost::Deliver(m_guardedDialog, message); }

}  // namespace qthost
