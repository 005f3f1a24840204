// The process heap for small blocks; large blocks (a loaded image) get a
// mapping of their own, placed on a 2 MiB boundary and advised to use huge
// pages. Filling a large image then costs one page fault per 2 MiB instead
// of one per 4 KiB, and growing it is a remap of page tables (in place when
// the address space allows, otherwise to another 2 MiB boundary) rather than
// a copy of every byte.
#include "platform/Allocator.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sys/mman.h>

namespace platform {
namespace {

constexpr size_t HUGE_PAGE = size_t(2) << 20;
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

size_t MappingLength(size_t size) {
    return (size + sizeof(Header) + HUGE_PAGE - 1) & ~(HUGE_PAGE - 1);
}

/// An address range of length bytes starting on a 2 MiB boundary, or null.
void* MapAligned(size_t length, int prot) {
    const size_t span = length + HUGE_PAGE;
    void* raw = ::mmap(nullptr, span, prot, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) return nullptr;
    const uintptr_t start = uintptr_t(raw);
    const uintptr_t aligned = (start + HUGE_PAGE - 1) & ~uintptr_t(HUGE_PAGE - 1);
    if (aligned > start) ::munmap(raw, aligned - start);
    const uintptr_t end = aligned + length;
    if (start + span > end) ::munmap(reinterpret_cast<void*>(end), start + span - end);
    return reinterpret_cast<void*>(aligned);
}

void* AllocateHeap(size_t size) {
    auto* header = static_cast<Header*>(std::malloc(sizeof(Header) + size));
    if (!header) return nullptr;
    *header = {size, 0};
    return BlockOf(header);
}

void* AllocateMapped(size_t size) {
    const size_t length = MappingLength(size);
    void* base = MapAligned(length, PROT_READ | PROT_WRITE);
    if (!base) return nullptr;
    (void)::madvise(base, length, MADV_HUGEPAGE);  // advice only; may be unsupported
    auto* header = static_cast<Header*>(base);
    *header = {size, length};
    return BlockOf(header);
}

void* AllocateFor(size_t size) {
    return size >= LARGE_BLOCK ? AllocateMapped(size) : AllocateHeap(size);
}

/// Moves a block to a new one of the other kind.
void* MoveBlock(void* block, size_t size, void* (*allocate)(size_t)) {
    void* moved = allocate(size);
    if (!moved) return nullptr;
    Header* old = HeaderOf(block);
    std::memcpy(moved, block, old->size < size ? old->size : size);
    if (old->mapped) ::munmap(old, old->mapped);
    else std::free(old);
    return moved;
}

void* ResizeMapped(void* block, size_t size) {
    Header* header = HeaderOf(block);
    const size_t oldLength = header->mapped;
    const size_t length = MappingLength(size);
    if (length < oldLength) {
        ::munmap(reinterpret_cast<char*>(header) + length, oldLength - length);
    } else if (length > oldLength) {
        void* grown = ::mremap(header, oldLength, length, 0);
        if (grown == MAP_FAILED) {
            // No room behind the block: move its page tables to a new
            // aligned range, which keeps huge pages whole and is cheap.
            void* target = MapAligned(length, PROT_NONE);
            if (!target) return nullptr;
            grown = ::mremap(header, oldLength, length, MREMAP_MAYMOVE | MREMAP_FIXED, target);
            if (grown == MAP_FAILED) {
                ::munmap(target, length);
                return nullptr;
            }
        }
        header = static_cast<Header*>(grown);
    }
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
        if (!block) return;
        Header* header = HeaderOf(block);
        if (header->mapped) ::munmap(header, header->mapped);
        else std::free(header);
    }
};

}  // namespace

Allocator& DefaultAllocator() {
    static HeapAllocator heap;
    return heap;
}

}  // namespace platform
