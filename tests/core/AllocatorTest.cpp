// The default allocator: the Allocator contract for small and large blocks,
// and the placement that keeps large blocks cheap to fill and to resize.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#ifndef _WIN32
#include <sys/mman.h>
#endif

#include "platform/Allocator.h"

using platform::DefaultAllocator;

namespace {

constexpr size_t MiB = size_t(1) << 20;

/// Marks every 4093rd byte of a block (and the last) with its position.
void Fill(void* block, size_t size) {
    auto* p = static_cast<uint8_t*>(block);
    for (size_t i = 0; i < size; i += 4093) p[i] = uint8_t(i / 4093 + 1);
    if (size) p[size - 1] = uint8_t(size);
}

/// True when the first size bytes still carry Fill's marks (not the last).
bool Holds(const void* block, size_t size) {
    auto* p = static_cast<const uint8_t*>(block);
    for (size_t i = 0; i + 1 < size; i += 4093) {
        if (p[i] != uint8_t(i / 4093 + 1)) return false;
    }
    return true;
}

}  // namespace

TEST(DefaultAllocator, EmptyBlocksAreValidAndDistinct) {
    auto& heap = DefaultAllocator();
    void* a = heap.Allocate(0);
    void* b = heap.Allocate(0);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    void* c = heap.Reallocate(a, 0);
    ASSERT_NE(c, nullptr);
    heap.Free(c);
    heap.Free(b);
    heap.Free(nullptr);
}

TEST(DefaultAllocator, ResizingKeepsTheContentsAcrossEveryKindOfBlock) {
    auto& heap = DefaultAllocator();
    size_t size = 1000;
    void* block = heap.Allocate(size);
    ASSERT_NE(block, nullptr);
    Fill(block, size);
    // Small to large, large growing, large shrinking, back to small.
    for (size_t next : std::initializer_list<size_t>{3 * MiB, 3 * MiB + 1, 11 * MiB, 5 * MiB,
                                                     700 * 1024, 100 * 1024, 10}) {
        void* resized = heap.Reallocate(block, next);
        ASSERT_NE(resized, nullptr) << next;
        ASSERT_TRUE(Holds(resized, std::min(size, next) - 1)) << next;
        block = resized;
        size = next;
        Fill(block, size);
    }
    heap.Free(block);
}

TEST(DefaultAllocator, AFailedResizeReturnsNullAndLeavesTheBlock) {
    auto& heap = DefaultAllocator();
    for (size_t size : {size_t(100), 4 * MiB}) {
        void* block = heap.Allocate(size);
        ASSERT_NE(block, nullptr);
        Fill(block, size);
        EXPECT_EQ(heap.Reallocate(block, SIZE_MAX - 8), nullptr);
        EXPECT_TRUE(Holds(block, size));
        heap.Free(block);
    }
    EXPECT_EQ(heap.Allocate(SIZE_MAX - 8), nullptr);
}

TEST(DefaultAllocator, LargeBlocksStartOnAPage) {
    // Copies from a file's pages into a block off the cache-line grid, as a
    // load makes, run at well under full speed.
    auto& heap = DefaultAllocator();
    void* fresh = heap.Allocate(MiB);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(uintptr_t(fresh) % 4096, 0u);
    heap.Free(fresh);
    // Moved from the heap, grown and shrunk.
    void* block = heap.Allocate(1000);
    for (size_t size : {3 * MiB, 40 * MiB, MiB}) {
        block = heap.Reallocate(block, size);
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(uintptr_t(block) % 4096, 0u) << size;
    }
    heap.Free(block);
}

#ifndef _WIN32
TEST(DefaultAllocator, LargeBlocksStayOnHugePageBoundariesWhenTheyMove) {
    auto& heap = DefaultAllocator();
    const uintptr_t hugePage = 2 * MiB;
    void* block = heap.Allocate(6 * MiB);
    ASSERT_NE(block, nullptr);
    Fill(block, 6 * MiB);
    // The block's mapping starts on the 2 MiB boundary a page below it.
    const uintptr_t base = uintptr_t(block) & ~(hugePage - 1);
    EXPECT_EQ(uintptr_t(block) - base, 4096u);

    // Occupy the address range behind the block so it cannot grow in place.
    void* wall = ::mmap(reinterpret_cast<void*>(base + 8 * MiB), 4096, PROT_NONE,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE, -1, 0);
    void* moved = heap.Reallocate(block, 20 * MiB);
    ASSERT_NE(moved, nullptr);
    EXPECT_TRUE(Holds(moved, 6 * MiB - 1));
    EXPECT_EQ(uintptr_t(moved) & (hugePage - 1), uintptr_t(block) & (hugePage - 1));
    if (wall != MAP_FAILED) {
        EXPECT_NE(moved, block);
        ::munmap(wall, 4096);
    }
    Fill(moved, 20 * MiB);
    heap.Free(moved);
}
#else
TEST(DefaultAllocator, LargeBlocksGrowWithoutMoving) {
    // Address space is reserved behind a large block: growing it, as an
    // insertion does, commits pages there instead of copying every byte.
    auto& heap = DefaultAllocator();
    void* block = heap.Allocate(6 * MiB);
    ASSERT_NE(block, nullptr);
    Fill(block, 6 * MiB);
    for (size_t size : {20 * MiB, 300 * MiB, 2048 * MiB}) {
        void* grown = heap.Reallocate(block, size);
        ASSERT_EQ(grown, block) << size;
        EXPECT_TRUE(Holds(grown, 6 * MiB - 1)) << size;
        static_cast<uint8_t*>(grown)[size - 1] = 1;  // the new pages are there
    }
    // Shrunk and grown again, it stays too.
    ASSERT_EQ(heap.Reallocate(block, 2 * MiB), block);
    ASSERT_EQ(heap.Reallocate(block, 40 * MiB), block);
    EXPECT_TRUE(Holds(block, 2 * MiB - 1));
    heap.Free(block);
}
#endif
