#include "app/MainApp.h"

#include "app/MainDlg.h"
#include "files/FileIO.h"

bool CMainApp::InitInstance(platform::Application& app) {
    app.InitCommonControls();
    files::InitFileWrites();
    {
        CMainDlg dlg;
        app.RunModal(dlg);
    }
    return false;
}
