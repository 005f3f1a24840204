// Reading another program's clipboard text straight from the X server, on a
// connection of our own, with a limit on how long the clipboard's owner may
// keep the program waiting. Qt's own reading waits up to several seconds for
// an owner that does not answer; this one waits about a second and runs none
// of the program's events meanwhile.
#pragma once

#include <chrono>
#include <memory_resource>
#include <optional>
#include <string>

namespace qthost {

/// How long the clipboard's owner may take over each answer.
inline constexpr std::chrono::milliseconds kClipboardPatience{1000};

/// The text of the CLIPBOARD selection of an X display (null: $DISPLAY) up to
/// its first NUL, as 8-bit text made in memory. The owner is asked for
/// Latin-1 (STRING) first, so bytes 0x01 to 0xFF arrive exactly, then for
/// UTF8_STRING, which is read as Latin-1. Large texts arrive in pieces
/// (INCR); the owner has `patience` for every answer. None when the display
/// cannot be reached, nobody owns the clipboard, the owner has no text or
/// does not answer in time. Throws std::bad_alloc when the text cannot be
/// held; the connection is closed on every way out.
std::optional<std::pmr::string> ReadXcbClipboard(const char* display,
                                                 std::chrono::milliseconds patience,
                                                 std::pmr::memory_resource* memory);

/// Decodes UTF-8 text to Latin-1 in place: characters above U+00FF and
/// malformed sequences become one '?' each.
void Utf8ToLatin1(std::pmr::string& text);

}  // namespace qthost
