// The real main window from the program's resources, with the real core
// behind it: messages taken from the queue reach the view's pre-translation
// before the dialog's key handling, typed characters arrive as 8-bit text,
// drops and the command line open files, a close request ends the run, the
// pump hands a quit back, the view paints through its buffer (its text held
// back and drawn in batches, to the same pixels), and screen readers read
// what it shows.
#include <gtest/gtest.h>
#include <windows.h>

#include <oleacc.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "Drops.h"
#include "app/MainDlg.h"
#include "files/win32/Utf16.h"
#include "hosts/win32/GdiSurface.h"
#include "hosts/win32/Handles.h"
#include "hosts/win32/MainDialogHost.h"

using namespace win32host;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::mt19937 random(std::random_device{}());
        const auto folder = std::filesystem::temp_directory_path() /
                            ("bytewren-win32-" + std::to_string(random() % 1000000));
        std::filesystem::create_directory(folder);
        dir = folder.string();
    }
    void TearDown() override {
        host.reset();
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }

    /// Opens the main window with the given command line.
    void Open(const std::string& commandLine = "\"C:\\bytewren.exe\"") {
        host = std::make_unique<MainDialogHost>(dlg, ::GetModuleHandleW(nullptr),
                                                platform::CommandLine::FromLine(commandLine));
        ASSERT_TRUE(host->Open());
        view = host->ViewWindowHost().GetClientRect().IsEmpty() ? nullptr : ViewWindow();
        ASSERT_NE(view, nullptr);
        Pump();
    }
    HWND ViewWindow() const { return ::GetWindow(host->Window(), GW_CHILD); }
    void Pump() { host->PumpWaitingMessages(); }

    std::string WriteFile(const std::string& name, const std::string& bytes) {
        const std::string path = dir + "\\" + name;
        std::ofstream(std::filesystem::path(files::win32::Widen(path)), std::ios::binary) << bytes;
        return path;
    }
    std::string Image() const {
        return std::string(reinterpret_cast<const char*>(dlg.m_hexView.m_pData),
                           dlg.m_hexView.m_nFileSize);
    }
    void PostKey(UINT message, WPARAM key) { ::PostMessageW(view, message, key, 1); }

    std::string dir;
    CMainDlg dlg;
    std::unique_ptr<MainDialogHost> host;
    HWND view = nullptr;
};

/// Whether a window shows the colour anywhere in the rectangle.
bool Shows(HWND window, const RECT& area, COLORREF colour) {
    HDC dc = ::GetDC(window);
    bool found = false;
    for (int y = area.top; y < area.bottom && !found; ++y) {
        for (int x = area.left; x < area.right && !found; ++x)
            found = ::GetPixel(dc, x, y) == colour;
    }
    ::ReleaseDC(window, dc);
    return found;
}

}  // namespace

TEST_F(MainWindowTest, TheViewAndItsScrollBarCoverTheClientArea) {
    Open();
    RECT client{}, viewRect{}, bar{};
    ::GetClientRect(host->Window(), &client);
    ::GetClientRect(view, &viewRect);
    EXPECT_EQ(viewRect.right, client.right);
    EXPECT_EQ(viewRect.bottom, client.bottom);
    HWND scrollBar = ::GetDlgItem(view, 150);
    ASSERT_NE(scrollBar, nullptr);
    ::GetWindowRect(scrollBar, &bar);
    ::MapWindowPoints(nullptr, view, reinterpret_cast<POINT*>(&bar), 2);
    EXPECT_EQ(bar.left, client.right - 18);
    EXPECT_EQ(bar.right, client.right);
    EXPECT_EQ(::GetFocus(), view);
}

TEST_F(MainWindowTest, EscAndEnterBelongToTheViewNotTheDialog) {
    Open();
    dlg.m_hexView.m_bInputPanel = true;  // ESC closes the panel instead
    for (WPARAM key : {WPARAM(VK_ESCAPE), WPARAM(VK_RETURN), WPARAM(VK_ESCAPE)}) {
        PostKey(WM_KEYDOWN, key);
        Pump();
    }
    EXPECT_FALSE(dlg.m_hexView.m_bInputPanel);
    EXPECT_FALSE(host->Ended());
    EXPECT_TRUE(::IsWindowVisible(host->Window()));
}

TEST_F(MainWindowTest, TypedCharactersReachTheViewAs8BitText) {
    Open();
    ASSERT_TRUE(dlg.m_hexView.LoadFile(WriteFile("t.bin", "....")));
    dlg.m_hexView.m_bCharArea = true;
    dlg.m_hexView.m_nSelEnd = 3;
    // A character above 0x7E in the code page, one the code page lacks and a
    // surrogate pair type nothing, not even a '?'; the others type their
    // bytes.
    for (wchar_t unit :
         {L'A', L'\u20AC', L'\u0100', wchar_t(0xD83D), wchar_t(0xDE00), L'b', L'~'}) {
        ::PostMessageW(view, WM_CHAR, unit, 1);
    }
    Pump();
    EXPECT_EQ(Image(), "Ab~.");
}

TEST_F(MainWindowTest, CtrlZUndoesAndCtrlShiftZRedoes) {
    Open();
    ASSERT_TRUE(dlg.m_hexView.LoadFile(WriteFile("t.bin", "....")));
    dlg.m_hexView.m_bCharArea = true;
    ::PostMessageW(view, WM_CHAR, L'A', 1);
    Pump();
    ASSERT_EQ(Image(), "A...");
    // The system types 26 for Ctrl+Z, with Shift or without.
    auto ctrlZ = [&](bool shift) {
        BYTE keys[256] = {};
        keys[VK_CONTROL] = 0x80;
        if (shift) keys[VK_SHIFT] = 0x80;
        ::SetKeyboardState(keys);
        ::PostMessageW(view, WM_CHAR, 26, 1);
        Pump();
        const BYTE none[256] = {};
        ::SetKeyboardState(const_cast<BYTE*>(none));
    };
    ctrlZ(false);
    EXPECT_EQ(Image(), "....");
    ctrlZ(true);
    EXPECT_EQ(Image(), "A...");
}

TEST_F(MainWindowTest, ADropLoadsItsFirstFile) {
    Open();
    const std::string first = WriteFile("first \u00E9.bin", "one");
    const std::string second = WriteFile("second.bin", "two");
    const std::wstring names =
        files::win32::Widen(first) + L'\0' + files::win32::Widen(second) + L'\0';
    ASSERT_TRUE(::PostMessageW(view, WM_DROPFILES, WPARAM(MakeDrop(names)), 0));
    Pump();
    EXPECT_EQ(Image(), "one");
    EXPECT_EQ(host->Caption(), "Bytewren - first \u00E9.bin");
}

TEST_F(MainWindowTest, TheCommandLinesFileOpensOnceTheLoopRuns) {
    const std::string path = WriteFile("with blank.bin", "xyz");
    Open("\"C:\\bytewren.exe\" \"" + path + "\"");
    EXPECT_EQ(Image(), "xyz");
    EXPECT_EQ(host->Caption(), "Bytewren - with blank.bin");
}

TEST_F(MainWindowTest, ACloseRequestEndsTheRunAndEveryMode) {
    Open();
    dlg.m_hexView.m_bLoading = true;
    ::PostMessageW(host->Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(host->Exec(), IDCANCEL);
    EXPECT_FALSE(dlg.m_hexView.m_bLoading);
    EXPECT_FALSE(host->PumpWaitingMessages());
}

TEST_F(MainWindowTest, PumpingHandsAQuitBackToTheRun) {
    Open();
    ::PostQuitMessage(3);
    EXPECT_FALSE(host->PumpWaitingMessages());
    MSG quit{};
    ASSERT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
    EXPECT_EQ(quit.wParam, 3u);
    // The run ends on it and hands it on again.
    EXPECT_EQ(host->Exec(), -1);
    ASSERT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(MainWindowTest, TheViewsPumpDeliversKeysAndKeepsAQuitBetweenItsLooks) {
    Open();
    platform::ViewHost& pump = host->ViewWindowHost();
    dlg.m_hexView.m_bInputPanel = true;
    PostKey(WM_KEYDOWN, VK_ESCAPE);
    ::Sleep(20);  // longer than the pump's least gap between two looks
    EXPECT_TRUE(pump.PumpWaitingMessages());
    EXPECT_FALSE(dlg.m_hexView.m_bInputPanel);
    // The look that sees a quit says so, and so do the skipped ones after it.
    ::Sleep(20);
    ::PostQuitMessage(0);
    EXPECT_FALSE(pump.PumpWaitingMessages());
    EXPECT_FALSE(pump.PumpWaitingMessages());
    MSG quit{};
    EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(MainWindowTest, TheViewPaintsItsScreenInOneCopy) {
    Open();
    ASSERT_TRUE(dlg.m_hexView.LoadFile(WriteFile("t.bin", std::string(40, '\0'))));
    ::UpdateWindow(view);
    const CHexView& v = dlg.m_hexView;
    RECT client{};
    ::GetClientRect(view, &client);
    // The caret byte's hex pair on its red, the status line's fill at the
    // bottom, and nothing of the view's in the scroll bar's strip.
    const int rowTop = v.m_nCellWidth;
    EXPECT_TRUE(Shows(
        view, {v.m_nHexLeft, rowTop, v.m_nHexLeft + 2 * v.m_nCellWidth, rowTop + v.m_nRowHeight},
        RGB(175, 75, 75)));
    EXPECT_TRUE(
        Shows(view, {0, client.bottom - 18, client.right - 18, client.bottom}, RGB(20, 20, 20)));
    EXPECT_FALSE(Shows(view, {client.right - 18, 0, client.right, client.bottom}, RGB(20, 20, 20)));
}

namespace {

/// "role|name|description" of the view's window as a screen reader reads
/// it: from a thread of its own, through Windows' accessibility helpers,
/// while the window's thread goes on dispatching messages.
std::string ReadAccessible(HWND window, MainDialogHost& host) {
    std::atomic<bool> done = false;
    std::string read;
    std::thread reader([&] {
        ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        const IID iid = {
            0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
        IAccessible* object = nullptr;
        if (SUCCEEDED(::AccessibleObjectFromWindow(window, DWORD(OBJID_CLIENT), iid,
                                                   reinterpret_cast<void**>(&object)))) {
            VARIANT self{};
            self.vt = VT_I4;
            self.lVal = CHILDID_SELF;
            VARIANT role{};
            BSTR name = nullptr, description = nullptr;
            object->get_accRole(self, &role);
            object->get_accName(self, &name);
            object->get_accDescription(self, &description);
            read = std::to_string(role.lVal) + "|" + files::win32::Narrow(name ? name : L"") + "|" +
                   files::win32::Narrow(description ? description : L"");
            ::SysFreeString(name);
            ::SysFreeString(description);
            object->Release();
        }
        ::CoUninitialize();
        done = true;
    });
    while (!done) {
        host.PumpWaitingMessages();
        ::Sleep(1);
    }
    reader.join();
    return read;
}

}  // namespace

TEST_F(MainWindowTest, ScreenReadersReadTheViewsNameAndTheSelectedByte) {
    Open();
    ASSERT_TRUE(dlg.m_hexView.LoadFile(WriteFile("some data.bin", "\x41\xB3")));
    ::UpdateWindow(view);
    const std::string document = std::to_string(ROLE_SYSTEM_DOCUMENT);
    EXPECT_EQ(ReadAccessible(view, *host),
              document +
                  "|Bytes of some data.bin|Offset 0x0, hex 41, selected 1 byte, "
                  "edit mode HEX OVERWRITE");
    ::PostMessageW(view, WM_KEYUP, VK_RIGHT, LPARAM(0xC0000001u));
    Pump();
    ::UpdateWindow(view);
    EXPECT_EQ(ReadAccessible(view, *host),
              document +
                  "|Bytes of some data.bin|Offset 0x1, hex B3, selected 1 byte, "
                  "edit mode HEX OVERWRITE");
}

namespace {

/// The 32-bit pixels of the bitmap selected in dc.
std::vector<uint32_t> Pixels(HDC dc, platform::Size size) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(size_t(size.cx) * size_t(size.cy));
    HBITMAP bitmap = static_cast<HBITMAP>(::GetCurrentObject(dc, OBJ_BITMAP));
    ::GetDIBits(dc, bitmap, 0, UINT(size.cy), pixels.data(), &info, DIB_RGB_COLORS);
    return pixels;
}

}  // namespace

TEST_F(MainWindowTest, TextHeldBackPaintsWhatDrawingEachTextAtOnceDoes) {
    Open();
    CHexView& v = dlg.m_hexView;
    FontCache fonts;
    HDC screen = ::GetDC(view);
    const platform::Rect dump = v.DumpRect();
    const platform::Size size{dump.Width(), dump.Height()};
    // The screen drawn through a buffer, and through a plain surface over a
    // bitmap of the same kind, which draws every text the moment it is
    // asked for; the two must not differ in a single pixel.
    const auto compare = [&](const std::string& screenName) {
        const auto buffer = BufferSurface::Create(screen, size, fonts);
        ASSERT_NE(buffer, nullptr);
        v.DrawScreen(*buffer);
        UniqueMemoryDc dc(::CreateCompatibleDC(screen));
        UniqueBitmap bitmap(::CreateCompatibleBitmap(screen, size.cx, size.cy));
        const HGDIOBJ previous = ::SelectObject(dc.get(), bitmap.get());
        {
            GdiSurface atOnce(dc.get(), fonts);
            v.DrawScreen(atOnce);
        }
        const std::vector<uint32_t> held = Pixels(buffer->Dc(), size);
        const std::vector<uint32_t> plain = Pixels(dc.get(), size);
        ::SelectObject(dc.get(), previous);
        size_t differing = 0, first = 0;
        for (size_t i = held.size(); i-- > 0;) {
            if (held[i] != plain[i]) ++differing, first = i;
        }
        EXPECT_EQ(differing, 0u) << screenName << ": first at x " << first % size_t(size.cx)
                                 << ", y " << first / size_t(size.cx);
    };

    compare("welcome");
    // Every byte value in both areas, with a selection, the caret and the
    // byte under the pointer in each, on rows of several widths.
    std::string bytes;
    for (int i = 0; i < 4096; ++i) bytes += char(i * 7 % 256);
    ASSERT_TRUE(v.LoadFile(WriteFile("all.bin", bytes)));
    for (int widths = 0; widths < 3; ++widths) {
        for (bool charArea : {false, true}) {
            v.m_bCharArea = charArea;
            v.m_nSelStart = 37;
            v.m_nSelEnd = 37 + 300;
            v.m_nCaret = 40;
            v.m_ptMouse = charArea ? platform::Point{v.m_nCharLeft + 3, v.m_nCellWidth + 3}
                                   : platform::Point{v.m_nHexLeft + 4, v.m_nCellWidth + 4};
            compare("dump at " + std::to_string(v.m_nBytesPerRow) + " bytes per row");
        }
        v.ChangeColumns(+1);
    }
    v.m_nFileProgress = 40;
    v.m_bLoading = true;
    compare("progress");
    v.m_bLoading = false;
    v.m_bBitEdit = true;
    compare("bit edit");
    v.m_bBitEdit = false;
    v.m_bInputPanel = true;
    v.m_strInput = "41 42 &x";
    v.m_strPanelMsg = "Found Text at Offset: 0x00000010  Press ESC to jump to offset";
    compare("input panel");
    v.m_bInputPanel = false;
    ::ReleaseDC(view, screen);
}
