#include "view/PanelScreen.h"

using namespace platform;

PanelScreen::PanelScreen(const CHexView& view, Surface& dc, Color fill)
    : m_view(view),
      m_dc(dc),
      m_area(view.DumpRect()),
      m_font(dc, view.m_font),
      m_cell(CHexView::MeasureString(dc, "X")) {
    dc.FillSolidRect(m_area, fill);
    dc.SetBkMode(BkMode::Transparent);
}

void PanelScreen::Text(int x, int y, Color colour, const std::string& text, unsigned format) {
    m_dc.SetTextColor(colour);
    CHexView::DrawString(m_dc, text, {x, y, m_area.right, m_area.bottom}, format);
}

void PanelScreen::DrawBox() {
    const int left = BoxLeft();
    const int right = left + 75 * CellWidth();
    const int top = Top();
    m_dc.FillSolidRect({left, top, right, top + 10 * LineHeight() + 4}, m_view.m_clrPanelFill);
    m_dc.FrameRect({left, top, right, top + 10 * LineHeight() + 5}, m_view.m_clrPanelFrame);
}

void PanelScreen::BoxLine(int line, Color colour, const std::string& text, unsigned format) {
    Text(BoxLeft() + CellWidth(), LineTop(line), colour, text, dt::Left | format);
}

void PanelScreen::TextBox(int line, Color colour, const std::string& text, unsigned format) {
    const int left = BoxLeft();
    const int right = left + CHexView::MeasureString(m_dc, text).cx + 2 * CellWidth();
    const int top = LineTop(line);
    m_dc.FillSolidRect({left, top - 2, right, top + LineHeight()}, m_view.m_clrPanelFill);
    m_dc.FrameRect({left, top - 3, right, top + LineHeight() + 1}, m_view.m_clrPanelFrame);
    BoxLine(line, colour, text, format);
}
