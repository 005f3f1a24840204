// ESC ends a load or save at once, but its loop only notices after the pump
// that delivered the ESC returns. Whatever that same pump dispatches next
// must still find the view busy: the half-read image is not saved over the
// file it came from, and no second load starts inside the first.
#include "FileFixture.h"

using namespace platform;

TEST_F(FileTest, ASaveRightAfterEscapeDuringALoadWritesNothing) {
    const auto old = Bytes(1000, 1);
    WriteFile(Path("a.bin"), old);
    WriteFile(Path("b.bin"), Bytes(kSixChunks, 2));
    ASSERT_TRUE(view.LoadFile(Path("a.bin")));

    bool saved = true;
    host.OnPump([&](int n) {
        if (n != 2) return;
        view.LeaveAllModes();  // ESC
        host.QueueMessageBoxAnswer(mb::IdYes);
        saved = view.OnFileSave();
    });
    EXPECT_FALSE(view.LoadFile(Path("b.bin")));
    host.OnPump(nullptr);

    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadFile(Path("a.bin")), old) << "the file was overwritten with a half-read image";
    EXPECT_EQ(view.m_pData, nullptr);
    EXPECT_EQ(view.m_strFilePath, Path("a.bin"));
}

TEST_F(FileTest, ADropRightAfterEscapeDuringALoadIsIgnored) {
    WriteFile(Path("a.bin"), Bytes(1000, 1));
    WriteFile(Path("b.bin"), Bytes(kSixChunks, 2));
    WriteFile(Path("c.bin"), Bytes(100, 3));
    ASSERT_TRUE(view.LoadFile(Path("a.bin")));

    host.OnPump([&](int n) {
        if (n != 2) return;
        view.LeaveAllModes();  // ESC
        host.DropFiles({Path("c.bin")});
    });
    EXPECT_FALSE(view.LoadFile(Path("b.bin")));
    host.OnPump(nullptr);

    // The cancelled load leaves no image and its caption; c.bin was never
    // half loaded and then thrown away.
    EXPECT_EQ(view.m_pData, nullptr);
    EXPECT_EQ(view.m_strFilePath, Path("a.bin"));
    EXPECT_EQ(host.GetMainCaption(), "Bytewren");
}

TEST_F(FileTest, ALoadRightAfterEscapeDuringASaveIsIgnored) {
    const auto old = Bytes(kSixChunks, 1);
    const auto image = Bytes(kSixChunks, 2);
    WriteFile(Path("a.bin"), old);
    WriteFile(Path("c.bin"), Bytes(100, 3));
    SetImage(image);

    bool loaded = true;
    host.OnPump([&](int n) {
        if (n != 2) return;
        view.LeaveAllModes();  // ESC
        loaded = view.LoadFile(Path("c.bin"));
    });
    EXPECT_FALSE(view.SaveToFile(Path("a.bin")));
    host.OnPump(nullptr);

    EXPECT_FALSE(loaded);
    EXPECT_EQ(Image(), image);
    EXPECT_EQ(ReadFile(Path("a.bin")), old);
}
