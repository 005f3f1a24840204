// The heap the image lives in, and the memory of the short-lived blocks of a
// copy or paste. Allocation is a service so that tests can make any
// allocation fail and so that large blocks can be placed for cheap resizing.
#pragma once

#include <cstddef>
#include <memory_resource>

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

    /// Memory for the temporary blocks of a copy or paste: clipboard texts
    /// and the bytes read from them. A failed allocation throws
    /// std::bad_alloc, as operator new does. By default the process heap.
    virtual std::pmr::memory_resource& TemporaryMemory() {
        return *std::pmr::new_delete_resource();
    }
};

/// The process heap; large blocks get mappings of their own (huge pages,
/// cheap resizing).
Allocator& DefaultAllocator();

}  // namespace platform
