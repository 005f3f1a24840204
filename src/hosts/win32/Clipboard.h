// The clipboard as CF_TEXT: the bytes go in and come out exactly as they
// are, with no code-page conversion by the program.
#pragma once

#include <windows.h>

#include <memory_resource>
#include <optional>
#include <string>
#include <string_view>

namespace win32host {

/// The clipboard's text up to its first NUL (or the end of its block), copied
/// into memory; none when the clipboard cannot be opened or holds no text.
/// Throws std::bad_alloc when the copy cannot be made, with the clipboard
/// closed again.
std::optional<std::pmr::string> ReadClipboardText(HWND owner, std::pmr::memory_resource* memory);

/// Replaces the clipboard's contents with text and a terminating NUL; false
/// when the clipboard cannot be opened or the block cannot be made.
bool WriteClipboardText(HWND owner, std::string_view text);

}  // namespace win32host
