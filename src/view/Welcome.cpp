// The screen shown while there is no image.
#include "view/HexView.h"

using namespace platform;

namespace {

const char kWelcomeText[] =
    " Welcome to the Bytewren,\n"
    " Bytewren is a small, fast byte editor.\n"
    " Copyright (C) 2026 the Bytewren developers.\n"
    " Free software: use it, study it, share it.\n"
    "\n"
    " Tips: When modifying data, the data entry mode automatically changes\n"
    " to HEX if your mouse is over the Hex Data area, and ASCII if your mouse\n"
    " is over the ASCII Data area.\n"
    " Backspace is supported while editing a selection.\n"
    " Arrow Keys will move your highlighted selection around.\n"
    " F5 and F6 keys will decrease and increase your column widths.\n"
    " The INSERT key will change between Overwrite, and Insert Editing modes.";

}  // namespace

void CHexView::DrawWelcome(Surface& dc, const Rect& rect) {
    // The caption loses the file name whenever the view is empty.
    Host().SetMainCaption(m_strBaseTitle);

    dc.SetTextColor(m_clrPlainText);
    DrawString(dc, kWelcomeText, rect, dt::Left | dt::Top);

    dc.SetTextColor(m_clrAccent);
    dc.SetBkMode(BkMode::Transparent);
    DrawString(dc, "No file loaded...", rect, dt::Center | dt::VCenter | dt::SingleLine);
}
