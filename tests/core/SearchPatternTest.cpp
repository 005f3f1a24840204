// The bytes each search mode looks for, built from the panel's input.
#include <gtest/gtest.h>

#include "rules/SearchPattern.h"

namespace {

struct Case {
    int mode;
    std::string input;
    std::vector<uint8_t> bytes;
    bool foldCase;
    std::string label;
};

std::vector<uint8_t> Text(const std::string& text) { return {text.begin(), text.end()}; }

}  // namespace

TEST(SearchPattern, EachModeBuildsItsBytes) {
    const Case cases[] = {
        {SEARCH_HEX, "4D5A", {0x4D, 0x5A}, false, "HEX"},
        {SEARCH_HEX, " 0A 1b  FF ", {0x0A, 0x1B, 0xFF}, false, "HEX"},
        {SEARCH_HEX, "4D5", {}, false, "HEX"},  // an odd digit count finds nothing
        {SEARCH_HEX, "", {}, false, "HEX"},
        {SEARCH_TEXT, "AbC z", Text("AbC z"), false, "TEXT"},
        {SEARCH_TEXT_NOCASE, "AbC@[Z", Text("abc@[z"), true, "TEXT"},  // only A-Z is lowered
        {SEARCH_TEXT_NOCASE, "\xC4", Text("\xC4"), true, "TEXT"},
        {SEARCH_UNICODE, "Ab", {'A', 0, 'b', 0}, false, "UNICODE TEXT"},
        {SEARCH_UNICODE_NOCASE, "Ab", {'a', 0, 'b', 0}, true, "UNICODE TEXT"},
        {SEARCH_UNICODE, "", {}, false, "UNICODE TEXT"},
    };
    for (const Case& c : cases) {
        const SearchPattern pattern = BuildSearchPattern(c.mode, c.input);
        EXPECT_EQ(pattern.bytes, c.bytes) << "mode " << c.mode << " input '" << c.input << "'";
        EXPECT_EQ(pattern.foldCase, c.foldCase)
            << "mode " << c.mode << " input '" << c.input << "'";
        EXPECT_EQ(std::string(pattern.label), c.label) << "mode " << c.mode;
    }
}
