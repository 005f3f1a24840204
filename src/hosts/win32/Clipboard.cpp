#include "hosts/win32/Clipboard.h"

#include <cstring>

#include "hosts/win32/Handles.h"

namespace win32host {

std::optional<std::pmr::string> ReadClipboardText(HWND owner, std::pmr::memory_resource* memory) {
    OpenClipboard clipboard(owner);
    if (!clipboard.IsOpen()) return std::nullopt;
    HANDLE data = ::GetClipboardData(CF_TEXT);
    if (!data) return std::nullopt;
    GlobalLock<const char> lock(data);
    if (!lock.Data()) return std::nullopt;
    const size_t size = ::GlobalSize(data);
    const void* nul = std::memchr(lock.Data(), '\0', size);
    const size_t length = nul ? size_t(static_cast<const char*>(nul) - lock.Data()) : size;
    return std::pmr::string(lock.Data(), length, memory);
}

bool WriteClipboardText(HWND owner, std::string_view text) {
    UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
    if (!block) return false;
    {
        GlobalLock<char> lock(block.get());
        if (!lock.Data()) return false;
        std::memcpy(lock.Data(), text.data(), text.size());
        lock.Data()[text.size()] = '\0';
    }
    OpenClipboard clipboard(owner);
    if (!clipboard.IsOpen() || !::EmptyClipboard()) return false;
    if (!::SetClipboardData(CF_TEXT, block.get())) return false;
    block.release();  // the clipboard owns it now
    return true;
}

}  // namespace win32host
