#include "hosts/win32/Win32Application.h"

#include <commctrl.h>

#include "files/win32/Utf16.h"

namespace win32host {

Win32Application::Win32Application(HINSTANCE instance, platform::CommandLine commandLine)
    : m_instance(instance), m_commandLine(std::move(commandLine)) {}

Win32Application::~Win32Application() = default;

void Win32Application::InitCommonControls() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&controls);
}

int Win32Application::RunModal(platform::DialogClient& dialog) {
    auto host = std::make_unique<MainDialogHost>(dialog, m_instance, m_commandLine);
    MainDialogHost& window = *host;
    m_windows.push_back(std::move(host));
    if (!window.Open()) return -1;
    const int result = window.Exec();
    window.Destroy();
    return result;
}

platform::CommandLine ProcessCommandLine() {
    return platform::CommandLine::FromLine(files::win32::Narrow(::GetCommandLineW()));
}

}  // namespace win32host
