// printf-style formatting of one line of the screen into a fixed buffer: a
// line too long for it (a long search text) is cut, never overrun.
#pragma once

#include <cstdio>
#include <string>

template <typename... Args>
std::string Format(const char* format, Args... args) {
    char line[150];
    std::snprintf(line, sizeof line, format, args...);
    return line;
}
