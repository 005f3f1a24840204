#include "hosts/win32/Placement.h"

#include <algorithm>
#include <vector>

namespace win32host {

POINT CentredOrigin(const RECT& window, const RECT& over, const RECT& workArea) {
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    LONG x = over.left + ((over.right - over.left) - width) / 2;
    LONG y = over.top + ((over.bottom - over.top) - height) / 2;
    x = std::max(workArea.left, std::min(x, workArea.right - width));
    y = std::max(workArea.top, std::min(y, workArea.bottom - height));
    return POINT{x, y};
}

void CentreWindow(HWND window) {
    RECT rect{};
    if (!::GetWindowRect(window, &rect)) return;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    RECT over = monitor.rcWork;
    HWND owner = ::GetWindow(window, GW_OWNER);
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) ::GetWindowRect(owner, &over);
    const POINT origin = CentredOrigin(rect, over, monitor.rcWork);
    ::SetWindowPos(window, nullptr, origin.x, origin.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::wstring FileStem(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos && dot > 0) name.erase(dot);
    return name;
}

std::wstring ProgramName() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (n == 0) return L"";
        if (n < path.size()) return FileStem(std::wstring(path.data(), n));
        path.resize(path.size() * 2);
    }
}

}  // namespace win32host
