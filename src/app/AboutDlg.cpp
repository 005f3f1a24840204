#include "app/AboutDlg.h"

#include "app/Resources.h"
#include "platform/Constants.h"

namespace {

platform::Rect Dlu(int x, int y, int w, int h) { return platform::Rect{x, y, x + w, y + h}; }

}  // namespace

const platform::DialogTemplate& CAboutDlg::Template() {
    using platform::DialogControl;
    using Kind = DialogControl::Kind;
    namespace ws = platform::ws;
    static const platform::DialogTemplate about = {
        IDD_ABOUTBOX,
        "About...",
        {235, 55},
        "MS Shell Dlg",
        8,
        ws::DsModalFrame | ws::Popup | ws::Caption | ws::SysMenu,
        0,
        0,
        {
            {Kind::Icon, IDC_STATIC, Dlu(11, 17, 20, 20), "", IDR_MAINFRAME},
            {Kind::Text, IDC_STATIC, Dlu(40, 10, 119, 8), "Bytewren Version 1.0.0.5", 0, true},
            {Kind::Text, IDC_STATIC, Dlu(40, 23, 159, 8),
             "Copyright (C) 2026 the Bytewren developers"},
            {Kind::Button, IDOK_BUTTON, Dlu(178, 7, 50, 14), "&OK", 0, false, true},
            {Kind::Text, IDC_STATIC, Dlu(40, 36, 80, 8), "Free software"},
        },
    };
    return about;
}
