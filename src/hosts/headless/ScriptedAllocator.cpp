#include "hosts/headless/ScriptedAllocator.h"

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

}  // namespace headless
