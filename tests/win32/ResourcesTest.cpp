// The Windows program's menu bar, main window and About box come from its
// resource script; the Linux program builds them from the core's tables.
// These tests read the compiled resources (the script is linked into this
// executable as into bytewren.exe) in their documented binary formats and
// compare every item with those tables.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "app/AboutDlg.h"
#include "app/MainDlg.h"
#include "app/MainMenu.h"
#include "files/win32/Utf16.h"

namespace {

/// The bytes of one resource of this executable; empty when it is missing.
std::vector<uint8_t> ResourceBytes(LPCWSTR type, int id) {
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!found) return {};
    HGLOBAL loaded = ::LoadResource(module, found);
    const auto* data = static_cast<const uint8_t*>(::LockResource(loaded));
    return data ? std::vector<uint8_t>(data, data + ::SizeofResource(module, found))
                : std::vector<uint8_t>{};
}

/// Reads little-endian fields in order; running past the end fails the test
/// and gives zeros.
class Reader {
public:
    explicit Reader(const std::vector<uint8_t>& bytes) : m_bytes(bytes) {}

    uint16_t Word() { return uint16_t(Take(2)); }
    uint32_t Dword() { return uint32_t(Take(4)); }
    int16_t Short() { return int16_t(Word()); }
    uint8_t Byte() { return uint8_t(Take(1)); }
    /// A zero-terminated UTF-16 string, as UTF-8.
    std::string String() {
        std::wstring text;
        while (wchar_t c = wchar_t(Word())) text += c;
        return files::win32::Narrow(text);
    }
    /// A string or ordinal field: 0xFFFF and a number, or a string (none is
    /// an empty one).
    struct NameOrNumber {
        std::string name;
        int number = -1;  // -1: a name
    };
    NameOrNumber NameOrOrdinal() {
        if (Peek() != 0xFFFF) return {String(), -1};
        Word();
        return {"", Word()};
    }
    void AlignToDword() { m_at = (m_at + 3) & ~size_t(3); }
    void Skip(size_t count) { m_at += count; }
    bool AtEnd() const { return m_at >= m_bytes.size(); }

private:
    uint16_t Peek() const {
        return m_at + 2 <= m_bytes.size() ? uint16_t(m_bytes[m_at] | m_bytes[m_at + 1] << 8) : 0;
    }
    uint64_t Take(size_t count) {
        if (m_at + count > m_bytes.size()) {
            ADD_FAILURE() << "the resource ends inside a field at byte " << m_at;
            m_at = m_bytes.size();
            return 0;
        }
        uint64_t value = 0;
        for (size_t i = 0; i < count; ++i) value |= uint64_t(m_bytes[m_at + i]) << (8 * i);
        m_at += count;
        return value;
    }

    const std::vector<uint8_t>& m_bytes;
    size_t m_at = 0;
};

// ---- Menus: a MENUHEADER, then items in order, each popup followed by its
// own items; MF_END marks the last item of every level.

/// One level of a menu from the resource: the items up to the one marked
/// MF_END, each popup with its own level.
struct ResourceMenuItem {
    uint16_t flags = 0;  // MF_POPUP, MF_END, ...
    unsigned id = 0;     // none for a popup
    std::string text;
    std::vector<ResourceMenuItem> items;
};

std::vector<ResourceMenuItem> ReadMenuLevel(Reader& in) {
    std::vector<ResourceMenuItem> level;
    for (bool last = false; !last && !in.AtEnd();) {
        ResourceMenuItem item;
        item.flags = in.Word();
        if (!(item.flags & MF_POPUP)) item.id = in.Word();
        item.text = in.String();
        if (item.flags & MF_POPUP) item.items = ReadMenuLevel(in);
        last = item.flags & MF_END;
        level.push_back(std::move(item));
    }
    return level;
}

/// The flags an item of the core's table has in a menu resource: a popup or
/// a plain string item, MF_END on the last of its level. A separator is a
/// string item without text or number, as the resource compiler writes it.
uint16_t ExpectedFlags(bool popup, bool last) {
    return uint16_t((popup ? MF_POPUP : MF_STRING) | (last ? MF_END : 0));
}

TEST(ResourcesTest, TheMenuBarIsTheCoresMenu) {
    const std::vector<uint8_t> bytes = ResourceBytes(RT_MENU, CMainDlg().Template().menuId);
    ASSERT_FALSE(bytes.empty()) << "no menu " << CMainDlg().Template().menuId;
    Reader in(bytes);
    EXPECT_EQ(in.Word(), 0) << "a MENU resource, version 0";
    EXPECT_EQ(in.Word(), 0) << "no header extension";
    const std::vector<ResourceMenuItem> bar = ReadMenuLevel(in);
    EXPECT_TRUE(in.AtEnd()) << "bytes after the menu's last item";

    const platform::MenuBar& core = MainMenu();
    ASSERT_EQ(bar.size(), core.size());
    for (size_t p = 0; p < core.size(); ++p) {
        const ResourceMenuItem& popup = bar[p];
        SCOPED_TRACE("popup " + core[p].text);
        EXPECT_EQ(popup.text, core[p].text);
        EXPECT_EQ(popup.flags, ExpectedFlags(true, p + 1 == core.size()));
        ASSERT_EQ(popup.items.size(), core[p].items.size());
        for (size_t i = 0; i < core[p].items.size(); ++i) {
            const platform::MenuItem& want = core[p].items[i];
            const ResourceMenuItem& got = popup.items[i];
            SCOPED_TRACE("item " + std::to_string(i) + " " + want.text);
            EXPECT_EQ(got.flags, ExpectedFlags(false, i + 1 == core[p].items.size()));
            EXPECT_EQ(got.text, want.separator ? "" : want.text);
            EXPECT_EQ(got.id, want.separator ? 0 : want.id);
        }
    }
}

// ---- Dialogs: a DLGTEMPLATEEX header, its menu, class, caption and font,
// then one DLGITEMTEMPLATEEX per control, each on a DWORD boundary.

struct ResourceControl {
    uint32_t style = 0;
    uint32_t exStyle = 0;
    platform::Rect rect;  // in dialog units, as the core's tables have it
    int id = 0;
    Reader::NameOrNumber windowClass;
    Reader::NameOrNumber title;
};

struct ResourceDialog {
    uint32_t style = 0;
    uint32_t exStyle = 0;
    platform::Rect rect;
    Reader::NameOrNumber menu;
    Reader::NameOrNumber windowClass;
    std::string caption;
    int fontPoints = 0;
    std::string fontFace;
    std::vector<ResourceControl> controls;
};

platform::Rect ReadRect(Reader& in) {
    const int x = in.Short(), y = in.Short(), cx = in.Short(), cy = in.Short();
    return platform::Rect{x, y, x + cx, y + cy};
}

ResourceDialog ReadDialog(const std::vector<uint8_t>& bytes) {
    Reader in(bytes);
    ResourceDialog d;
    EXPECT_EQ(in.Word(), 1) << "dlgVer of a DLGTEMPLATEEX";
    EXPECT_EQ(in.Word(), 0xFFFF) << "signature of a DLGTEMPLATEEX";
    in.Dword();  // help context
    d.exStyle = in.Dword();
    d.style = in.Dword();
    const uint16_t count = in.Word();
    d.rect = ReadRect(in);
    d.menu = in.NameOrOrdinal();
    d.windowClass = in.NameOrOrdinal();
    d.caption = in.String();
    if (d.style & (DS_SETFONT | DS_SHELLFONT)) {
        d.fontPoints = in.Word();
        in.Word();  // weight
        in.Byte();  // italic
        in.Byte();  // character set
        d.fontFace = in.String();
    }
    for (uint16_t i = 0; i < count; ++i) {
        in.AlignToDword();
        ResourceControl c;
        in.Dword();  // help context
        c.exStyle = in.Dword();
        c.style = in.Dword();
        c.rect = ReadRect(in);
        c.id = int(int32_t(in.Dword()));
        c.windowClass = in.NameOrOrdinal();
        c.title = in.NameOrOrdinal();
        in.Skip(in.Word());  // creation data
        d.controls.push_back(c);
    }
    return d;
}

/// The predefined window classes, which a template names by number or by
/// name (any case) alike.
struct PredefinedClass {
    int number;
    const char* name;
};
constexpr PredefinedClass kButtonClass{0x0080, "BUTTON"};
constexpr PredefinedClass kStaticClass{0x0082, "STATIC"};

bool IsClass(const Reader::NameOrNumber& windowClass, PredefinedClass want) {
    if (windowClass.number != -1) return windowClass.number == want.number;
    return ::_stricmp(windowClass.name.c_str(), want.name) == 0;
}

/// The class, style and title a control of the core's table has in the
/// resource: a static icon; a static text, with SS_NOPREFIX where the core's
/// text shows '&' as is; a push button, the default one where the core says
/// so. Texts and buttons each start a group, so that arrow keys never move
/// the focus from a button to a text.
struct ExpectedControl {
    PredefinedClass windowClass;
    uint32_t style;
    Reader::NameOrNumber title;
};

ExpectedControl Expected(const platform::DialogControl& c) {
    using Kind = platform::DialogControl::Kind;
    const uint32_t child = WS_CHILD | WS_VISIBLE;
    switch (c.kind) {
        case Kind::Icon: return {kStaticClass, child | SS_ICON, {"", c.iconId}};
        case Kind::Text:
            return {kStaticClass,
                    child | WS_GROUP | SS_LEFT | (c.noPrefix ? SS_NOPREFIX : 0u),
                    {c.text, -1}};
        case Kind::Button:
            return {kButtonClass,
                    child | WS_GROUP | WS_TABSTOP |
                        uint32_t(c.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                    {c.text, -1}};
    }
    return {};
}

/// Compares the dialog of the resources that has the template's number with it.
void ExpectDialogIsTheCoresTemplate(const platform::DialogTemplate& core) {
    SCOPED_TRACE("dialog " + std::to_string(core.id) + " " + core.caption);
    const std::vector<uint8_t> bytes = ResourceBytes(RT_DIALOG, core.id);
    ASSERT_FALSE(bytes.empty()) << "no dialog " << core.id;
    const ResourceDialog d = ReadDialog(bytes);

    // The font's statement adds DS_SETFONT; the host places the window.
    EXPECT_EQ(d.style, core.style | DS_SETFONT);
    EXPECT_EQ(d.exStyle, core.exStyle);
    EXPECT_EQ(d.rect, (platform::Rect{0, 0, core.sizeDlu.cx, core.sizeDlu.cy}));
    EXPECT_EQ(d.menu.number, core.menuId != 0 ? core.menuId : -1);
    EXPECT_EQ(d.menu.name, "");
    EXPECT_EQ(d.windowClass.number, -1);
    EXPECT_EQ(d.windowClass.name, "") << "the dialog manager's own class";
    EXPECT_EQ(d.caption, core.caption);
    EXPECT_EQ(d.fontPoints, core.fontPoints);
    EXPECT_EQ(d.fontFace, core.fontFace);

    ASSERT_EQ(d.controls.size(), core.controls.size());
    for (size_t i = 0; i < core.controls.size(); ++i) {
        const platform::DialogControl& want = core.controls[i];
        const ResourceControl& got = d.controls[i];
        SCOPED_TRACE("control " + std::to_string(i) + " " + want.text);
        const ExpectedControl expected = Expected(want);
        EXPECT_TRUE(IsClass(got.windowClass, expected.windowClass))
            << got.windowClass.name << got.windowClass.number;
        EXPECT_EQ(got.style, expected.style);
        EXPECT_EQ(got.exStyle, 0u);
        EXPECT_EQ(got.rect, want.rect);
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(got.title.number, expected.title.number);
        EXPECT_EQ(got.title.name, expected.title.name);
    }
}

TEST(ResourcesTest, TheMainWindowIsTheCoresTemplate) {
    ExpectDialogIsTheCoresTemplate(CMainDlg().Template());
}

TEST(ResourcesTest, TheAboutBoxIsTheCoresTemplate) {
    ExpectDialogIsTheCoresTemplate(CAboutDlg::Template());
}

}  // namespace
