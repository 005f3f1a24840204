// What a search looks for: the bytes built from the panel's input by the
// search mode. A pure function, no window services.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rules/SearchMode.h"

struct SearchPattern {
    std::vector<uint8_t> bytes;  // empty: nothing can be found
    bool foldCase = false;       // compare the data with A-Z folded to a-z
    const char* label = "TEXT";  // how the panel's result line names the search
};

/// The pattern of a search in mode SEARCH_HEX to SEARCH_UNICODE_NOCASE:
/// - HEX: the input's hex pairs, spaces removed (an odd count gives none);
/// - TEXT: the input's characters;
/// - UNICODE: each character followed by a zero byte (UTF-16LE for ASCII);
/// - the NOCASE forms: the same with the input's A-Z lowered first.
SearchPattern BuildSearchPattern(int mode, const std::string& input);
