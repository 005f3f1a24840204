// Text crosses into Windows as UTF-16: the core's strings are UTF-8.
#pragma once

#include <string>

namespace files::win32 {

/// UTF-8 to UTF-16 and back; invalid sequences become U+FFFD.
std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& utf16);

}  // namespace files::win32
