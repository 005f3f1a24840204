// Where the program's windows open and what they are called.
#pragma once

#include <windows.h>

#include <string>

namespace win32host {

/// The top left corner that centres a window of window's size over `over`,
/// moved into workArea where it would stick out (the top left corner wins
/// when the window is larger than the area).
POINT CentredOrigin(const RECT& window, const RECT& over, const RECT& workArea);

/// Centres a top-level window over its owner, or over the work area of its
/// monitor when it has none.
void CentreWindow(HWND window);

/// The file name of a path without its folder and its extension.
std::wstring FileStem(const std::wstring& path);

/// The running program's file name without its extension ("bytewren").
std::wstring ProgramName();

}  // namespace win32host
