// The screen shown while a file is loaded or saved, and the percentage it
// displays.
#include "view/Format.h"
#include "view/HexView.h"
#include "view/PanelScreen.h"

using namespace platform;

int32_t CHexView::FileProgressPercent(uint64_t done, uint64_t total) {
    if (total == 0) return 0;
    return int32_t(double(done) / double(total) * 100.0);
}

void CHexView::UpdateFileProgress(uint64_t done, uint64_t total) {
    const int32_t percent = FileProgressPercent(done, total);
    if (percent == m_nFileProgress || total <= PROGRESS_MIN_SIZE) return;
    m_nFileProgress = percent;
    Host().Invalidate();
}

void CHexView::DrawProgressPanel(Surface& dc) {
    PanelScreen panel(*this, dc, Rgb(0, 0, 0));
    const int cw = panel.CellWidth();
    const int ch = panel.LineHeight();
    const int top = panel.Top();
    const bool saving = m_bSaving || m_bWritingInPlace;
    panel.Text(0, top, m_clrPlainText,
               saving ? " Saving Memory to File..." : " Loading File to Memory...",
               dt::Left | dt::Top);
    panel.Text(0, top + ch, m_clrPlainText, " Press the [ESC] key to Cancel.", dt::Left | dt::Top);

    const Rect bar{cw, top + 2 * ch + 2, 32 * cw, top + 3 * ch + 2};
    dc.FillSolidRect(bar, m_clrPanelFill);
    dc.FrameRect(bar, m_clrPanelFrame);

    const Rect inside{bar.left + 1, bar.top + 1, bar.right - 1, bar.bottom - 1};
    const int filled = int(double(m_nFileProgress) * 0.01 * double(bar.Width() - 2));
    if (filled > 0) {
        dc.FillSolidRect(Rect{inside.left, inside.top, inside.left + filled, inside.bottom},
                         m_clrAccent);
    }

    dc.SetTextColor(m_clrPlainText);
    DrawString(dc, Format("%d%%", int(m_nFileProgress)), inside, dt::Center | dt::Top);
}
