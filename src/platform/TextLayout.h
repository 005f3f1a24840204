// How every surface lays out text for Surface::DrawTextInRect, so that the
// front ends agree on where each line lands and what it shows.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Shapes.h"

namespace platform {

/// Characters that draw no glyph and take no room: C0 controls, DEL and the
/// C1 controls of Latin-1.
bool IsControlCharacter(unsigned char c);

/// The characters of one line that take room: "&&" shows one ampersand and a
/// single ampersand is dropped unless noPrefix; control characters removed.
std::string VisibleText(const std::string& line, bool noPrefix);

struct TextLine {
    std::string shown;  // the visible characters
    Rect extent;        // where they land, before clipping to the rect
};

/// The lines of text placed in rect by dt:: flags. Without dt::SingleLine,
/// CR, LF and CR LF start new lines stacked from the top; with it the whole
/// text is one line, vertically placed by dt::VCenter or dt::Bottom.
/// width gives the advance of a line's visible characters.
std::vector<TextLine> LayoutText(const std::string& text, const Rect& rect, unsigned format,
                                 int lineHeight,
                                 const std::function<int(const std::string&)>& width);

}  // namespace platform
