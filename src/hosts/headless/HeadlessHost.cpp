#include "hosts/headless/HeadlessHost.h"

#include <cctype>

#include "platform/Constants.h"
#include "platform/DropFiles.h"

using namespace platform;

namespace headless {

/// One paint: buffers are rasters; presenting copies the invalid part of the
/// buffer to the screen. Ending the paint validates the window.
class HeadlessPaintContext final : public PaintContext {
public:
    explicit HeadlessPaintContext(HeadlessHost& host) : m_host(host) { m_host.m_inPaint = true; }
    ~HeadlessPaintContext() override {
        m_host.m_invalid = {};
        m_host.m_inPaint = false;
    }

    std::unique_ptr<Surface> CreateBuffer(Size size) override {
        if (m_host.m_failBuffers > 0) {
            --m_host.m_failBuffers;
            return nullptr;
        }
        m_rasters.push_back(std::make_unique<Raster>(size.cx, size.cy));
        return std::make_unique<RasterSurface>(m_rasters.back().get());
    }

    void Present(Surface& buffer, Point origin) override {
        auto& surface = static_cast<RasterSurface&>(buffer);
        if (surface.Target()) m_host.FinishPaint(*surface.Target(), surface.Strings(), origin);
    }

private:
    HeadlessHost& m_host;
    std::vector<std::unique_ptr<Raster>> m_rasters;
};

HeadlessHost::HeadlessHost(int width, int height)
    : m_parentClient{0, 0, width, height}, m_viewRect{0, 0, width, height} {}

HeadlessHost::~HeadlessHost() = default;

// ---- The view's window -----------------------------------------------------

bool HeadlessHost::CreateViewWindow(WindowClient& client, const Rect& rect) {
    m_view = &client;
    m_viewRect = rect;
    m_screen = Raster(rect.Width(), rect.Height());
    m_invalid = GetClientRect();
    return true;
}

Rect HeadlessHost::GetClientRect() const { return {0, 0, m_viewRect.Width(), m_viewRect.Height()}; }

Rect HeadlessHost::GetParentClientRect() const { return m_parentClient; }

void HeadlessHost::MoveWindow(const Rect& rect, bool) {
    const bool resized = rect.Width() != m_viewRect.Width() || rect.Height() != m_viewRect.Height();
    m_viewRect = rect;
    if (resized) {
        Raster grown(rect.Width(), rect.Height());
        grown.CopyFrom(m_screen, {0, 0}, grown.Bounds());
        m_screen = std::move(grown);
    }
}

void HeadlessHost::Invalidate() { m_invalid = GetClientRect(); }

void HeadlessHost::InvalidateRect(const Rect& rect) {
    m_invalid = m_invalid.Union(rect.Intersect(GetClientRect()));
}

LResult HeadlessHost::DefaultProcessing(const Message& message) {
    switch (message.message) {
        case msg::Paint:
            if (!m_inPaint) m_invalid = {};
            return 0;
        case msg::SysCommand:
            if (message.wParam == syscmd::Close) m_dialogClosed = true;
            return 0;
        default: return 0;
    }
}

std::unique_ptr<platform::ScrollBar> HeadlessHost::CreateScrollBar(const Rect& rect, int) {
    auto bar = std::make_unique<HeadlessScrollBar>(rect);
    m_scrollBar = bar.get();
    return bar;
}

std::unique_ptr<PaintContext> HeadlessHost::BeginPaint() {
    return std::make_unique<HeadlessPaintContext>(*this);
}

std::unique_ptr<Surface> HeadlessHost::CreateMeasuringSurface() {
    return std::make_unique<RasterSurface>(nullptr);
}

void HeadlessHost::FinishPaint(const Raster& buffer, const std::vector<DrawnString>& strings,
                               Point origin) {
    m_screen.CopyFrom(buffer, origin, m_invalid);
    m_lastFrame = buffer;
    m_lastStrings = strings;
    ++m_paints;
}

void HeadlessHost::PaintNow() {
    if (m_view && !m_invalid.IsEmpty()) Dispatch({Target::View, {msg::Paint, 0, 0}, -1});
}

Point HeadlessHost::ClientToScreen(Point p) const {
    return {p.x + m_screenOrigin.x + m_viewRect.left, p.y + m_screenOrigin.y + m_viewRect.top};
}

// ---- Messages and timers ---------------------------------------------------

void HeadlessHost::SetTimer(unsigned id, unsigned milliseconds) {
    m_timers[id] = TimerState{milliseconds, m_now + milliseconds};
}

void HeadlessHost::KillTimer(unsigned id) { m_timers.erase(id); }

void HeadlessHost::PostViewMessage(unsigned message, WParam wParam, LParam lParam) {
    Post({Target::View, {message, wParam, lParam}, -1});
}

void HeadlessHost::PostQuit() { Post({Target::View, {msg::Quit, 0, 0}, -1}); }

void HeadlessHost::AdvanceClock(unsigned milliseconds) {
    m_now += milliseconds;
    for (auto& [id, timer] : m_timers) {
        if (timer.due > m_now) continue;
        timer.due = m_now + timer.period;
        bool pending = false;
        for (const Queued& q : m_queue) {
            pending |= q.message.message == msg::Timer && q.message.wParam == id;
        }
        if (!pending) Post({Target::View, {msg::Timer, id, 0}, -1});
    }
}

bool HeadlessHost::HasWaiting() const {
    return !m_queue.empty() || (m_view && !m_invalid.IsEmpty() && !m_inPaint);
}

bool HeadlessHost::DispatchOne() {
    if (!m_queue.empty()) {
        Queued item = std::move(m_queue.front());
        m_queue.pop_front();
        if (item.message.message == msg::Quit) {
            m_quitting = true;
            return false;
        }
        Dispatch(std::move(item));
        return true;
    }
    PaintNow();
    return true;
}

void HeadlessHost::Dispatch(Queued item) {
    Message& m = item.message;
    if (item.target == Target::Main) {
        if (m_dialog && !m_dialogClosed) {
            if (!m_dialog->PreTranslateMessage(m)) m_dialog->WindowProc(m);
        }
        return;
    }
    if (!m_view) return;
    if (m.message == msg::KeyDown) {
        m_shiftDown |= m.wParam == vk::Shift;
        m_controlDown |= m.wParam == vk::Control;
    } else if (m.message == msg::KeyUp) {
        if (m.wParam == vk::Shift) m_shiftDown = false;
        if (m.wParam == vk::Control) m_controlDown = false;
    }
    const WParam originalKey = m.wParam;
    if (m_view->PreTranslateMessage(m)) return;
    if (m.message == msg::KeyDown) {
        // The platform derives the character from the key as it stands after
        // pre-translation.
        const int ch = m.wParam == originalKey ? item.translateTo : CharForKey(unsigned(m.wParam));
        if (ch >= 0) m_queue.push_front({Target::View, {msg::Char, WParam(ch), 1}, -1});
    }
    m_view->WindowProc(m);
    // A window that leaves a paint unvalidated would be painted forever.
    if (m.message == msg::Paint) m_invalid = {};
}

bool HeadlessHost::PumpWaitingMessages() {
    ++m_pumpCount;
    if (m_onPump) m_onPump(m_pumpCount);
    if (m_clockStepPerPump) AdvanceClock(m_clockStepPerPump);
    while (HasWaiting()) {
        if (!DispatchOne()) {
            PostQuit();  // the outer loop must see it too
            return false;
        }
    }
    return true;
}

void HeadlessHost::RunUntilIdle() {
    while (HasWaiting()) {
        if (!DispatchOne()) break;
    }
}

// ---- Pointer, menus and dialogs ----------------------------------------------

void HeadlessHost::TrackPopupMenu(const std::vector<MenuItem>& items, Point screen) {
    m_lastPopup = items;
    m_lastPopupPoint = screen;
    ++m_popupsShown;
    unsigned choice = 0;
    if (!m_popupChoices.empty()) {
        choice = m_popupChoices.front();
        m_popupChoices.pop_front();
    }
    if (choice) PostViewMessage(msg::Command, choice, 0);
}

int HeadlessHost::ShowMessageBox(const std::string& text, const std::string& caption,
                                 unsigned type) {
    m_boxes.push_back({text, caption, type});
    if (!m_boxAnswers.empty()) {
        const int answer = m_boxAnswers.front();
        m_boxAnswers.pop_front();
        return answer;
    }
    return (type & mb::ButtonMask) == mb::YesNo ? mb::IdNo : mb::IdOk;
}

std::optional<std::string> HeadlessHost::OpenFileDialog(const FileDialogRequest& r) {
    m_dialogs.push_back({false, r});
    if (m_dialogAnswers.empty()) return std::nullopt;
    auto answer = m_dialogAnswers.front();
    m_dialogAnswers.pop_front();
    return answer;
}

std::optional<std::string> HeadlessHost::SaveFileDialog(const FileDialogRequest& r) {
    m_dialogs.push_back({true, r});
    if (m_dialogAnswers.empty()) return std::nullopt;
    auto answer = m_dialogAnswers.front();
    m_dialogAnswers.pop_front();
    return answer;
}

std::optional<std::pmr::string> HeadlessHost::ReadClipboardText() {
    if (!m_clipboardAvailable || !m_clipboard) return std::nullopt;
    const std::string_view text = *m_clipboard;
    return std::pmr::string(text.substr(0, text.find('\0')), &m_allocator.TemporaryMemory());
}

bool HeadlessHost::WriteClipboardText(std::string_view text) {
    if (!m_clipboardAvailable) return false;
    m_clipboard = std::string(text);
    return true;
}

// ---- The main window ---------------------------------------------------------

void HeadlessHost::SetIcon(int, bool big) { ++m_icons[big]; }

int HeadlessHost::RunModalDialog(const DialogTemplate& dialog) {
    m_modals.push_back(dialog);
    return mb::IdOk;
}

bool HeadlessHost::OpenDialog(DialogClient& dialog) {
    m_dialog = &dialog;
    m_dialogClosed = false;
    m_caption = dialog.Template().caption;
    return dialog.OnInitDialog(*this);
}

int HeadlessHost::RunModal(DialogClient& dialog) {
    if (!OpenDialog(dialog)) return -1;
    RunUntilIdle();
    const bool closed = m_dialogClosed;
    // The dialog object ends with the run; nothing may reach it afterwards.
    m_dialog = nullptr;
    m_view = nullptr;
    m_scrollBar = nullptr;
    return closed ? 1 : 0;
}

void HeadlessHost::ResizeMainWindow(int width, int height) {
    m_parentClient = {0, 0, width, height};
    if (m_dialog) {
        Post({Target::Main, {msg::Size, 0, MakeLParam(width, height)}, -1});
    }
    RunUntilIdle();
}

void HeadlessHost::RequestClose() { Post({Target::Main, {msg::SysCommand, syscmd::Close, 0}, -1}); }

void HeadlessHost::ChooseMenuCommand(unsigned id) {
    Post({Target::Main, {msg::Command, id, 0}, -1});
    RunUntilIdle();
}

// ---- The user's actions --------------------------------------------------------

int HeadlessHost::CharForKey(unsigned key) const {
    if (key >= 'A' && key <= 'Z') {
        if (m_controlDown) return int(ctl::ForLetter(key - 'A', m_shiftDown));
        return m_shiftDown ? int(key) : int(key - 'A' + 'a');
    }
    if (m_controlDown) return -1;
    if (key >= '0' && key <= '9') return m_shiftDown ? -1 : int(key);
    if (key >= vk::Numpad0 && key <= vk::Numpad0 + 9) return int('0' + key - vk::Numpad0);
    switch (key) {
        case vk::Space: return ' ';
        case vk::Back: return 8;
        case vk::Tab: return 9;
        case vk::Return: return 13;
        case vk::Escape: return 27;
        default: return -1;
    }
}

void HeadlessHost::PostKeyDown(unsigned key, int translateTo) {
    Post({Target::View, {msg::KeyDown, key, 1}, translateTo});
}

void HeadlessHost::KeyDown(unsigned key) {
    PostKeyDown(key, CharForKey(key));
    RunUntilIdle();
}

void HeadlessHost::KeyUp(unsigned key) {
    Post({Target::View, {msg::KeyUp, key, LParam(0xC0000001)}, -1});
    RunUntilIdle();
}

void HeadlessHost::PressCtrl(char letter) {
    KeyDown(vk::Control);
    PressKey(unsigned(std::toupper(static_cast<unsigned char>(letter))));
    KeyUp(vk::Control);
}

void HeadlessHost::TypeChar(char ch) {
    const unsigned char c = static_cast<unsigned char>(ch);
    unsigned key = 0;
    if (std::isalpha(c)) key = unsigned(std::toupper(c));
    else if (std::isdigit(c)) key = c;
    else if (c == ' ') key = vk::Space;
    PostKeyDown(key, c);
    RunUntilIdle();
    if (key) KeyUp(key);
}

void HeadlessHost::TypeText(const std::string& text) {
    for (char ch : text) TypeChar(ch);
}

void HeadlessHost::PostPointer(unsigned message, Point client, WParam flags) {
    m_cursorScreen = ClientToScreen(client);
    Post({Target::View, {message, flags, LParamFromPoint(client)}, -1});
    RunUntilIdle();
}

void HeadlessHost::MoveMouse(Point client) { PostPointer(msg::MouseMove, client, 0); }
void HeadlessHost::LButtonDown(Point client) { PostPointer(msg::LButtonDown, client, mk::LButton); }
void HeadlessHost::LButtonUp(Point client) { PostPointer(msg::LButtonUp, client, 0); }

void HeadlessHost::Drag(Point from, Point to) {
    LButtonDown(from);
    PostPointer(msg::MouseMove, to, mk::LButton);
    LButtonUp(to);
}

void HeadlessHost::RightClick(Point client) {
    PostPointer(msg::RButtonDown, client, mk::RButton);
    PostPointer(msg::RButtonUp, client, 0);
}

void HeadlessHost::Wheel(int delta) {
    Post({Target::View,
          {msg::MouseWheel, MakeWParam(0, unsigned(delta)),
           MakeLParam(m_cursorScreen.x, m_cursorScreen.y)},
          -1});
    RunUntilIdle();
}

void HeadlessHost::DragThumb(int pos) {
    if (!m_scrollBar) return;
    m_scrollBar->SetTrackPos(pos);
    const int track = m_scrollBar->GetTrackPos();
    PostViewMessage(msg::VScroll, MakeWParam(sb::ThumbTrack, unsigned(track)), 0);
    PostViewMessage(msg::VScroll, MakeWParam(sb::ThumbPosition, unsigned(track)), 0);
    PostViewMessage(msg::VScroll, MakeWParam(sb::EndScroll, 0), 0);
    RunUntilIdle();
}

void HeadlessHost::ScrollBarAction(unsigned code) {
    PostViewMessage(msg::VScroll, MakeWParam(code, 0), 0);
    RunUntilIdle();
}

void HeadlessHost::DropFiles(const std::vector<std::string>& paths) {
    DroppedFiles drop{paths};
    Dispatch({Target::View, {msg::DropFiles, WParam(&drop), 0}, -1});
    RunUntilIdle();
}

}  // namespace headless
