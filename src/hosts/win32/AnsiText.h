// Typed characters in the system's ANSI code page: the core reads 8-bit
// text, the windows receive UTF-16. Only the image's bytes and what is typed
// into it cross here; paths, captions and messages stay Unicode.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace win32host {

/// The bytes of the UTF-16 text in the code page: one per character in a
/// single-byte code page, one or two in a double-byte one. None at all when
/// the code page lacks a character: typing it must not store a '?' or a
/// look-alike in its place.
std::string ToCodePage(std::wstring_view text, UINT codePage);

/// The UTF-16 character of one byte in the code page; the byte itself when
/// it is not a whole character there (a lead byte).
wchar_t FromCodePageByte(unsigned char byte, UINT codePage);

/// The characters of a window's WM_CHAR messages, one UTF-16 unit each, as
/// bytes of the code page: a surrogate pair is one character, and a
/// character the code page lacks gives none.
class TypedCharacters {
public:
    explicit TypedCharacters(UINT codePage = CP_ACP) : m_codePage(codePage) {}
    /// The bytes of the character unit completes; none while the first half
    /// of a surrogate pair waits for the second.
    std::string Feed(wchar_t unit);
    UINT CodePage() const { return m_codePage; }

private:
    UINT m_codePage;
    wchar_t m_high = 0;
};

}  // namespace win32host
