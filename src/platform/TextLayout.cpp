#include "platform/TextLayout.h"

#include "platform/Constants.h"

namespace platform {

bool IsControlCharacter(unsigned char c) {
    return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0);
}

std::string VisibleText(const std::string& line, bool noPrefix) {
    std::string out;
    out.reserve(line.size());
    for (size_t i = 0; i < line.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(line[i]);
        if (!noPrefix && c == '&') {
            if (i + 1 >= line.size()) break;  // a trailing ampersand shows nothing
            c = static_cast<unsigned char>(line[++i]);
        }
        if (!IsControlCharacter(c)) out += char(c);
    }
    return out;
}

namespace {

/// Splits text into lines at CR LF, CR and LF.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

}  // namespace

std::vector<TextLine> LayoutText(const std::string& text, const Rect& rect, unsigned format,
                                 int lineHeight,
                                 const std::function<int(const std::string&)>& width) {
    const bool noPrefix = (format & dt::NoPrefix) != 0;
    const bool single = (format & dt::SingleLine) != 0;
    const std::vector<std::string> lines =
        single ? std::vector<std::string>{text} : SplitLines(text);

    int y = rect.top;
    if (single && (format & dt::VCenter)) y = rect.top + (rect.Height() - lineHeight) / 2;
    else if (single && (format & dt::Bottom)) y = rect.bottom - lineHeight;

    std::vector<TextLine> laidOut;
    laidOut.reserve(lines.size());
    for (const std::string& line : lines) {
        std::string shown = VisibleText(line, noPrefix);
        const int w = width(shown);
        int x = rect.left;
        if (format & dt::Center) x = rect.left + (rect.Width() - w) / 2;
        else if (format & dt::Right) x = rect.right - w;
        laidOut.push_back({std::move(shown), Rect{x, y, x + w, y + lineHeight}});
        y += lineHeight;
    }
    return laidOut;
}

}  // namespace platform
