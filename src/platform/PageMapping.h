// Pages of their own for large heap blocks, from the operating system: one
// version for POSIX (platform/posix) and one for Windows (platform/win32).
// Internal to the allocator.
#pragma once

#include <cstddef>

namespace platform::sys {

/// The unit mapped lengths are rounded up to: a huge page on POSIX, the
/// allocation granularity on Windows.
#ifdef _WIN32
constexpr size_t kMappingUnit = size_t(64) << 10;
#else
constexpr size_t kMappingUnit = size_t(2) << 20;
#endif

/// length bytes (a multiple of kMappingUnit) of zeroed, writable pages
/// starting on a kMappingUnit boundary, or null.
void* MapPages(size_t length);
/// Resizes the pages at base from oldLength to length (both multiples of
/// kMappingUnit), keeping the contents up to the shorter; growing does not
/// copy the bytes where the system can avoid it. May move them; null on
/// failure, with the old pages intact.
void* ResizePages(void* base, size_t oldLength, size_t length);
void UnmapPages(void* base, size_t length);

}  // namespace platform::sys
