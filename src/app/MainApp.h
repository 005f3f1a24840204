// CMainApp: the application object. Its whole life is one modal run of the
// main window; it has no message loop of its own.
#pragma once

#include "platform/MainWindowHost.h"

class CMainApp {
public:
    /// Runs the program; false tells the caller to end at once.
    bool InitInstance(platform::Application& app);
};
