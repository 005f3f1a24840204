// The host's pure pieces: typed characters in the ANSI code page, the file
// dialogs' filter, the program's name, window placement and point fonts.
#include <gtest/gtest.h>

#include "hosts/win32/AnsiText.h"
#include "hosts/win32/FileDialogs.h"
#include "hosts/win32/FontCache.h"
#include "hosts/win32/Placement.h"

using namespace win32host;

TEST(AnsiTextTest, CharactersBecomeTheirCodePageBytes) {
    EXPECT_EQ(ToCodePage(L"A\u20AC\u00FF", 1252), "A\x80\xFF");
    // A character the code page lacks gives nothing: no '?', no look-alike.
    EXPECT_EQ(ToCodePage(L"\u0100", 1252), "");
    EXPECT_EQ(ToCodePage(L"a\u0100", 1252), "");
    // A double-byte code page gives two bytes for one character.
    EXPECT_EQ(ToCodePage(L"\u3042", 932), "\x82\xA0");
    EXPECT_EQ(ToCodePage(L"", 1252), "");
}

TEST(AnsiTextTest, ACodePageByteGoesBackToItsCharacter) {
    EXPECT_EQ(FromCodePageByte(0x80, 1252), L'\u20AC');
    EXPECT_EQ(FromCodePageByte(' ', 1252), L' ');
    // A lead byte alone is no character: the byte stays.
    EXPECT_EQ(FromCodePageByte(0x82, 932), wchar_t(0x82));
}

TEST(AnsiTextTest, TypedSurrogatePairsAreOneCharacter) {
    TypedCharacters typed(1252);
    EXPECT_EQ(typed.Feed(L'a'), "a");
    EXPECT_EQ(typed.Feed(wchar_t(0xD83D)), "");  // waits for its second half
    EXPECT_EQ(typed.Feed(wchar_t(0xDE00)), "");  // not in the code page
    // A first half followed by something else: each on its own.
    EXPECT_EQ(typed.Feed(wchar_t(0xD83D)), "");
    EXPECT_EQ(typed.Feed(L'\u20AC'), "\x80");
    EXPECT_EQ(typed.Feed(wchar_t(0xDE00)), "");
    // In UTF-8 a pair is one four-byte character.
    TypedCharacters utf8(CP_UTF8);
    EXPECT_EQ(utf8.Feed(wchar_t(0xD83D)), "");
    EXPECT_EQ(utf8.Feed(wchar_t(0xDE00)), "\xF0\x9F\x98\x80");
    EXPECT_EQ(typed.Feed(wchar_t(0x03)), "\x03");  // Ctrl+C stays a control code
}

TEST(FileDialogTest, FilterBarsBecomeNuls) {
    EXPECT_EQ(DialogFilter("All Files (*.*)|*.*||"),
              std::wstring(L"All Files (*.*)\0*.*\0\0\0\0", 23));
    EXPECT_EQ(DialogFilter("Text|*.txt"), std::wstring(L"Text\0*.txt\0\0", 12));
}

TEST(PlacementTest, ProgramNameIsTheFileNameWithoutExtension) {
    EXPECT_EQ(FileStem(L"C:\\Program Files\\Bytewren\\bytewren.exe"), L"bytewren");
    EXPECT_EQ(FileStem(L"Z:/tmp/my.tool.exe"), L"my.tool");
    EXPECT_EQ(FileStem(L"bytewren"), L"bytewren");
    EXPECT_EQ(FileStem(L"C:\\a.b\\tool"), L"tool");
    // The test program's own name.
    EXPECT_EQ(ProgramName(), L"bytewren_win32_tests");
}

TEST(PlacementTest, WindowsAreCentredInsideTheWorkArea) {
    const RECT work{0, 0, 1280, 1000};
    EXPECT_EQ(CentredOrigin({0, 0, 200, 100}, work, work).x, 540);
    EXPECT_EQ(CentredOrigin({0, 0, 200, 100}, work, work).y, 450);
    // Over an owner near the edge: kept inside the area.
    const POINT nearEdge = CentredOrigin({0, 0, 400, 300}, {1100, 900, 1280, 1000}, work);
    EXPECT_EQ(nearEdge.x, 880);
    EXPECT_EQ(nearEdge.y, 700);
    // Larger than the area: its top left corner stays visible.
    const POINT large = CentredOrigin({0, 0, 2000, 1500}, work, work);
    EXPECT_EQ(large.x, 0);
    EXPECT_EQ(large.y, 0);
}

TEST(FontTest, PointFontsAreCharacterHeightsRoundedAtTheScreensDpi) {
    EXPECT_EQ(PointFontHeight(100, 96), -13);   // 13.33
    EXPECT_EQ(PointFontHeight(80, 96), -11);    // 10.67
    EXPECT_EQ(PointFontHeight(100, 120), -17);  // 16.67
}
