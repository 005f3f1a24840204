#include "app/MainApp.h"

#include "app/MainDlg.h"
#include "platform/FileIO.h"

bool CMainApp::InitInstance(platform::Application& app) {
    app.InitCommonControls();
    platform::InitFileWrites();
    {
        CMainDlg dlg;
        app.RunModal(dlg);
    }
    return false;
}
