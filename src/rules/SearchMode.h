// The kinds of the search / jump-to-offset panel (CHexView::m_nSearchMode).
#pragma once

enum : int {
    SEARCH_HEX = 0,
    SEARCH_TEXT = 1,
    SEARCH_UNICODE = 2,
    SEARCH_TEXT_NOCASE = 3,
    SEARCH_UNICODE_NOCASE = 4,
    SEARCH_OFFSET = 5,
};
