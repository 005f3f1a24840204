// The heap the image lives in. Allocation is a service so that tests can make
// any allocation fail and so that large blocks can be placed for cheap
// resizing.
#pragma once

#include <cstddef>

namespace platform {

class Allocator {
public:
    virtual ~Allocator() = default;
    /// A block of size bytes (size 0 gives a valid, distinct block), or null.
    virtual void* Allocate(size_t size) = 0;
    /// Resizes block, keeping the contents up to the shorter length. On
    /// failure returns null and leaves block untouched.
    virtual void* Reallocate(void* block, size_t size) = 0;
    virtual void Free(void* block) = 0;
};

/// The process heap; large blocks get mappings of their own (huge pages,
/// cheap resizing).
Allocator& DefaultAllocator();

}  // namespace platform
