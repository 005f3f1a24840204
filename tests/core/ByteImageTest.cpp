// The image on its own: random edits against a std::vector, with the exact
// length of the block and failed reallocations checked at every step.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <random>
#include <vector>

#include "document/ByteImage.h"

namespace {

/// The heap, remembering the length of every live block and failing the
/// calls it is told to.
class TrackingAllocator final : public platform::Allocator {
public:
    void* Allocate(size_t size) override {
        if (ShouldFail()) return nullptr;
        void* block = std::malloc(size ? size : 1);
        m_blocks[block] = size;
        return block;
    }
    void* Reallocate(void* block, size_t size) override {
        if (ShouldFail()) return nullptr;
        m_blocks.erase(block);
        void* resized = std::realloc(block, size ? size : 1);
        m_blocks[resized] = size;
        return resized;
    }
    void Free(void* block) override {
        m_blocks.erase(block);
        std::free(block);
    }

    void FailNext() { m_failNext = true; }
    int Calls() const { return m_calls; }
    size_t LiveBlocks() const { return m_blocks.size(); }
    size_t LengthOf(const void* block) const {
        const auto it = m_blocks.find(const_cast<void*>(block));
        return it == m_blocks.end() ? SIZE_MAX : it->second;
    }

private:
    bool ShouldFail() {
        ++m_calls;
        const bool fail = m_failNext;
        m_failNext = false;
        return fail;
    }

    std::map<void*, size_t> m_blocks;
    bool m_failNext = false;
    int m_calls = 0;
};

std::vector<uint8_t> Contents(const ByteImage& image) {
    return image.Data() ? std::vector<uint8_t>(image.Data(), image.Data() + image.Size())
                        : std::vector<uint8_t>{};
}

}  // namespace

TEST(ByteImage, RandomEditsMatchAFlatVector) {
    const unsigned seed = 20261209;
    SCOPED_TRACE("byte image seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    TrackingAllocator allocator;
    ByteImage image(allocator);
    std::vector<uint8_t> oracle;
    bool spare = false;

    for (int step = 0; step < 20000; ++step) {
        // Every call but an overwrite asks the allocator; one in sixteen fails.
        const bool fail = rng() % 16 == 0;
        const uint32_t size = uint32_t(oracle.size());
        const unsigned action = rng() % 10;
        std::string what;
        if (image.Data() == nullptr || action == 0) {
            what = "allocate";
            const uint32_t n = rng() % 40;
            if (fail) allocator.FailNext();
            const bool made = image.Allocate(n);
            EXPECT_EQ(made, !fail);
            oracle.assign(made ? n : 0, 0);
            if (made) std::fill_n(image.Fill(), n, uint8_t(0));
            else EXPECT_EQ(image.Data(), nullptr);
        } else if (action < 5) {
            const uint32_t at = rng() % (size + 1);
            std::vector<uint8_t> bytes(rng() % 9);
            for (auto& b : bytes) b = uint8_t(rng());
            what = "insert " + std::to_string(bytes.size()) + " at " + std::to_string(at);
            if (fail) allocator.FailNext();
            const ByteImage::Edit edit = image.Insert(at, bytes.data(), uint32_t(bytes.size()));
            EXPECT_EQ(edit, fail ? ByteImage::Edit::NoMemory : ByteImage::Edit::Done);
            if (!fail) oracle.insert(oracle.begin() + at, bytes.begin(), bytes.end());
        } else if (action < 7) {
            const uint32_t at = rng() % (size + 1);
            std::vector<uint8_t> bytes(rng() % 9);
            for (auto& b : bytes) b = uint8_t(rng());
            what = "overwrite " + std::to_string(bytes.size()) + " at " + std::to_string(at);
            image.Overwrite(at, bytes.data(), uint32_t(bytes.size()));
            std::copy_n(bytes.begin(), std::min<size_t>(bytes.size(), size - at),
                        oracle.begin() + at);
        } else {
            const uint32_t first = rng() % (size + 1);
            const uint32_t count = rng() % (size - first + 1);
            what = "erase " + std::to_string(count) + " at " + std::to_string(first);
            if (fail) allocator.FailNext();
            // A failed shrink removes the bytes all the same, in the old block.
            EXPECT_EQ(image.Erase(first, count), ByteImage::Edit::Done);
            oracle.erase(oracle.begin() + first, oracle.begin() + first + count);
        }
        ASSERT_EQ(Contents(image), oracle) << "step " << step << ": " << what;
        ASSERT_EQ(image.Size(), oracle.size()) << "step " << step << ": " << what;
        // Spare capacity is left only by a shrink that failed, until the
        // block is next resized.
        const bool resized = what.rfind("overwrite", 0) != 0 && !fail;
        const bool shrinkFailed = what.rfind("erase", 0) == 0 && fail;
        spare = shrinkFailed || (spare && !resized);
        if (image.Data()) {
            const size_t length = allocator.LengthOf(image.Data());
            if (spare) ASSERT_GE(length, image.Size()) << "step " << step << ": " << what;
            else ASSERT_EQ(length, image.Size()) << "step " << step << ": " << what;
        }
        ASSERT_LE(allocator.LiveBlocks(), 1u) << "step " << step << ": " << what;
    }
}

TEST(ByteImage, EditsOutsideTheImageOrPastTheLimitChangeNothing) {
    TrackingAllocator allocator;
    ByteImage image(allocator);
    const uint8_t x = 0x78;
    EXPECT_EQ(image.Insert(0, &x, 1), ByteImage::Edit::Refused) << "no image";
    EXPECT_EQ(image.Erase(0, 0), ByteImage::Edit::Refused) << "no image";
    image.Overwrite(0, &x, 1);
    EXPECT_EQ(image.Data(), nullptr);

    ASSERT_TRUE(image.Allocate(4));
    std::fill_n(image.Fill(), 4, uint8_t(1));
    const int calls = allocator.Calls();
    EXPECT_EQ(image.Insert(5, &x, 1), ByteImage::Edit::Refused) << "past the end";
    EXPECT_EQ(image.Erase(3, 2), ByteImage::Edit::Refused) << "runs past the end";
    EXPECT_EQ(image.Erase(5, 0), ByteImage::Edit::Refused) << "starts past the end";
    // Neither count is read: the refusal comes before the block is touched.
    EXPECT_EQ(image.Insert(0, &x, ByteImage::MAX_SIZE - 3), ByteImage::Edit::TooLarge);
    EXPECT_EQ(image.Insert(4, &x, 0xFFFFFFFCu), ByteImage::Edit::TooLarge) << "would wrap";
    image.Overwrite(5, &x, 1);
    EXPECT_EQ(allocator.Calls(), calls);
    EXPECT_EQ(Contents(image), (std::vector<uint8_t>{1, 1, 1, 1}));
}

TEST(ByteImage, AnEmptyImageExistsAndANewAllocatorTakesOverOnlyNewBlocks) {
    TrackingAllocator first;
    TrackingAllocator second;
    ByteImage image(first);
    ASSERT_TRUE(image.Allocate(0));
    EXPECT_NE(image.Data(), nullptr) << "a 0-byte file still has an image";
    EXPECT_EQ(image.Size(), 0u);

    // The block goes back to the allocator it came from.
    image.SetAllocator(second);
    EXPECT_EQ(image.Data(), nullptr);
    EXPECT_EQ(first.LiveBlocks(), 0u);
    ASSERT_TRUE(image.Allocate(3));
    EXPECT_EQ(second.LiveBlocks(), 1u);

    // A failed allocation leaves no image, not the previous one.
    second.FailNext();
    EXPECT_FALSE(image.Allocate(8));
    EXPECT_EQ(image.Data(), nullptr);
    EXPECT_EQ(image.Size(), 0u);
    EXPECT_EQ(second.LiveBlocks(), 0u);
}
