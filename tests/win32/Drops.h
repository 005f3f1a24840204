// Drop handles for tests, made as the shell makes them.
#pragma once

#include <windows.h>
// After <windows.h>, which they need:
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <string>

/// A drop of the given names: one after the other, each ending with a NUL,
/// and one more NUL at the end. Freed by whoever takes the drop.
inline HDROP MakeDrop(const std::wstring& names) {
    const size_t size = sizeof(DROPFILES) + (names.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* header = static_cast<DROPFILES*>(::GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), names.data(),
                names.size() * sizeof(wchar_t));
    ::GlobalUnlock(block);
    return static_cast<HDROP>(block);
}
