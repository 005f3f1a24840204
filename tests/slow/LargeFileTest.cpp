// The largest file the editor accepts, loaded for real (2 GiB of memory).
#include "core/FileFixture.h"

TEST_F(FileTest, AFileOfExactlyTheLimitLoadsWhenMemoryAllows) {
    MakeSparse(Path("limit.bin"), 0x7FFFFFFF);
    {
        std::fstream f(Path("limit.bin"), std::ios::binary | std::ios::in | std::ios::out);
        f.seekp(0x7FFFFFFE);
        f.put(char(0x5A));
    }
    host.RunUntilIdle();
    std::vector<int> shown;
    host.OnPump([&](int) {
        if (!host.InvalidRect().IsEmpty()) shown.push_back(view.m_nFileProgress);
    });
    if (!view.LoadFile(Path("limit.bin"))) {
        // Then only for want of memory.
        EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Not enough memory to load file."});
        GTEST_SKIP() << "not enough memory for a 2 GiB image here";
    }
    EXPECT_EQ(view.m_nFileSize, 0x7FFFFFFFu);
    EXPECT_EQ(view.m_pData[0], 0);
    EXPECT_EQ(view.m_pData[0x7FFFFFFE], 0x5A);
    EXPECT_EQ(host.GetMainCaption(), "Bytewren - limit.bin");
    EXPECT_EQ(shown.size(), 99u) << "one repaint per whole percent";
    EXPECT_TRUE(host.MessageBoxes().empty());

    // The first edit after the load resizes the block without losing it.
    view.m_nSelStart = view.m_nSelEnd = 0x7FFFFFFE;
    view.DeleteSelection();
    ASSERT_NE(view.m_pData, nullptr);
    EXPECT_EQ(view.m_nFileSize, 0x7FFFFFFEu);
    EXPECT_EQ(view.m_pData[0x7FFFFFFD], 0);
}
