// A deterministic host for tests, benchmarks and fuzzing: its own message
// queue and manual clock, fixed font metrics, a raster screen, scripted
// message boxes, file dialogs and popup menus, and an in-memory clipboard.
// It serves as the view's host, the main window's host and the application.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "hosts/headless/HeadlessScrollBar.h"
#include "hosts/headless/Raster.h"
#include "hosts/headless/RasterSurface.h"
#include "hosts/headless/ScriptedAllocator.h"
#include "platform/MainWindowHost.h"
#include "platform/ViewHost.h"

namespace headless {

struct ShownMessageBox {
    std::string text;
    std::string caption;  // as the core passed it; empty = the program's name
    unsigned type = 0;
};

struct ShownFileDialog {
    bool save = false;
    platform::FileDialogRequest request;
};

class HeadlessHost final : public platform::ViewHost,
                           public platform::MainWindowHost,
                           public platform::Application {
public:
    /// The view's client area starts as width x height pixels.
    HeadlessHost(int width = 800, int height = 600);
    ~HeadlessHost() override;

    // ---- platform::ViewHost ----
    bool CreateViewWindow(platform::WindowClient& client, const platform::Rect& rect) override;
    bool WindowExists() const override { return m_view != nullptr; }
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
    platform::Font GetMainWindowFont() const override { return {"MS Shell Dlg", 80}; }
    void SetTimer(unsigned id, unsigned milliseconds) override;
    void KillTimer(unsigned id) override;
    void PostViewMessage(unsigned message, platform::WParam wParam,
                         platform::LParam lParam) override;
    bool PumpWaitingMessages() override;
    platform::Point GetCursorPos() const override { return m_cursorScreen; }
    void SetArrowCursor() override { ++m_arrowCursorSets; }
    void TrackPopupMenu(const std::vector<platform::MenuItem>& items,
                        platform::Point screen) override;
    int ShowMessageBox(const std::string& text, const std::string& caption, unsigned type) override;
    std::optional<std::string> OpenFileDialog(const platform::FileDialogRequest& r) override;
    std::optional<std::string> SaveFileDialog(const platform::FileDialogRequest& r) override;
    std::optional<std::pmr::string> ReadClipboardText() override;
    bool WriteClipboardText(std::string_view text) override;
    std::string GetMainCaption() const override { return m_caption; }
    void SetMainCaption(const std::string& caption) override { m_caption = caption; }
    platform::CommandLine StartupCommandLine() const override { return m_commandLine; }
    platform::Allocator& GetAllocator() override { return m_allocator; }
    void DescriptionChanged(const platform::ViewDescription& description) override {
        m_descriptions.push_back(description);
    }

    // ---- platform::MainWindowHost ----
    platform::ViewHost& ViewWindowHost() override { return *this; }
    void SetIcon(int iconId, bool big) override;
    int RunModalDialog(const platform::DialogTemplate& dialog) override;

    // ---- platform::Application ----
    void InitCommonControls() override { m_commonControlsInitialised = true; }
    /// Initialises the dialog and runs until nothing is waiting (a headless
    /// run cannot wait for a user); returns 1 if it closed, else 0.
    int RunModal(platform::DialogClient& dialog) override;

    // ---- The main window ----
    /// Initialises a dialog as the main window and keeps it open.
    bool OpenDialog(platform::DialogClient& dialog);
    /// Resizes the main window's client area (the view follows through the
    /// dialog's size handling when a dialog is open) and runs until idle.
    void ResizeMainWindow(int width, int height);
    /// A close request from the window manager (system command Close).
    void RequestClose();
    bool DialogClosed() const { return m_dialogClosed; }
    /// Sends a menu command to the main window.
    void ChooseMenuCommand(unsigned id);

    // ---- Queue and clock ----
    /// Dispatches until no message, paint or due timer is waiting.
    void RunUntilIdle();
    /// Posts the quit message: the next pump reports that the program quits.
    void PostQuit();
    bool Quitting() const { return m_quitting; }
    /// Moves the clock on; due timers queue one message each.
    void AdvanceClock(unsigned milliseconds);
    /// Every PumpWaitingMessages call first moves the clock on by this much.
    void SetClockStepPerPump(unsigned milliseconds) { m_clockStepPerPump = milliseconds; }
    unsigned Now() const { return m_now; }
    bool TimerRunning(unsigned id) const { return m_timers.count(id) != 0; }
    /// Called at the start of every PumpWaitingMessages, with its 1-based count.
    void OnPump(std::function<void(int)> hook) { m_onPump = std::move(hook); }
    int PumpCount() const { return m_pumpCount; }
    size_t QueuedMessages() const { return m_queue.size(); }

    // ---- The user's actions (each runs until idle) ----
    /// Key down and, when the platform would derive one, its character.
    void KeyDown(unsigned vk);
    void KeyUp(unsigned vk);
    void PressKey(unsigned vk) {
        KeyDown(vk);
        KeyUp(vk);
    }
    /// Ctrl held while letter is pressed: gives the control code.
    void PressCtrl(char letter);
    /// Types one character (its key goes down, the character, the key up).
    void TypeChar(char ch);
    void TypeText(const std::string& text);
    void MoveMouse(platform::Point client);
    void LButtonDown(platform::Point client);
    void LButtonUp(platform::Point client);
    void Click(platform::Point client) {
        LButtonDown(client);
        LButtonUp(client);
    }
    void Drag(platform::Point from, platform::Point to);
    void RightClick(platform::Point client);
    /// One wheel message; a negative delta turns the wheel towards the user.
    void Wheel(int delta);
    /// Drags the scroll bar's thumb to pos (tracking, then the final position).
    void DragThumb(int pos);
    void ScrollBarAction(unsigned code);
    void DropFiles(const std::vector<std::string>& paths);

    // ---- Scripted answers and what was shown ----
    void QueueMessageBoxAnswer(int answer) { m_boxAnswers.push_back(answer); }
    const std::vector<ShownMessageBox>& MessageBoxes() const { return m_boxes; }
    void QueueFileDialogAnswer(std::optional<std::string> path) {
        m_dialogAnswers.push_back(std::move(path));
    }
    const std::vector<ShownFileDialog>& FileDialogs() const { return m_dialogs; }
    /// The id the next popup menu returns (0: dismissed).
    void QueuePopupChoice(unsigned id) { m_popupChoices.push_back(id); }
    const std::vector<platform::MenuItem>& LastPopupMenu() const { return m_lastPopup; }
    platform::Point LastPopupPoint() const { return m_lastPopupPoint; }
    int PopupMenusShown() const { return m_popupsShown; }
    const std::vector<platform::DialogTemplate>& ModalDialogsRun() const { return m_modals; }

    // ---- Clipboard, caption, command line, allocation ----
    std::optional<std::string>& Clipboard() { return m_clipboard; }
    /// While false, the clipboard cannot be opened.
    void SetClipboardAvailable(bool available) { m_clipboardAvailable = available; }
    void SetCommandLine(platform::CommandLine commandLine) {
        m_commandLine = std::move(commandLine);
    }
    ScriptedAllocator& Allocator() { return m_allocator; }

    // ---- Screen and painting ----
    /// What the window shows: every presented buffer, within its invalid part.
    const Raster& Screen() const { return m_screen; }
    /// The whole buffer of the last paint and the strings drawn into it.
    const Raster& LastFrame() const { return m_lastFrame; }
    const std::vector<DrawnString>& LastFrameStrings() const { return m_lastStrings; }
    int PaintCount() const { return m_paints; }
    /// Every description the view told, in order.
    const std::vector<platform::ViewDescription>& Descriptions() const { return m_descriptions; }
    /// Dispatches one paint now if anything is invalid.
    void PaintNow();
    /// The bounding rectangle of what is invalid now (empty when nothing).
    platform::Rect InvalidRect() const { return m_invalid; }
    /// Forgets what is invalid without painting.
    void ValidateAll() { m_invalid = {}; }
    /// The next n off-screen buffers cannot be made.
    void FailBufferCreation(int n) { m_failBuffers = n; }
    HeadlessScrollBar* ScrollBar() const { return m_scrollBar; }
    platform::Point ClientToScreen(platform::Point p) const;
    int ArrowCursorSets() const { return m_arrowCursorSets; }
    const std::map<bool, int>& Icons() const { return m_icons; }
    bool CommonControlsInitialised() const { return m_commonControlsInitialised; }

private:
    friend class HeadlessPaintContext;

    enum class Target { View, Main };
    struct Queued {
        Target target = Target::View;
        platform::Message message;
        int translateTo = -1;  // character a key-down translates into, -1 for none
    };

    /// True when a message, a paint or a due timer is waiting.
    bool HasWaiting() const;
    /// Dispatches the next waiting item; false when it was the quit message.
    bool DispatchOne();
    void Dispatch(Queued item);
    void Post(Queued item) { m_queue.push_back(std::move(item)); }
    void PostKeyDown(unsigned vk, int translateTo);
    void PostPointer(unsigned message, platform::Point client, platform::WParam flags);
    int CharForKey(unsigned vk) const;
    void FinishPaint(const Raster& buffer, const std::vector<DrawnString>& strings,
                     platform::Point origin);

    platform::WindowClient* m_view = nullptr;
    platform::DialogClient* m_dialog = nullptr;
    bool m_dialogClosed = false;
    platform::Rect m_parentClient;
    platform::Rect m_viewRect;
    HeadlessScrollBar* m_scrollBar = nullptr;
    platform::Point m_screenOrigin{100, 80};
    platform::Point m_cursorScreen{0, 0};

    std::deque<Queued> m_queue;
    bool m_quitting = false;
    bool m_inPaint = false;
    platform::Rect m_invalid;
    unsigned m_now = 0;
    unsigned m_clockStepPerPump = 0;
    struct TimerState {
        unsigned period;
        unsigned due;
    };
    std::map<unsigned, TimerState> m_timers;
    std::function<void(int)> m_onPump;
    int m_pumpCount = 0;
    bool m_shiftDown = false;
    bool m_controlDown = false;

    std::deque<int> m_boxAnswers;
    std::vector<ShownMessageBox> m_boxes;
    std::deque<std::optional<std::string>> m_dialogAnswers;
    std::vector<ShownFileDialog> m_dialogs;
    std::deque<unsigned> m_popupChoices;
    std::vector<platform::MenuItem> m_lastPopup;
    platform::Point m_lastPopupPoint;
    int m_popupsShown = 0;
    std::vector<platform::DialogTemplate> m_modals;

    std::optional<std::string> m_clipboard;
    bool m_clipboardAvailable = true;
    std::string m_caption = "Bytewren";
    platform::CommandLine m_commandLine;
    ScriptedAllocator m_allocator;

    Raster m_screen;
    Raster m_lastFrame;
    std::vector<DrawnString> m_lastStrings;
    std::vector<platform::ViewDescription> m_descriptions;
    int m_paints = 0;
    int m_failBuffers = 0;
    int m_arrowCursorSets = 0;
    std::map<bool, int> m_icons;
    bool m_commonControlsInitialised = false;
};

}  // namespace headless
