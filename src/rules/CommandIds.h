// Numbers of the view's context-menu commands. They are private to the view
// and lie below the main menu's IDM_ range.
#pragma once

constexpr unsigned ID_COPY_HEX_STRING = 160;
constexpr unsigned ID_COPY_ASCII_TEXT = 161;
constexpr unsigned ID_DELETE_SELECTION = 162;
constexpr unsigned ID_INSERT_FROM_CLIPBOARD = 163;
constexpr unsigned ID_OVERWRITE_FROM_CLIPBOARD = 164;
constexpr unsigned ID_EDIT_BITS = 165;
constexpr unsigned ID_SEARCH_HEX = 166;
constexpr unsigned ID_SEARCH_TEXT = 167;
constexpr unsigned ID_SEARCH_TEXT_NOCASE = 168;
constexpr unsigned ID_SEARCH_UNICODE = 169;
constexpr unsigned ID_SEARCH_UNICODE_NOCASE = 170;
constexpr unsigned ID_SCROLL_SELECTION_INTO_VIEW = 171;
constexpr unsigned ID_JUMP_TO_OFFSET = 172;
constexpr unsigned ID_FIND_NEXT = 173;
constexpr unsigned ID_COPY_HEX_BLOCK = 174;
