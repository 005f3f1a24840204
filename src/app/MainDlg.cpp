#include "app/MainDlg.h"

#include "app/AboutDlg.h"
#include "app/MainMenu.h"
#include "app/Resources.h"
#include "platform/Constants.h"

using namespace platform;

CMainDlg::CMainDlg() : m_hIcon(IDR_MAINFRAME) {}

const DialogTemplate& CMainDlg::Template() const {
    static const DialogTemplate main = {
        IDD_MAIN_DIALOG,
        "Bytewren",
        {424, 270},
        "MS Shell Dlg",
        8,
        ws::Popup | ws::Visible | ws::Caption | ws::SysMenu | ws::ThickFrame | ws::MinimizeBox |
            ws::MaximizeBox,
        ws::ExAppWindow,
        IDR_MAIN_MENU,
        {},
    };
    return main;
}

const MenuBar& CMainDlg::Menu() const { return MainMenu(); }

bool CMainDlg::OnInitDialog(MainWindowHost& host) {
    m_pHost = &host;
    host.SetIcon(m_hIcon, true);
    host.SetIcon(m_hIcon, false);
    m_hexView.Create(host.ViewWindowHost());
    return true;
}

LResult CMainDlg::WindowProc(const Message& message) {
    switch (message.message) {
        case msg::SysCommand: OnSysCommand(message); return 0;
        case msg::Size: OnSize(message); return 0;
        case msg::Command:
            if (OnCommand(LoWord(message.wParam))) return 0;
            break;
        default: break;
    }
    return m_pHost ? m_pHost->DefaultProcessing(message) : 0;
}

bool CMainDlg::PreTranslateMessage(Message&) { return false; }

bool CMainDlg::OnCommand(unsigned id) {
    // A menu command is an action of its own: typing after it is a new step.
    m_hexView.EndTypedRun();
    switch (id) {
        // ---- File ----
        case IDM_FILE_OPEN: m_hexView.OnFileOpen(); return true;
        case IDM_FILE_NEW: m_hexView.OnFileNew(); return true;
        case IDM_FILE_RELOAD: m_hexView.OnFileReload(); return true;
        case IDM_FILE_SAVEAS: m_hexView.OnFileSaveAs(); return true;
        case IDM_FILE_SAVE: m_hexView.OnFileSave(); return true;

        case IDM_VIEW_INCREASECOLUMN: m_hexView.ChangeColumns(+1); return true;
        case IDM_VIEW_DECREASECOLUMN: m_hexView.ChangeColumns(-1); return true;
        case IDM_VIEW_FADE_NORMAL: m_hexView.SetFadeMode(1); return true;
        case IDM_VIEW_FADE_LESS: m_hexView.SetFadeMode(2); return true;
        case IDM_VIEW_FADE_NONE: m_hexView.SetFadeMode(0); return true;
        case IDM_HELP_ABOUT:
            if (m_pHost) m_pHost->RunModalDialog(CAboutDlg::Template());
            return true;
        default: return false;
    }
}

void CMainDlg::OnSysCommand(const Message& message) {
    if (message.wParam == syscmd::Close) m_hexView.LeaveAllModes();
    if (m_pHost) m_pHost->DefaultProcessing(message);
}

void CMainDlg::OnSize(const Message& message) {
    if (m_pHost) m_pHost->DefaultProcessing(message);
    m_hexView.FitToParent();
}
