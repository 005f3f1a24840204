// The drawing surface the core paints through: an off-screen buffer during a
// paint, or a measuring surface outside painting. Text is 8-bit (Latin-1):
// one byte is one character.
#pragma once

#include <memory>
#include <string>

#include "platform/Constants.h"
#include "platform/Font.h"
#include "platform/Shapes.h"

namespace platform {

class Surface {
public:
    virtual ~Surface() = default;

    /// Fills rect with colour and leaves the background colour set to it.
    virtual void FillSolidRect(const Rect& rect, Color colour) = 0;
    /// A one-pixel frame just inside rect.
    virtual void FrameRect(const Rect& rect, Color colour) = 0;
    /// A one-pixel frame just inside rect: top and left edges in topLeft,
    /// bottom and right edges in bottomRight. Leaves the background colour
    /// set to bottomRight.
    virtual void Draw3dRect(const Rect& rect, Color topLeft, Color bottomRight) = 0;

    /// Each returns the previous value.
    virtual Color SetTextColor(Color colour) = 0;
    virtual Color SetBkColor(Color colour) = 0;
    virtual BkMode SetBkMode(BkMode mode) = 0;
    virtual Font SelectFont(const Font& font) = 0;

    /// Draws text into rect with dt:: flags, clipped to rect. Without
    /// dt::SingleLine, CR, LF and CR LF start new lines; with it they draw
    /// nothing. Unless dt::NoPrefix is given, "&&" shows one ampersand and a
    /// single ampersand is dropped. Other control characters draw no glyph
    /// and take no room. In opaque mode exactly the text's extent is filled
    /// with the background colour. Returns the height of the text drawn.
    virtual int DrawTextInRect(const std::string& text, const Rect& rect, unsigned format) = 0;
    /// Width and height of a single line of text in the current font.
    virtual Size GetTextExtent(const std::string& text) = 0;
};

}  // namespace platform
