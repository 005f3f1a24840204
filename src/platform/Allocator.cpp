// The process heap for small blocks; large blocks (a loaded image) get
// pages of their own from the system (see PageMapping.h), which fill and
// grow without copying every byte.
#include "platform/Allocator.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/PageMapping.h"

namespace platform {
namespace {

/// Blocks of at least this size are mapped; mapped blocks that shrink
/// below half of it go back to the heap, so sizes near the boundary do not
/// move between the two on every edit.
constexpr size_t LARGE_BLOCK = size_t(1) << 20;
constexpr size_t LARGEST_BLOCK = SIZE_MAX / 2;

/// Every block starts with its size and, for a mapped block, the length of
/// its mapping (0 for a heap block). 16 bytes keep the caller's bytes
/// aligned for any type.
struct alignas(16) Header {
    size_t size;
    size_t mapped;
};
static_assert(sizeof(Header) == 16);

Header* HeaderOf(void* block) { return static_cast<Header*>(block) - 1; }
void* BlockOf(Header* header) { return header + 1; }

/// A mapped block starts this far into its pages, its header just before
/// it, so that the block is page-aligned: the system copies a file's pages
/// into memory off the cache-line grid at well under full speed.
constexpr size_t MAPPED_OFFSET = 4096;

Header* MappedHeader(void* pages) {
    return reinterpret_cast<Header*>(static_cast<char*>(pages) + MAPPED_OFFSET) - 1;
}
void* PagesOf(Header* header) { return static_cast<char*>(BlockOf(header)) - MAPPED_OFFSET; }

size_t MappingLength(size_t size) {
    return (size + MAPPED_OFFSET + sys::kMappingUnit - 1) & ~(sys::kMappingUnit - 1);
}

void* AllocateHeap(size_t size) {
    auto* header = static_cast<Header*>(std::malloc(sizeof(Header) + size));
    if (!header) return nullptr;
    *header = {size, 0};
    return BlockOf(header);
}

void* AllocateMapped(size_t size) {
    const size_t length = MappingLength(size);
    void* pages = sys::MapPages(length);
    if (!pages) return nullptr;
    Header* header = MappedHeader(pages);
    *header = {size, length};
    return BlockOf(header);
}

void* AllocateFor(size_t size) {
    return size >= LARGE_BLOCK ? AllocateMapped(size) : AllocateHeap(size);
}

void Release(Header* header) {
    if (header->mapped) sys::UnmapPages(PagesOf(header), header->mapped);
    else std::free(header);
}

/// Moves a block to a new one of the other kind.
void* MoveBlock(void* block, size_t size, void* (*allocate)(size_t)) {
    void* moved = allocate(size);
    if (!moved) return nullptr;
    Header* old = HeaderOf(block);
    std::memcpy(moved, block, old->size < size ? old->size : size);
    Release(old);
    return moved;
}

void* ResizeMapped(void* block, size_t size) {
    Header* header = HeaderOf(block);
    const size_t length = MappingLength(size);
    void* pages = sys::ResizePages(PagesOf(header), header->mapped, length);
    if (!pages) return nullptr;
    header = MappedHeader(pages);
    header->size = size;
    header->mapped = length;
    return BlockOf(header);
}

class HeapAllocator final : public Allocator {
public:
    void* Allocate(size_t size) override {
        return size > LARGEST_BLOCK ? nullptr : AllocateFor(size);
    }

    void* Reallocate(void* block, size_t size) override {
        if (!block) return Allocate(size);
        if (size > LARGEST_BLOCK) return nullptr;
        Header* header = HeaderOf(block);
        if (header->mapped) {
            if (size < LARGE_BLOCK / 2) return MoveBlock(block, size, AllocateHeap);
            return ResizeMapped(block, size);
        }
        if (size >= LARGE_BLOCK) return MoveBlock(block, size, AllocateMapped);
        auto* resized = static_cast<Header*>(std::realloc(header, sizeof(Header) + size));
        if (!resized) return nullptr;
        resized->size = size;
        return BlockOf(resized);
    }

    void Free(void* block) override {
        if (block) Release(HeaderOf(block));
    }
};

}  // namespace

Allocator& DefaultAllocator() {
    static HeapAllocator heap;
    return heap;
}

}  // namespace platform
