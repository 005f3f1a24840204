// Large blocks on Windows: address space is reserved well beyond the
// block and pages are committed as it grows, so that growing it (an
// insertion) costs no copy until the reservation is used up.
#include "platform/PageMapping.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace platform::sys {
namespace {

/// Reserved for a block of length bytes: twice its length, and at least
/// 4 GiB, so that any image a load allows can grow without moving. Address
/// space is plentiful in a 64-bit process; only committed pages cost memory.
size_t Reservation(size_t length) {
    constexpr size_t kLeast = size_t(4) << 30;
    return length > SIZE_MAX / 4 ? length : std::max(2 * length, kLeast);
}

char* At(void* base, size_t offset) { return static_cast<char*>(base) + offset; }

}  // namespace

void* MapPages(size_t length) {
    void* base = ::VirtualAlloc(nullptr, Reservation(length), MEM_RESERVE, PAGE_NOACCESS);
    if (!base) base = ::VirtualAlloc(nullptr, length, MEM_RESERVE, PAGE_NOACCESS);
    if (!base) return nullptr;
    if (!::VirtualAlloc(base, length, MEM_COMMIT, PAGE_READWRITE)) {
        ::VirtualFree(base, 0, MEM_RELEASE);
        return nullptr;
    }
    return base;
}

void* ResizePages(void* base, size_t oldLength, size_t length) {
    if (length <= oldLength) {
        if (length < oldLength) ::VirtualFree(At(base, length), oldLength - length, MEM_DECOMMIT);
        return base;
    }
    // Committing the pages behind the block, where they are still reserved
    // for it, keeps it in place.
    MEMORY_BASIC_INFORMATION behind{};
    const bool reserved = ::VirtualQuery(At(base, oldLength), &behind, sizeof behind) &&
                          behind.AllocationBase == base && behind.State == MEM_RESERVE &&
                          behind.RegionSize >= length - oldLength;
    if (reserved) {
        return ::VirtualAlloc(At(base, oldLength), length - oldLength, MEM_COMMIT, PAGE_READWRITE)
                   ? base
                   : nullptr;
    }
    void* moved = MapPages(length);
    if (!moved) return nullptr;
    std::memcpy(moved, base, oldLength);
    ::VirtualFree(base, 0, MEM_RELEASE);
    return moved;
}

void UnmapPages(void* base, size_t) { ::VirtualFree(base, 0, MEM_RELEASE); }

}  // namespace platform::sys
