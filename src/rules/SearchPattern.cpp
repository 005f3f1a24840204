#include "rules/SearchPattern.h"

#include <algorithm>

#include "rules/HexText.h"

SearchPattern BuildSearchPattern(int mode, const std::string& input) {
    SearchPattern pattern;
    std::string text = input;
    pattern.foldCase = mode == SEARCH_TEXT_NOCASE || mode == SEARCH_UNICODE_NOCASE;
    if (pattern.foldCase) {
        for (char& c : text) {
            if (c >= 'A' && c <= 'Z') c = char(c + 0x20);
        }
    }
    switch (mode) {
        case SEARCH_HEX:
            pattern.label = "HEX";
            text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
            if (auto bytes = ParseHexBytes(text))
                pattern.bytes.assign(bytes->begin(), bytes->end());
            break;
        case SEARCH_UNICODE:
        case SEARCH_UNICODE_NOCASE:
            pattern.label = "UNICODE TEXT";
            for (char c : text) {
                pattern.bytes.push_back(uint8_t(c));
                pattern.bytes.push_back(0);
            }
            break;
        default: pattern.bytes.assign(text.begin(), text.end()); break;
    }
    return pattern;
}
