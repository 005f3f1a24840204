// Nothing changes or frees the image while a load fills it or a save writes
// it. Each edit below is delivered from inside the operation's pump, as
// input arrives there; afterwards the image and the file must be exactly
// what the load or the save alone makes of them (the sanitized build also
// catches any write past the image). Each edit is then repeated once the
// operation is over, to show that it does change the image when allowed.
#include <functional>

#include "FileFixture.h"
#include "rules/CommandIds.h"

using namespace platform;

namespace {

constexpr unsigned CTRL_V = 22;

struct Edit {
    const char* name;
    /// Puts the edit's messages into the view's queue.
    std::function<void(headless::HeadlessHost&)> post;
    bool charArea = false;
    bool insertMode = false;
};

void PrintTo(const Edit& edit, std::ostream* os) { *os << edit.name; }

void PostChars(headless::HeadlessHost& host, const std::string& text) {
    for (char c : text) host.PostViewMessage(msg::Char, WParam(static_cast<unsigned char>(c)), 0);
}

void PostKey(headless::HeadlessHost& host, unsigned key) {
    host.PostViewMessage(msg::KeyDown, key, 0);
    host.PostViewMessage(msg::KeyUp, key, 0);
}

void PostCommand(headless::HeadlessHost& host, unsigned id) {
    host.PostViewMessage(msg::Command, id, 0);
}

const Edit kEdits[] = {
    {"HexDigits", [](auto& h) { PostChars(h, "4142"); }},
    {"HexDigitsInserted", [](auto& h) { PostChars(h, "4142"); }, false, true},
    {"CharactersAndBackspace",
     [](auto& h) {
         PostChars(h, "ab");
         PostKey(h, vk::Back);
         PostChars(h, "c");
     },
     true},
    {"DeleteKey", [](auto& h) { PostKey(h, vk::Delete); }},
    {"CtrlVOverwrite", [](auto& h) { PostChars(h, std::string(1, char(CTRL_V))); }},
    {"CtrlVInsert", [](auto& h) { PostChars(h, std::string(1, char(CTRL_V))); }, true, true},
    {"DeleteSelectionCommand", [](auto& h) { PostCommand(h, ID_DELETE_SELECTION); }},
    {"InsertFromClipboardCommand", [](auto& h) { PostCommand(h, ID_INSERT_FROM_CLIPBOARD); }},
    {"OverwriteFromClipboardCommand", [](auto& h) { PostCommand(h, ID_OVERWRITE_FROM_CLIPBOARD); }},
    {"EditBitsAndEnter",
     [](auto& h) {
         PostCommand(h, ID_EDIT_BITS);
         PostChars(h, "11110000");
         PostKey(h, vk::Return);
     }},
};

}  // namespace

class ImageGuardTest : public FileTest, public ::testing::WithParamInterface<Edit> {
protected:
    void SetUp() override {
        FileTest::SetUp();
        // Reads as hex pairs and as characters alike.
        host.Clipboard() = "EEEEEEEE EEEEEEEE";
    }

    /// Gives the view `image`, sets the edit's area and mode, and arranges
    /// for the edit to arrive in the middle of the next file operation.
    void Prepare(const std::vector<uint8_t>& image) {
        const Edit& edit = GetParam();
        SetImage(image);
        host.MoveMouse(edit.charArea ? CharPoint(0) : HexPoint(0));
        ASSERT_EQ(view.m_bCharArea, edit.charArea);
        view.m_bInsertMode = edit.insertMode;
        const int middle = host.PumpCount() + 2;
        host.OnPump([this, middle, &edit](int n) {
            if (n == middle) edit.post(host);
        });
    }

    /// The same edit with no operation running changes the image.
    void ExpectTheEditActsWhenIdle() {
        host.OnPump(nullptr);
        const auto before = Image();
        GetParam().post(host);
        host.RunUntilIdle();
        EXPECT_NE(Image(), before) << "the edit never reached the image";
    }
};

TEST_P(ImageGuardTest, DuringALoadTheImageIsExactlyTheFile) {
    const auto file = Bytes(kSixChunks, 7);
    WriteFile(Path("f.bin"), file);
    Prepare(Bytes(100, 8));
    ASSERT_TRUE(view.LoadFile(Path("f.bin")));
    EXPECT_GT(host.PumpCount(), 2);
    EXPECT_EQ(Image(), file);
    EXPECT_TRUE(host.MessageBoxes().empty());
    ExpectTheEditActsWhenIdle();
}

TEST_P(ImageGuardTest, DuringASaveTheFileAndTheImageAreTheOldImage) {
    const auto image = Bytes(kSixChunks, 9);
    WriteFile(Path("t.bin"), Bytes(3000, 5));
    Prepare(image);
    ASSERT_TRUE(view.SaveToFile(Path("t.bin")));
    EXPECT_GT(host.PumpCount(), 2);
    EXPECT_EQ(ReadFile(Path("t.bin")), image);
    EXPECT_EQ(Image(), image);
    EXPECT_TRUE(host.MessageBoxes().empty());
    ExpectTheEditActsWhenIdle();
}

// Bit edit may be on when a save starts; ENTER then keeps the typed bits
// until the save is over.
TEST_F(FileTest, EnterDuringASaveKeepsTheBitsTypedBeforeIt) {
    const auto image = Bytes(kSixChunks, 9);
    SetImage(image);
    host.PostViewMessage(msg::Command, ID_EDIT_BITS, 0);
    PostChars(host, "11110000");
    host.RunUntilIdle();
    ASSERT_TRUE(view.m_bBitEdit);
    host.OnPump([this](int n) {
        if (n == 2) PostKey(host, vk::Return);
    });
    ASSERT_TRUE(view.SaveToFile(Path("t.bin")));
    EXPECT_EQ(ReadFile(Path("t.bin")), image);
    EXPECT_EQ(Image(), image);
    EXPECT_TRUE(view.m_bBitEdit);
    EXPECT_STREQ(view.m_szBits, "1111 0000");

    host.OnPump(nullptr);
    PostKey(host, vk::Return);
    host.RunUntilIdle();
    EXPECT_FALSE(view.m_bBitEdit);
    EXPECT_EQ(Image()[0], 0xF0);
}

INSTANTIATE_TEST_SUITE_P(EveryEdit, ImageGuardTest, ::testing::ValuesIn(kEdits),
                         [](const auto& test) { return std::string(test.param.name); });
