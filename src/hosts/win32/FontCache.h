// The GDI fonts of the core's font names, created once each and kept for the
// life of the program's window.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>

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

private:
    std::map<std::pair<std::string, int>, UniqueFont> m_fonts;
};

}  // namespace win32host
