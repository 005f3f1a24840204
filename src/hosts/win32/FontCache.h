// The GDI fonts of the core's font names, created once each and kept for the
// life of the program's window.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "hosts/win32/GdiTextBatch.h"
#include "hosts/win32/Handles.h"
#include "platform/Font.h"

namespace win32host {

/// The height of a point-size font in pixels at logPixelsY dots per inch,
/// negative: a character height, as point fonts are made for the screen.
int PointFontHeight(int pointTenths, int logPixelsY);

class FontCache {
public:
    /// The font for face and size on the screen (default character set,
    /// every other attribute at its default), or null when it cannot be made.
    HFONT Get(const platform::Font& font);
    /// How font draws each byte, measured once in dc, which has it selected.
    const AnsiGlyphs& GlyphsOf(const platform::Font& font, HDC dc);

private:
    using Key = std::pair<std::string, int>;
    std::map<Key, UniqueFont> m_fonts;
    std::map<Key, std::unique_ptr<const AnsiGlyphs>> m_glyphs;
};

}  // namespace win32host
