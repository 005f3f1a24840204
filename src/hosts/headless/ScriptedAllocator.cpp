#include "hosts/headless/ScriptedAllocator.h"

#include <new>

namespace headless {

bool ScriptedAllocator::ShouldFail() {
    ++m_calls;
    bool fail = m_failAll;
    if (m_failIn > 0 && --m_failIn == 0) fail = true;
    m_failures += fail;
    return fail;
}

void* ScriptedAllocator::Allocate(size_t size) {
    if (ShouldFail()) return nullptr;
    return platform::DefaultAllocator().Allocate(size);
}

void* ScriptedAllocator::Reallocate(void* block, size_t size) {
    if (ShouldFail()) return nullptr;
    return platform::DefaultAllocator().Reallocate(block, size);
}

void ScriptedAllocator::Free(void* block) { platform::DefaultAllocator().Free(block); }

void* ScriptedAllocator::TemporaryResource::do_allocate(size_t bytes, size_t alignment) {
    ++allocations;
    if (failIn > 0 && --failIn == 0) {
        ++failures;
        throw std::bad_alloc();
    }
    return std::pmr::new_delete_resource()->allocate(bytes, alignment);
}

void ScriptedAllocator::TemporaryResource::do_deallocate(void* p, size_t bytes, size_t alignment) {
    std::pmr::new_delete_resource()->deallocate(p, bytes, alignment);
}

}  // namespace headless
