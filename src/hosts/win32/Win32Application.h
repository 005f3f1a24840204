// The application on Windows: common controls, and the modal run of the
// main window from its template in the program's resources.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "hosts/win32/MainDialogHost.h"
#include "platform/MainWindowHost.h"

namespace win32host {

class Win32Application final : public platform::Application {
public:
    Win32Application(HINSTANCE instance, platform::CommandLine commandLine);
    ~Win32Application() override;

    void InitCommonControls() override;
    int RunModal(platform::DialogClient& dialog) override;

private:
    HINSTANCE m_instance;
    platform::CommandLine m_commandLine;
    // Kept until the application ends: the dialog object and its view may
    // still reach their hosts after the window is gone.
    std::vector<std::unique_ptr<MainDialogHost>> m_windows;
};

/// The process's command line, in UTF-8, as one line (the Windows form).
platform::CommandLine ProcessCommandLine();

}  // namespace win32host
