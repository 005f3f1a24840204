// bytewren.exe: the Windows program. The whole life of the program is one
// modal run of the main window, which the application object starts; the
// process then ends with status 0.
#include <windows.h>

#include "app/MainApp.h"
#include "hosts/win32/Guard.h"
#include "hosts/win32/Win32Application.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return win32host::Guarded(
        0,
        [&] {
            win32host::Win32Application app(instance, win32host::ProcessCommandLine());
            CMainApp theApp;
            theApp.InitInstance(app);
            return 0;
        },
        1);
}
