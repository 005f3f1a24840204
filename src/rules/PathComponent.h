// The file name shown in the caption. A pure function, no window services.
#pragma once

#include <string>

/// The last component of path, trailing separators ignored; a path without
/// any separator is returned as it came.
std::string LastPathComponent(const std::string& path);
