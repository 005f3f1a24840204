// Copy and paste when memory runs out. Each way in is run with each of its
// temporary allocations failing in turn (the clipboard text, the bytes read
// from it, the text for the clipboard): nothing changes and nothing is said.
// The same action then succeeds once memory allows, which shows that the
// failure hit a block the action really makes. Only the image's own
// reallocation is reported, by unloading the image.
#include <functional>

#include "InteractFixture.h"
#include "rules/CommandIds.h"

using namespace platform;

namespace {

struct Way {
    const char* name;
    bool charArea;
    bool insertMode;
    bool panel;  // the search panel is open, so Ctrl+V types into it
    std::function<void(headless::HeadlessHost&)> act;
    int temporaries;  // how many temporary blocks it allocates
};

void PrintTo(const Way& way, std::ostream* os) { *os << way.name; }

void MenuCommand(headless::HeadlessHost& host, unsigned id) {
    host.PostViewMessage(msg::Command, id, 0);
    host.RunUntilIdle();
}

const Way kWays[] = {
    {"InsertHex", false, false, false, [](auto& h) { MenuCommand(h, ID_INSERT_FROM_CLIPBOARD); },
     2},
    {"InsertText", true, false, false, [](auto& h) { MenuCommand(h, ID_INSERT_FROM_CLIPBOARD); },
     1},
    {"OverwriteHex", false, false, false,
     [](auto& h) { MenuCommand(h, ID_OVERWRITE_FROM_CLIPBOARD); }, 2},
    {"OverwriteText", true, false, false,
     [](auto& h) { MenuCommand(h, ID_OVERWRITE_FROM_CLIPBOARD); }, 1},
    {"CtrlVInsertHex", false, true, false, [](auto& h) { h.PressCtrl('v'); }, 2},
    {"CtrlVOverwriteText", true, false, false, [](auto& h) { h.PressCtrl('v'); }, 1},
    {"CtrlVIntoThePanel", false, false, true, [](auto& h) { h.PressCtrl('v'); }, 1},
    {"CopyHexString", false, false, false, [](auto& h) { MenuCommand(h, ID_COPY_HEX_STRING); }, 1},
    {"CopyHexBlock", false, false, false, [](auto& h) { MenuCommand(h, ID_COPY_HEX_BLOCK); }, 1},
    {"CopyAsciiText", true, false, false, [](auto& h) { MenuCommand(h, ID_COPY_ASCII_TEXT); }, 1},
    {"CtrlCCopy", false, false, false, [](auto& h) { h.PressCtrl('c'); }, 1},
};

/// Long enough that every copy of it is a block of its own; hex pairs and
/// printable characters alike.
const std::string kClipboard = "41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50";

/// Everything a copy or paste may change.
struct State {
    std::vector<uint8_t> image;
    SelectionState selection;
    char pendingDigit;
    std::string input;
    std::optional<std::string> clipboard;
    size_t messages;
    friend bool operator==(const State&, const State&) = default;
};

}  // namespace

class PasteMemoryTest : public InteractTest, public ::testing::WithParamInterface<Way> {
protected:
    /// Printable bytes with 4 to 27 selected (long enough that every copy
    /// text is a block of its own) in the way's area and mode, a half-typed
    /// byte in the hexadecimal area, and the clipboard filled.
    void Prepare() {
        const Way& way = GetParam();
        std::vector<uint8_t> letters(32);
        for (size_t i = 0; i < letters.size(); ++i) letters[i] = uint8_t('a' + i % 26);
        SetImage(letters);
        if (way.charArea) SelectChars(4, 27);
        else SelectHex(4, 27);
        if (way.insertMode) host.PressKey(vk::Insert);
        if (!way.charArea) host.TypeChar('9');
        if (way.panel) Command(ID_SEARCH_TEXT);
        host.Clipboard() = kClipboard;
    }

    State Now() {
        return {Image(),
                Sel(),
                view.m_chPendingDigit,
                view.m_strInput,
                host.Clipboard(),
                host.MessageBoxes().size()};
    }
};

TEST_P(PasteMemoryTest, AnyTemporaryBlockFailingChangesNothing) {
    const Way& way = GetParam();
    for (int n = 1; n <= way.temporaries; ++n) {
        SCOPED_TRACE("temporary allocation " + std::to_string(n) + " fails");
        Prepare();
        const State before = Now();
        const int allocations = host.Allocator().TemporaryAllocations();
        host.Allocator().FailTemporary(n);
        way.act(host);
        EXPECT_EQ(host.Allocator().TemporaryAllocations(), allocations + n)
            << "stops at the failure";
        EXPECT_TRUE(Now() == before);
        EXPECT_TRUE(host.MessageBoxes().empty());

        host.Allocator().FailTemporary(0);
        way.act(host);
        EXPECT_FALSE(Now() == before) << "the action works once memory allows";
    }
}

INSTANTIATE_TEST_SUITE_P(EveryCopyAndPaste, PasteMemoryTest, ::testing::ValuesIn(kWays),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(InteractTest, APasteWhoseImageCannotGrowChangesNothingAndSaysSo) {
    SetImage(Iota(32));
    SelectHex(4, 7);
    host.Clipboard() = kClipboard;
    const SelectionState before = Sel();
    host.Allocator().FailCall(1);
    Command(ID_INSERT_FROM_CLIPBOARD);
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_EQ(host.MessageBoxes()[0].text,
              "Memory Reallocation Failed, the file in memory was not changed.");
    EXPECT_EQ(Image(), Iota(32));
    EXPECT_EQ(Sel(), before);
}
