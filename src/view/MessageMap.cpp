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
         v.OnVScroll(LoWord(m.wParam), v.m_wndScrollBar.get());
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
    {msg::LButtonDown,
     [](CHexView& v, const Message& m) -> LResult {
         v.OnLButtonDown(unsigned(m.wParam), PointFromLParam(m.lParam));
         return 0;
     }},
    {msg::MouseMove,
     [](CHexView& v, const Message& m) -> LResult {
         v.OnMouseMove(unsigned(m.wParam), PointFromLParam(m.lParam));
         return 0;
     }},
    {msg::LButtonUp,
     [](CHexView& v, const Message& m) -> LResult {
         v.OnLButtonUp(unsigned(m.wParam), PointFromLParam(m.lParam));
         return 0;
     }},
    {msg::MouseWheel,
     [](CHexView& v, const Message& m) -> LResult {
         v.OnMouseWheel(LoWord(m.wParam), WheelDelta(m.wParam), PointFromLParam(m.lParam));
         return 0;
     }},
    {msg::SetCursor, [](CHexView& v, const Message& m) -> LResult { return v.OnSetCursor(m); }},
    {msg::KeyUp,
     [](CHexView& v, const Message& m) -> LResult {
         v.OnKeyUp(unsigned(m.wParam), LoWord(uintptr_t(m.lParam)), HiWord(uintptr_t(m.lParam)));
         return 0;
     }},

    // ---- Commands, clipboard, search and jump ----
    {msg::RButtonUp,
     [](CHexView& v, const Message& m) -> LResult {
         v.OnRButtonUp(unsigned(m.wParam), PointFromLParam(m.lParam));
         return 0;
     }},
    {WM_RUN_SEARCH,
     [](CHexView& v, const Message& m) -> LResult { return v.OnRunSearch(m.wParam, m.lParam); }},

};

}  // namespace

LResult CHexView::WindowProc(const Message& message) {
    if (EndsTypedRun(message)) EndTypedRun();
    for (const MessageEntry& entry : kMessageMap) {
        if (entry.message == message.message) return entry.handler(*this, message);
    }
    return Host().DefaultProcessing(message);
}
