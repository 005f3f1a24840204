// The window services of the hex view on Windows: its child window and
// scroll bar, painting through a memory device context, timers, posted
// messages, the popup menu, message boxes, file dialogs, the clipboard, the
// main window's caption, the command line and the view's accessible object.
// It only translates; every decision stays in the core.
#pragma once

#include <windows.h>
// After <windows.h>, which it needs:
#include <shellapi.h>

#include <cstdint>
#include <memory>

#include "hosts/win32/AnsiText.h"
#include "hosts/win32/FontCache.h"
#include "hosts/win32/ViewAccessible.h"
#include "platform/ViewHost.h"

namespace win32host {

class MainDialogHost;

class Win32ViewHost final : public platform::ViewHost {
public:
    explicit Win32ViewHost(MainDialogHost& main);
    ~Win32ViewHost() override;

    HWND Window() const { return m_window; }
    /// True for the view's window and its children (the scroll bar).
    bool Owns(HWND window) const;
    /// Offers a queued message for the view to its pre-translation; writes
    /// back what it changed. True when the message was consumed.
    bool PreTranslate(MSG& message);
    /// A message for the view's window, translated for the core.
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // ---- platform::ViewHost ----
    bool CreateViewWindow(platform::WindowClient& client, const platform::Rect& rect) override;
    bool WindowExists() const override;
    platform::Rect GetClientRect() const override;
    platform::Rect GetParentClientRect() const override;
    void MoveWindow(const platform::Rect& rect, bool repaint) override;
    void Invalidate() override;
    void InvalidateRect(const platform::Rect& rect) override;
    platform::LResult DefaultProcessing(const platform::Message& message) override;
    std::unique_ptr<platform::ScrollBar> CreateScrollBar(const platform::Rect& rect,
                                                         int id) override;
    std::unique_ptr<platform::PaintContext> BeginPaint() override;
    std::unique_ptr<platform::Surface> CreateMeasuringSurface() override;
    platform::Font GetMainWindowFont() const override;
    void SetTimer(unsigned id, unsigned milliseconds) override;
    void KillTimer(unsigned id) override;
    void PostViewMessage(unsigned message, platform::WParam wParam,
                         platform::LParam lParam) override;
    /// The core pumps after every small step of a long operation, and each
    /// look at the queue is a round trip to the window system: looks less
    /// than kMinPumpGapMs after the last one are skipped.
    bool PumpWaitingMessages() override;
    platform::Point GetCursorPos() const override;
    void SetArrowCursor() override;
    void TrackPopupMenu(const std::vector<platform::MenuItem>& items,
                        platform::Point screen) override;
    int ShowMessageBox(const std::string& text, const std::string& caption, unsigned type) override;
    std::optional<std::string> OpenFileDialog(const platform::FileDialogRequest& request) override;
    std::optional<std::string> SaveFileDialog(const platform::FileDialogRequest& request) override;
    std::optional<std::pmr::string> ReadClipboardText() override;
    bool WriteClipboardText(std::string_view text) override;
    std::string GetMainCaption() const override;
    void SetMainCaption(const std::string& caption) override;
    platform::CommandLine StartupCommandLine() const override;
    platform::Allocator& GetAllocator() override;
    void DescriptionChanged(const platform::ViewDescription& description) override;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnDropFiles(HDROP drop);

    MainDialogHost& m_main;
    platform::WindowClient* m_client = nullptr;
    HWND m_window = nullptr;
    FontCache m_fonts;
    TypedCharacters m_typed;
    /// COM for the accessible object, initialised with the window.
    bool m_com = false;
    static constexpr int64_t kMinPumpGapMs = 5;
    int64_t m_countsPerPumpGap;  // of the performance counter
    int64_t m_lastPump = -1;     // the counter after the last look, or none yet
    bool m_lastPumpGoesOn = true;
    struct ReleaseObject {
        void operator()(IUnknown* object) const { object->Release(); }
    };
    std::unique_ptr<ViewAccessible, ReleaseObject> m_accessible;
};

/// The view's window class: no class style, cursor, background brush or
/// icon of its own. Registered once; returns its name.
const wchar_t* ViewWindowClass(HINSTANCE instance, WNDPROC procedure);

/// The first file of a drop, whatever the length of its name, in UTF-8.
std::optional<std::string> FirstDroppedFile(HDROP drop);

}  // namespace win32host
