// Typing into the search and jump-to-offset panel. Hexadecimal input (the
// HEX search and the offset) accepts digits and spaces and is kept in upper
// case; the offset is at most eleven characters; text input takes any
// printable character without a limit.
#include <algorithm>
#include <cctype>

#include "commands/OutOfMemory.h"
#include "rules/HexText.h"
#include "view/HexView.h"

namespace {

constexpr size_t MAX_OFFSET_INPUT = 11;

bool IsHexInputChar(char c) { return c == ' ' || HexDigitValue(c) >= 0; }

void ToUpper(std::string& text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return char(std::toupper(static_cast<unsigned char>(c))); });
}

}  // namespace

void CHexView::PanelTypeChar(char ch) {
    if (m_nSearchMode == SEARCH_OFFSET || m_nSearchMode == SEARCH_HEX) {
        if (m_nSearchMode == SEARCH_OFFSET && m_strInput.size() >= MAX_OFFSET_INPUT) return;
        if (!IsHexInputChar(ch)) return;
        m_strInput += ch;
        ToUpper(m_strInput);
    } else {
        m_strInput += ch;
    }
    Host().Invalidate();
}

void CHexView::PanelBackspace() {
    if (!m_strInput.empty()) m_strInput.pop_back();
    Host().Invalidate();
}

void CHexView::PanelPaste() {
    // A text too large to be read or held leaves the input as it was.
    IfMemoryAllows([this] {
        const std::optional<std::pmr::string> text = ReadClipboardText();
        if (!text) return;
        std::string_view input = *text;
        if (m_nSearchMode == SEARCH_OFFSET || m_nSearchMode == SEARCH_HEX) {
            if (!IsHexPattern(input)) return;
            if (m_nSearchMode == SEARCH_OFFSET) input = input.substr(0, MAX_OFFSET_INPUT);
        }
        m_strInput.assign(input);  // unchanged if this throws
        Host().Invalidate();
    });
}
