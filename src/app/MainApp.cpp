#include "app/MainApp.h"

#include "app/MainDlg.h"

bool CMainApp::InitInstance(platform::Application& app) {
    app.InitCommonControls();
    {
        CMainDlg dlg;
        app.RunModal(dlg);
    }
    return false;
}
