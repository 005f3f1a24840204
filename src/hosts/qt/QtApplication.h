// The application on Qt: runs a dialog as a modal top-level window.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "hosts/qt/MainWindow.h"
#include "hosts/qt/Presenters.h"
#include "platform/MainWindowHost.h"

namespace qthost {

class QtApplication final : public platform::Application {
public:
    /// commandLine is the process's (by default no arguments).
    explicit QtApplication(platform::CommandLine commandLine = {},
                           Presenters presenters = RealPresenters());
    ~QtApplication() override;

    /// Qt's widgets need no initialisation beyond the QApplication.
    void InitCommonControls() override {}
    int RunModal(platform::DialogClient& dialog) override;

    /// Builds and initialises a dialog's window without running it.
    QtMainWindowHost* Open(platform::DialogClient& dialog);

private:
    platform::CommandLine m_commandLine;
    Presenters m_presenters;
    // Kept until the application ends: the dialog object and its view may
    // still reach their hosts after the window is gone.
    std::vector<std::unique_ptr<QtMainWindowHost>> m_windows;
};

}  // namespace qthost
