#include "hosts/win32/FileDialogs.h"

#include <cderr.h>
#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "files/win32/Utf16.h"

namespace win32host {
namespace {

/// Room for the longest path the system takes.
constexpr size_t kPathRoom = 32768;

bool RunDialog(HWND owner, bool save, const std::wstring& filter, const std::wstring& initial,
               DWORD flags, std::vector<wchar_t>& file) {
    file.assign(std::max(kPathRoom, initial.size() + 1), L'\0');
    std::copy(initial.begin(), initial.end(), file.begin());
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = DWORD(file.size());
    ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLESIZING;
    return save ? ::GetSaveFileNameW(&ofn) != FALSE : ::GetOpenFileNameW(&ofn) != FALSE;
}

}  // namespace

std::wstring DialogFilter(const std::string& filter) {
    std::wstring result = files::win32::Widen(filter);
    std::replace(result.begin(), result.end(), L'|', L'\0');
    // Two NULs end the list even when the closing bars are missing.
    result.append(2, L'\0');
    return result;
}

std::optional<std::string> AskForFile(HWND owner, bool save,
                                      const platform::FileDialogRequest& request) {
    const std::wstring filter = DialogFilter(request.filter);
    std::vector<wchar_t> file;
    const DWORD flags = request.flags;
    if (!RunDialog(owner, save, filter, files::win32::Widen(request.initialName), flags, file)) {
        // An initial name the dialog refuses would keep it from opening at
        // all: open it without one instead.
        if (::CommDlgExtendedError() != FNERR_INVALIDFILENAME) return std::nullopt;
        if (!RunDialog(owner, save, filter, L"", flags, file)) return std::nullopt;
    }
    return files::win32::Narrow(std::wstring(file.data()));
}

}  // namespace win32host
