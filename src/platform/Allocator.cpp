#include "platform/Allocator.h"

#include <cstdlib>

namespace platform {
namespace {

class HeapAllocator final : public Allocator {
public:
    void* Allocate(size_t size) override { return std::malloc(size ? size : 1); }
    void* Reallocate(void* block, size_t size) override {
        return std::realloc(block, size ? size : 1);
    }
    void Free(void* block) override { std::free(block); }
};

}  // namespace

Allocator& DefaultAllocator() {
    static HeapAllocator heap;
    return heap;
}

}  // namespace platform
