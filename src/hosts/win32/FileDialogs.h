// The Open and Save As dialogs of the common dialog library.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "platform/Dialogs.h"

namespace win32host {

/// A filter in the "Name|pattern|...||" form as the dialogs take it: each
/// bar a NUL, ending with two NULs.
std::wstring DialogFilter(const std::string& filter);

/// Asks for a file to open (save false) or to save to, with the request's
/// ofn:: flags and filter, starting at its initial name; the chosen path in
/// UTF-8, or none when the user cancelled. Paths of any length are taken.
std::optional<std::string> AskForFile(HWND owner, bool save,
                                      const platform::FileDialogRequest& request);

}  // namespace win32host
