// Owners of Windows handles: each releases its handle the way it was
// obtained, on every way out.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace win32host {

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { ::DeleteObject(object); }
};
struct MemoryDcDeleter {
    void operator()(HDC dc) const { ::DeleteDC(dc); }
};
struct MenuDeleter {
    void operator()(HMENU menu) const { ::DestroyMenu(menu); }
};
struct GlobalDeleter {
    void operator()(HGLOBAL block) const { ::GlobalFree(block); }
};

using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using UniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;
using UniqueBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;
using UniqueMemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, MemoryDcDeleter>;
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;
using UniqueGlobal = std::unique_ptr<std::remove_pointer_t<HGLOBAL>, GlobalDeleter>;

/// A window's device context from GetDC, released to that window.
class WindowDc {
public:
    explicit WindowDc(HWND window) : m_window(window), m_dc(::GetDC(window)) {}
    ~WindowDc() {
        if (m_dc) ::ReleaseDC(m_window, m_dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

/// An object selected into a device context for one scope; the previous
/// one is selected back at its end.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(::SelectObject(dc, object)) {}
    ~ScopedSelect() {
        if (m_previous) ::SelectObject(m_dc, m_previous);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    bool Selected() const { return m_previous != nullptr; }

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

/// A global memory block locked for one scope.
template <typename T>
class GlobalLock {
public:
    explicit GlobalLock(HGLOBAL block)
        : m_block(block), m_data(static_cast<T*>(::GlobalLock(block))) {}
    ~GlobalLock() {
        if (m_data) ::GlobalUnlock(m_block);
    }
    GlobalLock(const GlobalLock&) = delete;
    GlobalLock& operator=(const GlobalLock&) = delete;
    T* Data() const { return m_data; }

private:
    HGLOBAL m_block;
    T* m_data;
};

/// The clipboard, open for one scope.
class OpenClipboard {
public:
    explicit OpenClipboard(HWND owner) : m_open(::OpenClipboard(owner) != FALSE) {}
    ~OpenClipboard() {
        if (m_open) ::CloseClipboard();
    }
    OpenClipboard(const OpenClipboard&) = delete;
    OpenClipboard& operator=(const OpenClipboard&) = delete;
    bool IsOpen() const { return m_open; }

private:
    bool m_open;
};

}  // namespace win32host
