// The real clipboard, as CF_TEXT bytes, and the files of a real drop handle.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Drops.h"
#include "files/win32/Utf16.h"
#include "hosts/win32/Clipboard.h"
#include "hosts/win32/Win32ViewHost.h"

using namespace win32host;

namespace {

/// The clipboard's text as a plain string, or "(none)".
std::string Read() {
    const auto text = ReadClipboardText(nullptr, std::pmr::new_delete_resource());
    return text ? std::string(*text) : "(none)";
}

/// Puts one block of the given format on the clipboard, as another program
/// would.
void PutOnClipboard(UINT format, const void* data, size_t size) {
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
    ASSERT_NE(block, nullptr);
    std::memcpy(::GlobalLock(block), data, size);
    ::GlobalUnlock(block);
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    ASSERT_NE(::SetClipboardData(format, block), nullptr);
    ::CloseClipboard();
}

}  // namespace

TEST(ClipboardTest, EveryByteGoesInAndComesOutUnchanged) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += char(b);
    ASSERT_TRUE(WriteClipboardText(nullptr, all));
    EXPECT_EQ(Read(), all);
}

TEST(ClipboardTest, OtherProgramsTextIsReadUpToItsNulInTheCodePage) {
    PutOnClipboard(CF_TEXT, "ab\0cd", 6);
    EXPECT_EQ(Read(), "ab");
    // Unicode text arrives converted by the system, through the ANSI code
    // page (1252 here).
    const wchar_t euro[] = L"\u20AC x";
    PutOnClipboard(CF_UNICODETEXT, euro, sizeof euro);
    EXPECT_EQ(Read(), "\x80 x");
}

TEST(ClipboardTest, AClipboardWithoutTextGivesNone) {
    const char bitmapLike[4] = {1, 2, 3, 4};
    PutOnClipboard(CF_DIB, bitmapLike, sizeof bitmapLike);
    EXPECT_EQ(Read(), "(none)");
}

TEST(DropTest, TheFirstNameIsTakenWholeHoweverLong) {
    const std::wstring longName = L"C:\\" + std::wstring(300, L'x') + L"\\\u00E9t\u00E9.bin";
    HDROP drop = MakeDrop(longName + L'\0' + L"C:\\second.bin" + L'\0');
    EXPECT_EQ(FirstDroppedFile(drop), files::win32::Narrow(longName));
    ::GlobalFree(drop);
}
