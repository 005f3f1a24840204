#include "hosts/win32/MainDialogHost.h"

#include "files/win32/Utf16.h"
#include "hosts/win32/Guard.h"
#include "hosts/win32/Placement.h"
#include "platform/Constants.h"

using namespace platform;
using files::win32::Narrow;
using files::win32::Widen;

namespace win32host {
namespace {

/// The About box and any other template run modally: centred on its owner,
/// ended by its OK and Cancel commands.
INT_PTR CALLBACK TemplateDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: CentreWindow(window); return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                ::EndDialog(window, LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        default: return FALSE;
    }
}

HICON LoadIcon(HINSTANCE instance, int id, bool big) {
    const int cx = ::GetSystemMetrics(big ? SM_CXICON : SM_CXSMICON);
    const int cy = ::GetSystemMetrics(big ? SM_CYICON : SM_CYSMICON);
    return static_cast<HICON>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, cx, cy, LR_SHARED));
}

}  // namespace

MainDialogHost::MainDialogHost(DialogClient& dialog, HINSTANCE instance,
                               platform::CommandLine commandLine)
    : m_dialog(dialog),
      m_instance(instance),
      m_commandLine(std::move(commandLine)),
      m_view(*this) {}

MainDialogHost::~MainDialogHost() { Destroy(); }

bool MainDialogHost::Open() {
    HWND window =
        ::CreateDialogParamW(m_instance, MAKEINTRESOURCEW(m_dialog.Template().id), nullptr,
                             &MainDialogHost::InitialDialogProc, reinterpret_cast<LPARAM>(this));
    return window != nullptr;
}

// Until WM_INITDIALOG the dialog class's procedure handles everything; then
// the window is subclassed and this procedure only answers "not handled".
INT_PTR CALLBACK MainDialogHost::InitialDialogProc(HWND window, UINT message, WPARAM,
                                                   LPARAM lParam) {
    if (message != WM_INITDIALOG) return FALSE;
    auto* self = reinterpret_cast<MainDialogHost*>(lParam);
    return Guarded(
        message, [&] { return INT_PTR(self->OnInitDialog(window)); }, INT_PTR(FALSE));
}

bool MainDialogHost::OnInitDialog(HWND window) {
    m_window = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_dialogProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MainDialogHost::WindowProc)));
    // The template gives no position: the window opens centred.
    CentreWindow(window);
    m_dialog.OnInitDialog(*this);
    // The view took the focus when it was made; the dialog manager must not
    // move it (the view is no tab stop).
    return false;
}

LRESULT CALLBACK MainDialogHost::WindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    auto* self = reinterpret_cast<MainDialogHost*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return ::DefDlgProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        const WNDPROC dialogProc = self->m_dialogProc;
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(dialogProc));
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->m_window = nullptr;
        return ::CallWindowProcW(dialogProc, window, message, wParam, lParam);
    }
    return Guarded(
        message, [&] { return self->OnMessage(message, wParam, lParam); }, LRESULT(0));
}

LRESULT MainDialogHost::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            if (::IsIconic(m_window)) {
                PaintIcon();
                return 0;
            }
            break;
        case WM_QUERYDRAGICON: return reinterpret_cast<LRESULT>(m_bigIcon);
        default: break;
    }
    return m_dialog.WindowProc({message, wParam, lParam});
}

void MainDialogHost::PaintIcon() {
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(m_window, &paint);
    if (dc) {
        ::SendMessageW(m_window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        RECT client{};
        ::GetClientRect(m_window, &client);
        const int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        if (m_bigIcon) ::DrawIcon(dc, x, y, m_bigIcon);
    }
    ::EndPaint(m_window, &paint);
}

LResult MainDialogHost::DefaultProcessing(const Message& message) {
    if (!m_window) return 0;
    if (message.message == msg::Command) {
        const unsigned id = LOWORD(message.wParam);
        if (id == IDOK || id == IDCANCEL) {
            EndDialog(int(id));
            return 0;
        }
    }
    return ::CallWindowProcW(m_dialogProc, m_window, message.message, message.wParam,
                             message.lParam);
}

void MainDialogHost::EndDialog(int result) {
    m_ended = true;
    m_result = result;
}

// ---- The modal run ---------------------------------------------------------------------

int MainDialogHost::Exec() {
    if (!m_window) return -1;
    MSG message{};
    while (!m_ended) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            ::PostQuitMessage(int(message.wParam));
            return -1;
        }
        ProcessMessage(message);
    }
    return m_result;
}

void MainDialogHost::ProcessMessage(MSG& message) {
    if (PreTranslate(message)) return;
    if (m_window && ::IsDialogMessageW(m_window, &message)) return;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

bool MainDialogHost::PreTranslate(MSG& message) {
    return Guarded(
        message.message,
        [&] {
            if (m_view.PreTranslate(message)) return true;
            if (!m_window || (message.hwnd != m_window && !::IsChild(m_window, message.hwnd))) {
                return false;
            }
            Message m{message.message, message.wParam, message.lParam};
            const bool consumed = m_dialog.PreTranslateMessage(m);
            message.wParam = m.wParam;
            message.lParam = m.lParam;
            return consumed;
        },
        true);
}

bool MainDialogHost::PumpWaitingMessages() {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The quit is for the loop that runs the program: hand it back.
            ::PostQuitMessage(int(message.wParam));
            return false;
        }
        ProcessMessage(message);
    }
    return !m_ended;
}

void MainDialogHost::Destroy() {
    m_ended = true;
    if (m_window) ::DestroyWindow(m_window);
}

// ---- Services ------------------------------------------------------------------------------

Font MainDialogHost::WindowFont() const {
    const DialogTemplate& t = m_dialog.Template();
    return Font{t.fontFace, t.fontPoints * 10};
}

std::string MainDialogHost::Caption() const {
    if (!m_window) return m_dialog.Template().caption;
    const int length = ::GetWindowTextLengthW(m_window);
    std::wstring text(size_t(length) + 1, L'\0');
    text.resize(size_t(::GetWindowTextW(m_window, text.data(), length + 1)));
    return Narrow(text);
}

void MainDialogHost::SetCaption(const std::string& caption) {
    if (m_window) ::SetWindowTextW(m_window, Widen(caption).c_str());
}

Rect MainDialogHost::GetClientRect() const {
    RECT r{};
    if (!m_window || !::GetClientRect(m_window, &r)) return {};
    return {r.left, r.top, r.right, r.bottom};
}

void MainDialogHost::SetIcon(int iconId, bool big) {
    if (!m_window) return;
    HICON icon = LoadIcon(m_instance, iconId, big);
    if (big) m_bigIcon = icon;
    ::SendMessageW(m_window, WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                   reinterpret_cast<LPARAM>(icon));
}

int MainDialogHost::RunModalDialog(const DialogTemplate& dialog) {
    return int(::DialogBoxParamW(m_instance, MAKEINTRESOURCEW(dialog.id), m_window,
                                 &TemplateDialogProc, 0));
}

}  // namespace win32host
