// The process heap with failures on demand: for the image's blocks, and
// separately for the temporary blocks of copy and paste.
#pragma once

#include <cstddef>
#include <memory_resource>

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

    /// The n-th temporary allocation from now (1 = the next) throws
    /// std::bad_alloc; 0 disarms.
    void FailTemporary(int n) { m_temporary.failIn = n; }
    int TemporaryAllocations() const { return m_temporary.allocations; }
    int TemporaryFailures() const { return m_temporary.failures; }

    void* Allocate(size_t size) override;
    void* Reallocate(void* block, size_t size) override;
    void Free(void* block) override;
    std::pmr::memory_resource& TemporaryMemory() override { return m_temporary; }

private:
    bool ShouldFail();

    /// The process heap, counting allocations and failing the armed one.
    struct TemporaryResource final : std::pmr::memory_resource {
        int failIn = 0;
        int allocations = 0;
        int failures = 0;

        void* do_allocate(size_t bytes, size_t alignment) override;
        void do_deallocate(void* p, size_t bytes, size_t alignment) override;
        bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override {
            return this == &other;
        }
    };

    int m_failIn = 0;
    bool m_failAll = false;
    int m_calls = 0;
    int m_failures = 0;
    TemporaryResource m_temporary;
};

}  // namespace headless
