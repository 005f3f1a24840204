// One search from byte 0 as ENTER in the search panel starts it, timed; the
// same steps for every host, so that the Windows program's search and the
// headless one are measured alike.
#pragma once

#include <cstdint>
#include <string>

#include "Table.h"
#include "view/HexView.h"

namespace bench {

/// Seconds of one search for text in mode; found is the offset, or
/// NO_OFFSET. settle runs once the panel is set up, before the clock starts,
/// to deal with what setting it up has queued (its paint), as the panel is
/// on the screen before the user presses ENTER.
template <typename Settle>
double TimedSearch(CHexView& view, int mode, const std::string& text, uint32_t& found,
                   Settle settle) {
    view.m_nSearchMode = mode;
    view.m_nSelStart = view.m_nSelEnd = view.m_nCaret = 0;
    view.ShowInputPanel();
    view.m_strInput = text;
    settle();
    const double seconds = Seconds([&] { view.OnRunSearch(0, 0); });
    found = view.m_strPanelMsg.rfind("Found", 0) == 0 ? view.m_nSelStart : NO_OFFSET;
    view.m_bInputPanel = false;
    return seconds;
}

}  // namespace bench
