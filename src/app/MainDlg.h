// CMainDlg: the main window, a resizable dialog with a menu whose client
// area is covered by the one CHexView. It forwards its menu commands to the
// view and lets the view end any long operation before it closes.
#pragma once

#include "platform/Dialogs.h"
#include "platform/MainWindowHost.h"
#include "platform/Menu.h"
#include "view/HexView.h"

class CMainDlg : public platform::DialogClient {
public:
    CMainDlg();

    const platform::DialogTemplate& Template() const override;
    const platform::MenuBar& Menu() const override;
    bool OnInitDialog(platform::MainWindowHost& host) override;
    platform::LResult WindowProc(const platform::Message& message) override;
    bool PreTranslateMessage(platform::Message& message) override;

    /// A menu command; false for numbers the window does not handle.
    bool OnCommand(unsigned id);
    void OnSysCommand(const platform::Message& message);
    void OnSize(const platform::Message& message);

    int m_hIcon;  // the program icon's resource number
    CHexView m_hexView;

private:
    platform::MainWindowHost* m_pHost = nullptr;
};
