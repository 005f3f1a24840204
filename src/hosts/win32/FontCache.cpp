#include "hosts/win32/FontCache.h"

#include <cstdlib>
#include <cwchar>

#include "files/win32/Utf16.h"

namespace win32host {

int PointFontHeight(int pointTenths, int logPixelsY) {
    return -std::abs(::MulDiv(logPixelsY, pointTenths, 720));
}

HFONT FontCache::Get(const platform::Font& font) {
    const auto key = std::make_pair(font.face, font.pointTenths);
    if (auto found = m_fonts.find(key); found != m_fonts.end()) return found->second.get();

    WindowDc screen(nullptr);
    LOGFONTW lf{};
    lf.lfHeight = PointFontHeight(font.pointTenths,
                                  screen.Get() ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96);
    lf.lfCharSet = DEFAULT_CHARSET;
    const std::wstring face = files::win32::Widen(font.face);
    std::wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    UniqueFont created(::CreateFontIndirectW(&lf));
    HFONT result = created.get();
    if (result) m_fonts.emplace(key, std::move(created));
    return result;
}

const AnsiGlyphs& FontCache::GlyphsOf(const platform::Font& font, HDC dc) {
    std::unique_ptr<const AnsiGlyphs>& glyphs = m_glyphs[{font.face, font.pointTenths}];
    if (!glyphs) glyphs = std::make_unique<const AnsiGlyphs>(AnsiGlyphs::Of(dc));
    return *glyphs;
}

}  // namespace win32host
