// The paint handler with its off-screen buffer and choice of screen, the
// repaint timer and the text routines shared by the dump, the status line
// and the panels.
#include <algorithm>

#include "view/HexView.h"

using namespace platform;

Rect CHexView::DumpRect() const {
    const Rect client = Host().GetClientRect();
    return {0, 0, std::max(0, client.Width() - SCROLLBAR_WIDTH), std::max(0, client.Height())};
}

void CHexView::OnPaint() {
    const std::unique_ptr<PaintContext> paint = Host().BeginPaint();
    const Rect area = DumpRect();
    // Everything is drawn off screen and shown with one copy, so nothing
    // flickers; the scroll bar's strip is never painted.
    const std::unique_ptr<Surface> buffer = paint->CreateBuffer({area.Width(), area.Height()});
    if (!buffer) return;
    DrawAndDescribe(*buffer);
    paint->Present(*buffer, {0, 0});
}

void CHexView::DrawScreen(Surface& dc) {
    switch (CurrentScreen()) {
        case Screen::Progress: DrawProgressPanel(dc); break;
        case Screen::BitEdit: DrawBitEditPanel(dc); break;
        case Screen::InputPanel: DrawInputPanel(dc); break;
        case Screen::Welcome:
        case Screen::Dump: DrawDump(dc); break;
    }
}

void CHexView::OnTimer(unsigned id) {
    if (id == SEARCH_TIMER_ID && Host().WindowExists()) Host().Invalidate();
    Host().DefaultProcessing(Message{msg::Timer, WParam(id), 0});
}

int CHexView::DrawString(Surface& dc, const std::string& text, const Rect& rect, unsigned format) {
    return dc.DrawTextInRect(text, rect, format);
}

Size CHexView::MeasureString(Surface& dc, const std::string& text) {
    return dc.GetTextExtent(text);
}
