// The image primitives: insertion, overwrite, deletion and the loss of the
// image when its block cannot be resized.
#include <random>

#include "ViewFixture.h"

using namespace platform;

namespace {

std::vector<uint8_t> Iota(size_t n) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = uint8_t(i);
    return v;
}

}  // namespace

TEST_F(ViewTest, InsertAtStartMiddleAndEnd) {
    SetImage(Iota(4));
    const uint8_t ab[] = {0xAA, 0xBB};
    ASSERT_TRUE(view.InsertBytes(0, ab, 2));
    EXPECT_EQ(Image(), (std::vector<uint8_t>{0xAA, 0xBB, 0, 1, 2, 3}));
    ASSERT_TRUE(view.InsertBytes(3, ab, 1));
    EXPECT_EQ(Image(), (std::vector<uint8_t>{0xAA, 0xBB, 0, 0xAA, 1, 2, 3}));
    ASSERT_TRUE(view.InsertBytes(7, ab + 1, 1));
    EXPECT_EQ(Image(), (std::vector<uint8_t>{0xAA, 0xBB, 0, 0xAA, 1, 2, 3, 0xBB}));
    EXPECT_EQ(view.m_nFileSize, 8u);
    // Insertion leaves the selection and caret to its caller.
    EXPECT_EQ(view.m_nSelStart, 0u);
    EXPECT_EQ(view.m_nSelEnd, 0u);
    EXPECT_EQ(view.m_nCaret, 0u);
}

TEST_F(ViewTest, InsertIntoAnEmptyImageAndOutOfContractCalls) {
    SetImage(0);
    const uint8_t x = 0x78;
    ASSERT_TRUE(view.InsertBytes(0, &x, 1));
    EXPECT_EQ(Image(), (std::vector<uint8_t>{0x78}));
    EXPECT_FALSE(view.InsertBytes(5, &x, 1)) << "past the end";
    EXPECT_EQ(view.m_nFileSize, 1u);
    view.m_image.Release();
    EXPECT_FALSE(view.InsertBytes(0, &x, 1)) << "no image";
    EXPECT_EQ(view.m_pData, nullptr);
}

TEST_F(ViewTest, InsertionPastTheSizeLimitIsRefusedWithAMessage) {
    SetImage(Iota(16));
    view.m_nSelStart = 2;
    view.m_nSelEnd = 5;
    const uint8_t unused[1] = {0};
    // Neither count is read: the refusal comes before the block is touched.
    EXPECT_FALSE(view.InsertBytes(0, unused, 0x7FFFFFFF - 15));
    EXPECT_FALSE(view.InsertBytes(16, unused, 0xFFFFFFF8u)) << "would wrap the 32-bit size";
    EXPECT_EQ(Image(), Iota(16));
    EXPECT_EQ(view.m_nSelStart, 2u);
    EXPECT_EQ(view.m_nSelEnd, 5u);
    ASSERT_EQ(host.MessageBoxes().size(), 2u);
    EXPECT_EQ(host.MessageBoxes()[0].text,
              "Could not insert data, files over 2.14GB are not supported.");
    EXPECT_EQ(host.MessageBoxes()[0].type, mb::Ok | mb::IconError);
    EXPECT_EQ(host.MessageBoxes()[0].caption, "");
    // Up to the limit nothing is refused by the check itself.
    EXPECT_EQ(host.Allocator().Failures(), 0);
}

TEST_F(ViewTest, OverwriteIsClippedAtTheEndAndNeverGrows) {
    SetImage(Iota(6));
    const uint8_t hello[] = {'h', 'e', 'l', 'l', 'o'};
    view.OverwriteBytes(0, hello, 2);
    view.OverwriteBytes(4, hello, 5);
    EXPECT_EQ(Image(), (std::vector<uint8_t>{'h', 'e', 2, 3, 'h', 'e'}));
    view.OverwriteBytes(6, hello, 5);
    view.OverwriteBytes(7, hello, 5);
    EXPECT_EQ(view.m_nFileSize, 6u);
}

TEST_F(ViewTest, DeleteTheWholeImageLeavesNone) {
    SetImage(Iota(10));
    view.m_nSelStart = 0;
    view.m_nSelEnd = 9;
    host.ValidateAll();
    view.DeleteSelection();
    EXPECT_EQ(view.m_pData, nullptr);
    EXPECT_EQ(view.m_nFileSize, 0u);
    EXPECT_EQ(view.m_nSelStart, 0u);
    EXPECT_EQ(view.m_nSelEnd, 0u);
    EXPECT_EQ(view.m_nCaret, 0u);
    EXPECT_FALSE(host.InvalidRect().IsEmpty());
}

TEST_F(ViewTest, DeleteAtTheEndSelectsTheNewLastByte) {
    SetImage(Iota(10));
    view.m_nSelStart = 7;
    view.m_nSelEnd = 9;
    view.m_nCaret = 8;
    view.DeleteSelection();
    EXPECT_EQ(Image(), Iota(7));
    EXPECT_EQ(view.m_nSelStart, 6u);
    EXPECT_EQ(view.m_nSelEnd, 6u);
    EXPECT_EQ(view.m_nCaret, 6u);
}

TEST_F(ViewTest, DeleteInTheMiddleSelectsTheByteThatFollowed) {
    SetImage(Iota(10));
    view.m_nSelStart = view.m_nSelEnd = 4;
    view.DeleteSelection();
    EXPECT_EQ(Image(), (std::vector<uint8_t>{0, 1, 2, 3, 5, 6, 7, 8, 9}));
    EXPECT_EQ(view.m_nSelStart, 4u);
    EXPECT_EQ(view.m_nSelEnd, 4u);
    EXPECT_EQ(view.m_nCaret, 4u);
    view.m_nSelStart = 0;
    view.m_nSelEnd = 2;
    view.DeleteSelection();
    EXPECT_EQ(Image(), (std::vector<uint8_t>{3, 5, 6, 7, 8, 9}));
    EXPECT_EQ(view.m_nSelStart, 0u);
}

TEST_F(ViewTest, DeleteRecalculatesTheScrollRange) {
    SetImage(16 * 1000);
    const int before = RangeMax();
    view.m_nSelStart = 0;
    view.m_nSelEnd = 16 * 500 - 1;
    view.DeleteSelection();
    EXPECT_EQ(RangeMax(), before - 500);
}

TEST_F(ViewTest, DeleteOutsideItsContractDoesNothing) {
    view.DeleteSelection();  // no image
    EXPECT_EQ(view.m_pData, nullptr);
    SetImage(0);
    view.DeleteSelection();  // empty image
    EXPECT_NE(view.m_pData, nullptr);
    SetImage(Iota(8));
    for (auto [s, e] : {std::pair<uint32_t, uint32_t>{NO_OFFSET, NO_OFFSET}, {5, 3}, {2, 8}}) {
        view.m_nSelStart = s;
        view.m_nSelEnd = e;
        view.DeleteSelection();
        EXPECT_EQ(Image(), Iota(8));
        EXPECT_EQ(view.m_nSelStart, s);
    }
    EXPECT_TRUE(host.MessageBoxes().empty());
}

TEST_F(ViewTest, AGrowthThatCannotGetItsMemoryChangesNothingAndSaysSo) {
    SetImage(Iota(32));
    view.m_nSelStart = 4;
    view.m_nSelEnd = 8;
    view.m_nCaret = 6;
    const int range = RangeMax();
    host.Allocator().FailCall(1);
    const uint8_t b = 1;
    EXPECT_FALSE(view.InsertBytes(3, &b, 1));
    ASSERT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_EQ(host.MessageBoxes()[0].text,
              "Memory Reallocation Failed, the file in memory was not changed.");
    EXPECT_EQ(host.MessageBoxes()[0].type, mb::Ok | mb::IconError);
    EXPECT_EQ(Image(), Iota(32));
    EXPECT_EQ(view.m_nSelStart, 4u);
    EXPECT_EQ(view.m_nSelEnd, 8u);
    EXPECT_EQ(view.m_nCaret, 6u);
    EXPECT_EQ(RangeMax(), range);
}

TEST_F(ViewTest, ADeletionWithoutASmallerBlockKeepsTheRestInTheOldOneAtItsExactLength) {
    for (auto [s, e] : {std::pair<uint32_t, uint32_t>{2, 4}, {28, 31}}) {
        SetImage(Iota(32));
        view.m_nSelStart = s;
        view.m_nSelEnd = e;
        host.Allocator().FailCall(1);
        view.DeleteSelection();
        std::vector<uint8_t> expected = Iota(32);
        expected.erase(expected.begin() + s, expected.begin() + e + 1);
        EXPECT_EQ(Image(), expected);
        EXPECT_EQ(view.m_nSelStart, e == 31 ? 27u : s);
        // The image goes on growing and shrinking from its true length.
        const uint8_t b = 0xEE;
        ASSERT_TRUE(view.InsertBytes(view.m_nFileSize, &b, 1));
        expected.push_back(b);
        EXPECT_EQ(Image(), expected);
    }
    EXPECT_EQ(host.Allocator().Failures(), 2);
    EXPECT_TRUE(host.MessageBoxes().empty());
}

// Random insertions, overwrites and deletions applied both to the view and
// to a plain vector; they must agree after every step.
TEST_F(ViewTest, RandomEditsMatchAPlainVector) {
    const unsigned seed = 20261208;
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    std::vector<uint8_t> model = Iota(64);
    SetImage(model);

    for (int step = 0; step < 20000; ++step) {
        const uint32_t n = uint32_t(model.size());
        const int op = int(rng() % 3);
        std::vector<uint8_t> bytes(rng() % 9);
        for (auto& b : bytes) b = uint8_t(rng());
        if (op == 0 || n == 0) {
            const uint32_t pos = rng() % (n + 1);
            ASSERT_TRUE(view.InsertBytes(pos, bytes.data(), uint32_t(bytes.size())));
            model.insert(model.begin() + pos, bytes.begin(), bytes.end());
        } else if (op == 1) {
            const uint32_t pos = rng() % (n + 1);
            view.OverwriteBytes(pos, bytes.data(), uint32_t(bytes.size()));
            for (size_t i = 0; i < bytes.size() && pos + i < n; ++i) model[pos + i] = bytes[i];
        } else {
            const uint32_t s = rng() % n;
            const uint32_t e = std::min<uint32_t>(n - 1, s + rng() % 12);
            view.m_nSelStart = s;
            view.m_nSelEnd = e;
            view.DeleteSelection();
            model.erase(model.begin() + s, model.begin() + e + 1);
            const uint32_t expected =
                model.empty() ? 0 : (e == n - 1 ? uint32_t(model.size() - 1) : s);
            ASSERT_EQ(view.m_nSelStart, expected) << "step " << step;
            ASSERT_EQ(view.m_nSelEnd, expected);
            if (model.empty()) {
                ASSERT_EQ(view.m_pData, nullptr);
                SetImage(model);
            }
        }
        ASSERT_EQ(view.m_nFileSize, model.size()) << "step " << step;
        ASSERT_EQ(Image(), model) << "step " << step;
    }
}
