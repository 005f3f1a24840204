// The window services the hex view needs from its platform. One host serves
// one view window; every call happens on the user-interface thread.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Allocator.h"
#include "platform/CommandLine.h"
#include "platform/Dialogs.h"
#include "platform/Font.h"
#include "platform/Menu.h"
#include "platform/Message.h"
#include "platform/ScrollBar.h"
#include "platform/Shapes.h"
#include "platform/Surface.h"
#include "platform/WindowClient.h"

namespace platform {

/// What assistive technologies are told about the view: its name, and what
/// it shows now (the byte at the caret and the selection, or the lines of
/// the screen that covers the bytes).
struct ViewDescription {
    std::string name;
    std::string text;
    bool operator==(const ViewDescription&) const = default;
};

/// One paint of the view, from begin to end painting.
class PaintContext {
public:
    virtual ~PaintContext() = default;
    /// An off-screen buffer compatible with the window, or null when it
    /// cannot be made.
    virtual std::unique_ptr<Surface> CreateBuffer(Size size) = 0;
    /// Copies the whole buffer to the window at origin in one operation; only
    /// the invalidated part becomes visible.
    virtual void Present(Surface& buffer, Point origin) = 0;
};

class ViewHost {
public:
    virtual ~ViewHost() = default;

    // The window.
    /// Creates the view's window over rect of the main window's client area;
    /// from then on its messages go to client. It accepts dropped files.
    virtual bool CreateViewWindow(WindowClient& client, const Rect& rect) = 0;
    virtual bool WindowExists() const = 0;
    virtual Rect GetClientRect() const = 0;
    virtual Rect GetParentClientRect() const = 0;
    virtual void MoveWindow(const Rect& rect, bool repaint) = 0;
    /// Marks the whole client area for repainting, never erasing it.
    virtual void Invalidate() = 0;
    virtual void InvalidateRect(const Rect& rect) = 0;
    /// The platform's default processing of a message.
    virtual LResult DefaultProcessing(const Message& message) = 0;
    virtual std::unique_ptr<ScrollBar> CreateScrollBar(const Rect& rect, int id) = 0;

    // Painting and measuring.
    virtual std::unique_ptr<PaintContext> BeginPaint() = 0;
    /// A surface for text measurement outside painting.
    virtual std::unique_ptr<Surface> CreateMeasuringSurface() = 0;
    /// The font the main window reports for itself (the dialog font).
    virtual Font GetMainWindowFont() const = 0;

    // Messages and timers.
    virtual void SetTimer(unsigned id, unsigned milliseconds) = 0;
    virtual void KillTimer(unsigned id) = 0;
    virtual void PostViewMessage(unsigned message, WParam wParam, LParam lParam) = 0;
    /// Dispatches every waiting message of the thread (key messages through
    /// PreTranslateMessage first). False once the program is quitting.
    virtual bool PumpWaitingMessages() = 0;

    // Pointer and menus.
    virtual Point GetCursorPos() const = 0;  // screen coordinates
    virtual void SetArrowCursor() = 0;
    /// Shows a popup menu at a screen point; the chosen item reaches the view
    /// as a msg::Command message carrying its id.
    virtual void TrackPopupMenu(const std::vector<MenuItem>& items, Point screen) = 0;

    // Dialogs.
    /// An empty caption means the application's own (the program's name).
    virtual int ShowMessageBox(const std::string& text, const std::string& caption,
                               unsigned type) = 0;
    virtual std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) = 0;

    // Clipboard, as 8-bit text.
    /// A copy of the clipboard's text up to its first NUL, made in the
    /// allocator's temporary memory, or none when the clipboard holds no
    /// text, cannot be opened or does not answer. Throws std::bad_alloc when
    /// the copy cannot be made.
    virtual std::optional<std::pmr::string> ReadClipboardText() = 0;
    /// Replaces the clipboard's contents; false when it cannot be opened.
    /// May throw std::bad_alloc when the clipboard's copy cannot be made.
    virtual bool WriteClipboardText(std::string_view text) = 0;

    // The main window and the process.
    virtual std::string GetMainCaption() const = 0;
    virtual void SetMainCaption(const std::string& caption) = 0;
    /// The process's command line, in the form the platform gives it.
    virtual CommandLine StartupCommandLine() const = 0;
    virtual Allocator& GetAllocator() = 0;

    // Assistive technologies.
    /// The view's description changed; told by the paint that shows the
    /// change. A host without assistive technologies ignores it.
    virtual void DescriptionChanged(const ViewDescription& description) { (void)description; }
};

}  // namespace platform
