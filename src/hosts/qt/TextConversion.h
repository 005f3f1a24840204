// The core's strings are 8-bit: one byte is one Latin-1 character. These
// convert them to and from Qt's strings.
#pragma once

#include <QString>

#include <memory_resource>
#include <string>
#include <string_view>

namespace qthost {

QString FromLatin1(std::string_view text);
/// Every character above U+00FF becomes '?', as 8-bit text cannot hold it.
/// The text is made in memory, in one allocation.
std::pmr::string ToLatin1(const QString& text, std::pmr::memory_resource* memory);

/// Text for window captions and message boxes, which may carry file names in
/// the file system's encoding (UTF-8 on Linux): decoded as UTF-8 when it is
/// valid UTF-8, else as Latin-1.
QString DisplayText(const std::string& text);

/// The program's own name for message box captions: the executable's file
/// name without its extension.
QString ApplicationCaption();

}  // namespace qthost
