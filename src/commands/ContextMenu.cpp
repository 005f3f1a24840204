// The popup menu of the right button, built afresh at every release.
#include <vector>

#include "rules/CommandIds.h"
#include "view/HexView.h"

using namespace platform;

std::vector<MenuItem> CHexView::ContextMenuItems() const {
    // The insert and overwrite items name the entry area in force now; the
    // commands read it again when they run.
    const char* area = m_bCharArea ? "ASCII" : "HEX";
    return {
        {"Copy Selection as HEX Block", ID_COPY_HEX_BLOCK},
        {"Copy Selection as HEX String", ID_COPY_HEX_STRING},
        {"Copy Selection as ASCII Text", ID_COPY_ASCII_TEXT},
        MenuItem::Separator(),
        {"Delete Selection", ID_DELETE_SELECTION},
        {std::string("Insert ") + area + " Data From Clipboard", ID_INSERT_FROM_CLIPBOARD},
        {std::string("Overwrite ") + area + " with Clipboard Data", ID_OVERWRITE_FROM_CLIPBOARD},
        {"Edit Bits of First Selected Byte", ID_EDIT_BITS},
        MenuItem::Separator(),
        {"Search for HEX starting at Selection", ID_SEARCH_HEX},
        {"Search for TEXT starting at Selection", ID_SEARCH_TEXT},
        {"Search for TEXT starting at Selection (ignore case)", ID_SEARCH_TEXT_NOCASE},
        {"Search for UNICODE TEXT starting at Selection", ID_SEARCH_UNICODE},
        {"Search for UNICODE TEXT starting at Selection (ignore case)", ID_SEARCH_UNICODE_NOCASE},
        {"Find Next\tF3", ID_FIND_NEXT},
        MenuItem::Separator(),
        {"Scroll Selection Into View", ID_SCROLL_SELECTION_INTO_VIEW},
        {"Jump to a Line", ID_JUMP_TO_OFFSET},
    };
}

void CHexView::OnRButtonUp(unsigned flags, Point point) {
    if (IsLoadingOrSaving() || m_pData == nullptr) return;
    Host().TrackPopupMenu(ContextMenuItems(), Host().GetCursorPos());
    Host().DefaultProcessing({msg::RButtonUp, flags, LParamFromPoint(point)});
}
