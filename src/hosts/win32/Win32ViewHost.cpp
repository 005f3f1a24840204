#include "hosts/win32/Win32ViewHost.h"

#include "files/win32/Utf16.h"
#include "hosts/win32/Clipboard.h"
#include "hosts/win32/FileDialogs.h"
#include "hosts/win32/GdiSurface.h"
#include "hosts/win32/Guard.h"
#include "hosts/win32/Handles.h"
#include "hosts/win32/MainDialogHost.h"
#include "hosts/win32/Placement.h"
#include "hosts/win32/Win32ScrollBar.h"
#include "platform/Constants.h"
#include "platform/DropFiles.h"

using namespace platform;
using files::win32::Narrow;
using files::win32::Widen;

namespace win32host {
namespace {

/// One paint of the view, from BeginPaint to EndPaint.
class Win32PaintContext final : public PaintContext {
public:
    Win32PaintContext(HWND window, FontCache& fonts)
        : m_window(window), m_fonts(fonts), m_dc(::BeginPaint(window, &m_paint)) {}
    ~Win32PaintContext() override { ::EndPaint(m_window, &m_paint); }

    std::unique_ptr<Surface> CreateBuffer(Size size) override {
        if (!m_dc) return nullptr;
        return BufferSurface::Create(m_dc, size, m_fonts);
    }

    void Present(Surface& buffer, Point origin) override {
        auto* surface = dynamic_cast<BufferSurface*>(&buffer);
        if (!m_dc || !surface) return;
        const Size size = surface->Size();
        ::BitBlt(m_dc, origin.x, origin.y, size.cx, size.cy, surface->Dc(), 0, 0, SRCCOPY);
    }

private:
    HWND m_window;
    FontCache& m_fonts;
    PAINTSTRUCT m_paint{};
    HDC m_dc;
};

/// A window's device context, held while a surface measures text on it.
struct WindowDcHolder {
    explicit WindowDcHolder(HWND window) : m_windowDc(window) {}
    WindowDc m_windowDc;
};

class MeasuringSurface final : private WindowDcHolder, public GdiSurface {
public:
    MeasuringSurface(HWND window, FontCache& fonts)
        : WindowDcHolder(window), GdiSurface(m_windowDc.Get(), fonts) {}
};

bool IsKeyboardOrMouseMessage(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST);
}

}  // namespace

const wchar_t* ViewWindowClass(HINSTANCE instance, WNDPROC procedure) {
    static const wchar_t kName[] = L"BytewrenHexView";
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExW(instance, kName, &existing)) return kName;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = 0;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.lpszClassName = kName;
    return ::RegisterClassExW(&wc) ? kName : nullptr;
}

std::optional<std::string> FirstDroppedFile(HDROP drop) {
    if (::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) == 0) return std::nullopt;
    const UINT length = ::DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring name(size_t(length) + 1, L'\0');
    const UINT copied = ::DragQueryFileW(drop, 0, name.data(), length + 1);
    name.resize(copied);
    return Narrow(name);
}

namespace {

int64_t PerformanceCounter() {
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

int64_t PerformanceCountsPer(int64_t milliseconds) {
    LARGE_INTEGER frequency{};
    ::QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart * milliseconds / 1000;
}

}  // namespace

Win32ViewHost::Win32ViewHost(MainDialogHost& main)
    : m_main(main), m_countsPerPumpGap(PerformanceCountsPer(kMinPumpGapMs)) {}

Win32ViewHost::~Win32ViewHost() {
    if (m_window && ::IsWindow(m_window)) {
        ::SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
    }
    m_accessible.reset();
    if (m_com) ::CoUninitialize();
}

// ---- The window ------------------------------------------------------------------

bool Win32ViewHost::CreateViewWindow(WindowClient& client, const Rect& rect) {
    HWND parent = m_main.Window();
    const wchar_t* windowClass = ViewWindowClass(m_main.Instance(), &Win32ViewHost::WindowProc);
    if (!parent || !windowClass) return false;
    m_client = &client;
    m_window = ::CreateWindowExW(WS_EX_ACCEPTFILES, windowClass, L"", WS_CHILD | WS_VISIBLE,
                                 rect.left, rect.top, rect.Width(), rect.Height(), parent, nullptr,
                                 m_main.Instance(), this);
    if (!m_window) {
        m_client = nullptr;
        return false;
    }
    // The accessible object is handed across apartments through COM.
    m_com = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    m_accessible.reset(ViewAccessible::Create(m_window));
    ::SetFocus(m_window);
    return true;
}

LRESULT CALLBACK Win32ViewHost::WindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<Win32ViewHost*>(create->lpCreateParams);
        self->m_window = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32ViewHost*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || !self->m_client) return ::DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->m_window = nullptr;
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    return Guarded(
        message, [&] { return self->OnMessage(message, wParam, lParam); }, LRESULT(0));
}

LRESULT Win32ViewHost::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE:
            // Every key is the view's: ESC and ENTER never reach the dialog.
            return DLGC_WANTALLKEYS;
        case WM_DROPFILES: return OnDropFiles(reinterpret_cast<HDROP>(wParam));
        case WM_GETOBJECT:
            if (DWORD(lParam) == DWORD(OBJID_CLIENT) && m_accessible) {
                return m_accessible->Answer(wParam);
            }
            return m_client->WindowProc({message, wParam, lParam});
        case WM_CHAR: {
            // Outside the queue (pre-translation already made the queued
            // ones 8-bit): each byte of the character, as the core reads text.
            const std::string bytes =
                ToCodePage(std::wstring(1, wchar_t(wParam)), m_typed.CodePage());
            LRESULT result = 0;
            for (const char byte : bytes) {
                result = m_client->WindowProc({msg::Char, WParam(uint8_t(byte)), lParam});
            }
            return result;
        }
        case WM_PAINT: {
            const LRESULT result = m_client->WindowProc({msg::Paint, wParam, lParam});
            // A paint that drew nothing must not come back at once.
            ::ValidateRect(m_window, nullptr);
            return result;
        }
        default: return m_client->WindowProc({message, wParam, lParam});
    }
}

LRESULT Win32ViewHost::OnDropFiles(HDROP drop) {
    DroppedFiles files;
    if (auto first = FirstDroppedFile(drop)) files.paths.push_back(std::move(*first));
    const LRESULT result = Guarded(
        msg::DropFiles,
        [&] {
            return m_client->WindowProc({msg::DropFiles, WParam(&files), 0});
        },
        LRESULT(0));
    ::DragFinish(drop);
    return result;
}

bool Win32ViewHost::Owns(HWND window) const {
    return m_window && window && (window == m_window || ::IsChild(m_window, window));
}

bool Win32ViewHost::PreTranslate(MSG& message) {
    if (!m_client || !Owns(message.hwnd)) return false;
    if (message.message == WM_CHAR) {
        // The system types Ctrl+Z's code with Shift too; that is redo.
        if (message.wParam == ctl::Undo && ::GetKeyState(VK_CONTROL) < 0) {
            message.wParam = ctl::ForLetter(ctl::Undo - 1, ::GetKeyState(VK_SHIFT) < 0);
        }
        const std::string bytes = m_typed.Feed(wchar_t(message.wParam));
        bool consumed = false;
        for (const char byte : bytes) {
            Message m{msg::Char, WParam(uint8_t(byte)), message.lParam};
            consumed = m_client->PreTranslateMessage(m) || consumed;
            message.wParam = FromCodePageByte(uint8_t(m.wParam), m_typed.CodePage());
        }
        return consumed;
    }
    if (!IsKeyboardOrMouseMessage(message.message)) return false;
    Message m{message.message, message.wParam, message.lParam};
    const bool consumed = m_client->PreTranslateMessage(m);
    message.wParam = m.wParam;
    message.lParam = m.lParam;
    return consumed;
}

bool Win32ViewHost::WindowExists() const { return m_window && ::IsWindow(m_window); }

Rect Win32ViewHost::GetClientRect() const {
    RECT r{};
    if (!m_window || !::GetClientRect(m_window, &r)) return {};
    return {r.left, r.top, r.right, r.bottom};
}

Rect Win32ViewHost::GetParentClientRect() const { return m_main.GetClientRect(); }

void Win32ViewHost::MoveWindow(const Rect& rect, bool repaint) {
    if (m_window) ::MoveWindow(m_window, rect.left, rect.top, rect.Width(), rect.Height(), repaint);
}

void Win32ViewHost::Invalidate() {
    if (m_window) ::InvalidateRect(m_window, nullptr, FALSE);
}

void Win32ViewHost::InvalidateRect(const Rect& rect) {
    if (!m_window || rect.IsEmpty()) return;
    const RECT r = ToRect(rect);
    ::InvalidateRect(m_window, &r, FALSE);
}

LResult Win32ViewHost::DefaultProcessing(const Message& message) {
    // A drop's wParam is the core's file list here; its handle is released
    // by OnDropFiles.
    if (!m_window || message.message == msg::DropFiles) return 0;
    return ::DefWindowProcW(m_window, message.message, message.wParam, message.lParam);
}

std::unique_ptr<platform::ScrollBar> Win32ViewHost::CreateScrollBar(const Rect& rect, int id) {
    if (!m_window) return nullptr;
    return Win32ScrollBar::Create(m_window, rect, id);
}

// ---- Painting and measuring -------------------------------------------------------

std::unique_ptr<PaintContext> Win32ViewHost::BeginPaint() {
    return std::make_unique<Win32PaintContext>(m_window, m_fonts);
}

std::unique_ptr<Surface> Win32ViewHost::CreateMeasuringSurface() {
    auto surface = std::make_unique<MeasuringSurface>(m_window, m_fonts);
    if (!surface->Dc()) return nullptr;
    return surface;
}

Font Win32ViewHost::GetMainWindowFont() const { return m_main.WindowFont(); }

// ---- Messages and timers ------------------------------------------------------------

void Win32ViewHost::SetTimer(unsigned id, unsigned milliseconds) {
    if (m_window) ::SetTimer(m_window, id, milliseconds, nullptr);
}

void Win32ViewHost::KillTimer(unsigned id) {
    if (m_window) ::KillTimer(m_window, id);
}

void Win32ViewHost::PostViewMessage(unsigned message, WParam wParam, LParam lParam) {
    if (m_window) ::PostMessageW(m_window, message, wParam, lParam);
}

bool Win32ViewHost::PumpWaitingMessages() {
    if (m_lastPump >= 0 && PerformanceCounter() - m_lastPump < m_countsPerPumpGap) {
        return m_lastPumpGoesOn && !m_main.Ended();
    }
    m_lastPumpGoesOn = m_main.PumpWaitingMessages();
    m_lastPump = PerformanceCounter();
    return m_lastPumpGoesOn;
}

// ---- Pointer and menus ----------------------------------------------------------------

Point Win32ViewHost::GetCursorPos() const {
    POINT p{};
    ::GetCursorPos(&p);
    return {p.x, p.y};
}

void Win32ViewHost::SetArrowCursor() { ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW)); }

void Win32ViewHost::TrackPopupMenu(const std::vector<MenuItem>& items, Point screen) {
    if (!m_window) return;
    UniqueMenu menu(::CreatePopupMenu());
    if (!menu) return;
    for (const MenuItem& item : items) {
        if (item.separator) {
            ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
        } else {
            ::AppendMenuW(menu.get(), MF_STRING, item.id, Widen(item.text).c_str());
        }
    }
    // The chosen item arrives as WM_COMMAND, posted to the view.
    ::TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, m_window,
                     nullptr);
}

// ---- Dialogs ------------------------------------------------------------------------------

int Win32ViewHost::ShowMessageBox(const std::string& text, const std::string& caption,
                                  unsigned type) {
    const std::wstring title = caption.empty() ? ProgramName() : Widen(caption);
    return ::MessageBoxW(m_main.Window(), Widen(text).c_str(), title.c_str(), type);
}

std::optional<std::string> Win32ViewHost::OpenFileDialog(const FileDialogRequest& request) {
    return AskForFile(m_main.Window(), false, request);
}

std::optional<std::string> Win32ViewHost::SaveFileDialog(const FileDialogRequest& request) {
    return AskForFile(m_main.Window(), true, request);
}

// ---- Clipboard, caption, command line, allocation -------------------------------------------

std::optional<std::pmr::string> Win32ViewHost::ReadClipboardText() {
    return win32host::ReadClipboardText(m_window, &GetAllocator().TemporaryMemory());
}

bool Win32ViewHost::WriteClipboardText(std::string_view text) {
    return win32host::WriteClipboardText(m_window, text);
}

std::string Win32ViewHost::GetMainCaption() const { return m_main.Caption(); }

void Win32ViewHost::SetMainCaption(const std::string& caption) { m_main.SetCaption(caption); }

CommandLine Win32ViewHost::StartupCommandLine() const { return m_main.CommandLine(); }

Allocator& Win32ViewHost::GetAllocator() { return DefaultAllocator(); }

void Win32ViewHost::DescriptionChanged(const ViewDescription& description) {
    if (m_accessible) m_accessible->Describe(description);
}

}  // namespace win32host
