// The screen shown while a file is loaded or saved, and the percentage it
// displays.
#include <cstdio>

#include "view/HexView.h"

using namespace platform;

int32_t CHexView::FileProgressPercent(uint64_t done, uint64_t total) {
    if (total == 0) return 0;
    return int32_t(double(done) / double(total) * 100.0);
}

void CHexView::UpdateFileProgress(uint64_t done, uint64_t total) {
    const int32_t percent = FileProgressPercent(done, total);
    if (percent == m_nFileProgress || total <= PROGRESS_MIN_SIZE) return;
    m_nFileProgress = percent;
    if (m_pHost) Host().Invalidate();
}

void CHexView::DrawProgressPanel(Surface& dc) {
    if (!m_pHost) return;
    const Rect area = DumpRect();

    const Font previousFont = dc.SelectFont(m_font);
    const Size x = MeasureString(dc, "X");
    const int cw = x.cx;
    const int ch = x.cy;

    dc.FillSolidRect(area, Rgb(0, 0, 0));
    const int top = area.top + m_nCellWidth;
    dc.SetBkMode(BkMode::Transparent);
    dc.SetTextColor(m_clrPlainText);
    const bool saving = m_bSaving || m_bWritingInPlace;
    DrawString(dc, saving ? " Saving Memory to File..." : " Loading File to Memory...",
                Rect{area.left, top, area.right, area.bottom}, dt::Left | dt::Top);
    DrawString(dc, " Press the [ESC] key to Cancel.",
                Rect{area.left, top + ch, area.right, area.bottom}, dt::Left | dt::Top);

    const Rect bar{area.left + cw, top + 2 * ch + 2, area.left + 32 * cw, top + 3 * ch + 2};
    dc.FillSolidRect(bar, m_clrPanelFill);
    dc.FrameRect(bar, m_clrPanelFrame);

    const Rect inside{bar.left + 1, bar.top + 1, bar.right - 1, bar.bottom - 1};
    const int filled = int(double(m_nFileProgress) * 0.01 * double(bar.Width() - 2));
    if (filled > 0) {
        dc.FillSolidRect(Rect{inside.left, inside.top, inside.left + filled, inside.bottom},
                         m_clrAccent);
    }

    char percent[16];
    std::snprintf(percent, sizeof percent, "%d%%", int(m_nFileProgress));
    dc.SetTextColor(m_clrPlainText);
    DrawString(dc, percent, inside, dt::Center | dt::Top);
    dc.SelectFont(previousFont);
}
