// Commands and keys that arrive from the pumps of a load or a save, while it
// fills or writes the image, leave the image alone: the load gives the file's
// bytes, the save writes the image as it was when the save began.
#include "FileFixture.h"
#include "rules/CommandIds.h"

using namespace platform;

namespace {

/// Delivers the given action once, at the next pump.
void AtNextPump(headless::HeadlessHost& host, std::function<void()> action) {
    host.OnPump([&host, action, done = false](int) mutable {
        if (done) return;
        done = true;
        action();
    });
}

}  // namespace

class ImageInUseTest : public FileTest {
protected:
    static constexpr unsigned kImageCommands[] = {ID_INSERT_FROM_CLIPBOARD,
                                                  ID_OVERWRITE_FROM_CLIPBOARD, ID_DELETE_SELECTION};

    void PostCommand(unsigned id) {
        host.Clipboard() = "41";
        host.PostViewMessage(msg::Command, id, 0);
        host.RunUntilIdle();
    }

    const std::vector<uint8_t> bytes = Bytes(3 * CHexView::CHUNK_SIZE + 10);
};

TEST_F(ImageInUseTest, PasteAndDeleteCommandsDuringALoadAreRefused) {
    WriteFile(Path("big.bin"), bytes);
    for (unsigned id : kImageCommands) {
        AtNextPump(host, [&] { PostCommand(id); });
        ASSERT_TRUE(view.LoadFile(Path("big.bin"))) << id;
        host.OnPump(nullptr);
        EXPECT_EQ(Image(), bytes) << id;
    }
    EXPECT_TRUE(host.MessageBoxes().empty());
}

TEST_F(ImageInUseTest, PasteAndDeleteCommandsDuringASaveAreRefused) {
    WriteFile(Path("big.bin"), bytes);
    ASSERT_TRUE(view.LoadFile(Path("big.bin")));
    view.m_nSelStart = view.m_nSelEnd = view.m_nCaret = 5000;  // in the second chunk
    for (unsigned id : kImageCommands) {
        AtNextPump(host, [&] { PostCommand(id); });
        ASSERT_TRUE(view.SaveToFile(Path("copy.bin"))) << id;
        host.OnPump(nullptr);
        EXPECT_EQ(ReadFile(Path("copy.bin")), bytes) << id;
        EXPECT_EQ(Image(), bytes) << id;
    }
}

TEST_F(ImageInUseTest, BitsEnteredDuringASaveAreStoredOnlyAfterIt) {
    WriteFile(Path("big.bin"), bytes);
    ASSERT_TRUE(view.LoadFile(Path("big.bin")));
    ASSERT_NE(bytes[5000], 0xFF);
    view.m_nSelStart = view.m_nSelEnd = view.m_nCaret = 5000;  // in the second chunk
    host.PostViewMessage(msg::Command, ID_EDIT_BITS, 0);
    host.TypeText("11111111");
    AtNextPump(host, [&] { host.PressKey(vk::Return); });
    ASSERT_TRUE(view.SaveToFile(Path("copy.bin")));
    host.OnPump(nullptr);
    EXPECT_EQ(ReadFile(Path("copy.bin")), bytes) << "the file holds the image as the save began";
    EXPECT_EQ(Image(), bytes);
    EXPECT_TRUE(view.m_bBitEdit) << "the typed bits wait";

    host.PressKey(vk::Return);
    EXPECT_EQ(view.m_pData[5000], 0xFF);
    EXPECT_FALSE(view.m_bBitEdit);
}
