#include "hosts/win32/Guard.h"

#include <windows.h>

#include <cstdio>

namespace win32host {

void ReportDroppedMessage(unsigned message, const char* what) {
    char line[512];
    std::snprintf(line, sizeof line, "bytewren: message %u dropped: %s\n", message, what);
    std::fputs(line, stderr);
    std::fflush(stderr);
    ::OutputDebugStringA(line);
}

}  // namespace win32host
