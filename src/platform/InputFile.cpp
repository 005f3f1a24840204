// Reading a file ahead of the core's small reads, in blocks of
// IoBlockSize() bytes; opening it and the system's own read call are in
// each system's FileIO.cpp.
#include <algorithm>
#include <cstring>
#include <new>

#include "platform/FileIO.h"
#include "platform/IoBlock.h"
#include "platform/SystemFiles.h"

namespace platform {

int64_t InputFile::Read(void* buffer, size_t size) {
    if (m_file == NO_FILE || sys::ReadFailureInjected()) return -1;
    if (m_aheadAt == m_aheadEnd) {
        if (!m_ahead) {
            m_aheadSize = IoBlockSize();
            m_ahead.reset(new (std::nothrow) char[m_aheadSize]);
        }
        // Large reads, and all reads without memory for a block, go as asked.
        if (!m_ahead || size >= m_aheadSize) return ReadFromSystem(buffer, size);
        const int64_t got = ReadFromSystem(m_ahead.get(), m_aheadSize);
        if (got <= 0) return got;
        m_aheadAt = 0;
        m_aheadEnd = size_t(got);
    }
    const size_t n = std::min(size, m_aheadEnd - m_aheadAt);
    std::memcpy(buffer, m_ahead.get() + m_aheadAt, n);
    m_aheadAt += n;
    return int64_t(n);
}

void InputFile::Close() {
    sys::Close(m_file);
    m_length = 0;
    m_ahead.reset();
    m_aheadAt = m_aheadEnd = 0;
}

}  // namespace platform
