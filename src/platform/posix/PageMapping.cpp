// Mappings placed on a 2 MiB boundary and advised to use huge pages:
// filling a large image then costs one page fault per 2 MiB instead of one
// per 4 KiB, and growing it is a remap of page tables (in place when the
// address space allows, otherwise to another 2 MiB boundary) rather than a
// copy of every byte.
#include "platform/PageMapping.h"

#include <sys/mman.h>
#include <cstdint>

namespace platform::sys {
namespace {

/// An address range of length bytes starting on a kMappingUnit boundary,
/// or null.
void* MapAligned(size_t length, int prot) {
    const size_t span = length + kMappingUnit;
    void* raw = ::mmap(nullptr, span, prot, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) return nullptr;
    const uintptr_t start = uintptr_t(raw);
    const uintptr_t aligned = (start + kMappingUnit - 1) & ~uintptr_t(kMappingUnit - 1);
    if (aligned > start) ::munmap(raw, aligned - start);
    const uintptr_t end = aligned + length;
    if (start + span > end) ::munmap(reinterpret_cast<void*>(end), start + span - end);
    return reinterpret_cast<void*>(aligned);
}

}  // namespace

void* MapPages(size_t length) {
    void* base = MapAligned(length, PROT_READ | PROT_WRITE);
    if (base) (void)::madvise(base, length, MADV_HUGEPAGE);  // advice only; may be unsupported
    return base;
}

void* ResizePages(void* base, size_t oldLength, size_t length) {
    if (length < oldLength) {
        ::munmap(static_cast<char*>(base) + length, oldLength - length);
        return base;
    }
    if (length == oldLength) return base;
    void* grown = ::mremap(base, oldLength, length, 0);
    if (grown != MAP_FAILED) return grown;
    // No room behind the block: move its page tables to a new aligned
    // range, which keeps huge pages whole and is cheap.
    void* target = MapAligned(length, PROT_NONE);
    if (!target) return nullptr;
    grown = ::mremap(base, oldLength, length, MREMAP_MAYMOVE | MREMAP_FIXED, target);
    if (grown == MAP_FAILED) {
        ::munmap(target, length);
        return nullptr;
    }
    return grown;
}

void UnmapPages(void* base, size_t length) { ::munmap(base, length); }

}  // namespace platform::sys
