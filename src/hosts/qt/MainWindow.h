// The main window on Qt: a resizable top-level dialog with the dialog's menu
// bar and a client area below it, where the view lives. Menu commands, size
// changes and close requests go to the dialog's window procedure; the
// dialog's default processing ends the modal run.
#pragma once

#include <QDialog>

#include <memory>
#include <string>

#include "hosts/qt/GuardedClient.h"
#include "hosts/qt/Presenters.h"
#include "hosts/qt/QtViewHost.h"
#include "platform/MainWindowHost.h"

class QMenuBar;

namespace qthost {

class QtMainWindowHost;

class MainWindowWidget final : public QDialog {
    Q_OBJECT
public:
    explicit MainWindowWidget(QtMainWindowHost& host);

    QMenuBar* MenuBar() const { return m_menuBar; }
    QWidget* ClientArea() const { return m_client; }
    /// Places the menu bar at the top and the client area below it.
    void LayOut();
    int MenuBarHeight(int width) const;

    void reject() override;

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QtMainWindowHost& m_host;
    QMenuBar* m_menuBar;
    QWidget* m_client;
};

class QtMainWindowHost final : public platform::MainWindowHost {
public:
    QtMainWindowHost(platform::DialogClient& dialog, platform::CommandLine commandLine,
                     Presenters presenters);
    ~QtMainWindowHost() override;

    /// Builds the window with the dialog's caption, font, menu and size
    /// (the template's dialog units, converted with the dialog font, as the
    /// client area below the menu bar) and initialises the dialog.
    bool Open();
    /// Shows the window centred and runs its modal loop until the dialog
    /// ends; returns the dialog's result.
    int Exec();
    /// Destroys the window. The host stays usable: every service then acts
    /// as for a window that no longer exists.
    void Destroy();

    MainWindowWidget* Widget() const { return m_widget.get(); }
    QWidget* ClientArea() const;
    QtViewHost& View() { return m_view; }
    /// True once the dialog has ended or the application is shutting down.
    bool Quitting() const;
    const platform::CommandLine& CommandLine() const { return m_commandLine; }
    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& caption);
    platform::Font WindowFont() const;

    // ---- platform::MainWindowHost ----
    platform::Rect GetClientRect() const override;
    platform::ViewHost& ViewWindowHost() override { return m_view; }
    void SetIcon(int iconId, bool big) override;
    int RunModalDialog(const platform::DialogTemplate& dialog) override;
    platform::LResult DefaultProcessing(const platform::Message& message) override;

    // ---- From the window ----
    void OnClientResized();
    /// The close button, Alt+F4 or the window manager.
    void OnCloseRequest();
    void PostCommand(unsigned id);
    void Deliver(platform::Message& message);

private:
    void BuildMenu();
    void EndDialog(int result);

    platform::DialogClient& m_dialog;
    GuardedClient m_guardedDialog{m_dialog};  // for messages from Qt's events
    platform::CommandLine m_commandLine;
    QtViewHost m_view;
    std::unique_ptr<MainWindowWidget> m_widget;
    std::string m_caption;
    bool m_initialised = false;
    bool m_ended = false;
};

}  // namespace qthost
