// The window services of the hex view on Qt: its child widget, painting
// through an off-screen image, timers, posted messages, pumping, the popup
// menu, message boxes, file dialogs, the clipboard and the main window's
// caption. It only translates; every decision stays in the core.
#pragma once

#include <QBasicTimer>
#include <QElapsedTimer>
#include <QPointer>

#include <map>

#include "hosts/qt/GuardedClient.h"
#include "hosts/qt/Presenters.h"
#include "platform/ViewHost.h"

namespace qthost {

class QtMainWindowHost;
class ScrollBarWidget;
class ViewWidget;

class QtViewHost final : public platform::ViewHost {
public:
    QtViewHost(QtMainWindowHost& main, Presenters presenters);
    ~QtViewHost() override;

    ViewWidget* Widget() const;
    ScrollBarWidget* ScrollBar() const;

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
    /// Runs Qt's waiting events, user input included. Polls less often than
    /// every kMinPollNs are skipped, as callers pump after every small step.
    bool PumpWaitingMessages() override;
    platform::Point GetCursorPos() const override;
    void SetArrowCursor() override;
    void TrackPopupMenu(const std::vector<platform::MenuItem>& items,
                        platform::Point screen) override;
    int ShowMessageBox(const std::string& text, const std::string& caption, unsigned type) override;
    std::optional<std::string> OpenFileDialog(const platform::FileDialogRequest& request) override;
    std::optional<std::string> SaveFileDialog(const platform::FileDialogRequest& request) override;
    /// Another program's clipboard is read with a bounded wait for its
    /// owner (on X); the program's own, and any clipboard elsewhere, from Qt.
    std::optional<std::pmr::string> ReadClipboardText() override;
    bool WriteClipboardText(std::string_view text) override;
    std::string GetMainCaption() const override;
    void SetMainCaption(const std::string& caption) override;
    platform::CommandLine StartupCommandLine() const override;
    platform::Allocator& GetAllocator() override;
    /// Kept by the widget for its accessible interface, and announced.
    void DescriptionChanged(const platform::ViewDescription& description) override;

    // ---- From the view's widget ----
    /// The window the messages go to, guarded; null before the window is
    /// created.
    platform::WindowClient* Client() const { return m_client.get(); }
    /// A message taken from the queue: PreTranslateMessage, then WindowProc.
    void Deliver(platform::Message& message);
    /// A message sent straight to the window procedure.
    void Send(const platform::Message& message);
    void OnPaintEvent();
    void OnTimerEvent(int qtTimerId);

    static constexpr qint64 kMinPollNs = 2'000'000;

private:
    friend class QtPaintContext;
    std::optional<std::string> AskFile(bool save, const platform::FileDialogRequest& request);

    QtMainWindowHost& m_main;
    Presenters m_presenters;
    std::unique_ptr<GuardedClient> m_client;
    QPointer<ViewWidget> m_widget;
    QPointer<ScrollBarWidget> m_scrollBar;
    std::map<unsigned, QBasicTimer> m_timers;
    QElapsedTimer m_sincePoll;
    bool m_inPaintEvent = false;
    bool m_paintBegun = false;
};

}  // namespace qthost
