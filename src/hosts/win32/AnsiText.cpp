#include "hosts/win32/AnsiText.h"

namespace win32host {
namespace {

bool IsHighSurrogate(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(wchar_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

/// The bytes of text in the code page; usedDefault tells whether a
/// character was missing there (never for UTF-8, which has every one).
std::string Convert(std::wstring_view text, UINT codePage, bool& usedDefault) {
    usedDefault = false;
    if (text.empty()) return {};
    // UTF-8 takes no flags; the others map only exact equivalents.
    const UINT resolved = codePage == CP_ACP ? ::GetACP() : codePage;
    const bool utf8 = resolved == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL missing = FALSE;
    BOOL* missingOut = utf8 ? nullptr : &missing;
    const int n = ::WideCharToMultiByte(codePage, flags, text.data(), int(text.size()), nullptr, 0,
                                        nullptr, nullptr);
    if (n <= 0) {
        usedDefault = true;
        return std::string(text.size(), '?');
    }
    std::string bytes(size_t(n), '\0');
    ::WideCharToMultiByte(codePage, flags, text.data(), int(text.size()), bytes.data(), n, nullptr,
                          missingOut);
    usedDefault = missing != FALSE;
    return bytes;
}

}  // namespace

std::string ToCodePage(std::wstring_view text, UINT codePage) {
    bool missing = false;
    std::string bytes = Convert(text, codePage, missing);
    return missing ? std::string() : bytes;
}

wchar_t FromCodePageByte(unsigned char byte, UINT codePage) {
    const char in = char(byte);
    wchar_t out = 0;
    if (::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, &in, 1, &out, 1) != 1) return byte;
    return out;
}

std::string TypedCharacters::Feed(wchar_t unit) {
    std::string bytes;
    if (m_high) {
        const wchar_t high = m_high;
        m_high = 0;
        if (IsLowSurrogate(unit)) {
            const wchar_t pair[2] = {high, unit};
            return ToCodePage(std::wstring_view(pair, 2), m_codePage);
        }
        bytes = ToCodePage(std::wstring_view(&high, 1), m_codePage);
    }
    if (IsHighSurrogate(unit)) {
        m_high = unit;
        return bytes;
    }
    return bytes + ToCodePage(std::wstring_view(&unit, 1), m_codePage);
}

}  // namespace win32host
