// The process heap with failures on demand.
#pragma once

#include <cstddef>

#include "platform/Allocator.h"

namespace headless {

class ScriptedAllocator final : public platform::Allocator {
public:
    /// The n-th allocation or reallocation from now (1 = the next) fails.
    void FailCall(int n) { m_failIn = n; }
    /// Every allocation and reallocation fails while set.
    void FailAll(bool fail) { m_failAll = fail; }
    int Calls() const { return m_calls; }
    int Failures() const { return m_failures; }

    void* Allocate(size_t size) override;
    void* Reallocate(void* block, size_t size) override;
    void Free(void* block) override;

private:
    bool ShouldFail();

    int m_failIn = 0;
    bool m_failAll = false;
    int m_calls = 0;
    int m_failures = 0;
};

}  // namespace headless
