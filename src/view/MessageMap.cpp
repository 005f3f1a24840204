// The view's message table: message number -> member handler, with the
// parameters cracked the way the platform packs them.
#include <iterator>

#include "view/HexView.h"

using namespace platform;

namespace {

using Handler = LResult (*)(CHexView& view, const Message& m);

struct MessageEntry {
    unsigned message;
    Handler handler;
};

const MessageEntry kMessageMap[] = {
    {msg::VScroll,
     [](CHexView& v, const Message& m) -> LResult {
         v.OnVScroll(LoWord(m.wParam), HiWord(m.wParam), v.m_wndScrollBar.get());
         return 0;
     }},
    {msg::Command,
     [](CHexView& v, const Message& m) -> LResult {
         return v.OnCommand(m.wParam, m.lParam) ? 1 : 0;
     }},
    // ---- Painting ----
    {msg::Paint,
     [](CHexView& v, const Message&) -> LResult {
         v.OnPaint();
         return 0;
     }},
    {msg::Timer,
     [](CHexView& v, const Message& m) -> LResult {
         v.OnTimer(unsigned(m.wParam));
         return 0;
     }},

    // ---- Files ----
    {WM_OPEN_CMDLINE_FILE,
     [](CHexView& v, const Message&) -> LResult { return v.OnOpenCmdLineFile(); }},
    {msg::DropFiles, [](CHexView& v, const Message& m) -> LResult { return v.OnDropFiles(m); }},

    // ---- Selection, navigation and keys ----

    // ---- Commands, clipboard, search and jump ----

};

}  // namespace

LResult CHexView::WindowProc(const Message& message) {
    for (const MessageEntry& entry : kMessageMap) {
        if (entry.message == message.message) return entry.handler(*this, message);
    }
    return m_pHost ? m_pHost->DefWindowProc(message) : 0;
}

bool CHexView::PreTranslateMessage(Message&) { return false; }

bool CHexView::OnCommand(WParam, LParam) { return false; }
