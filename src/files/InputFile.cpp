// Reading a file ahead of the core's small reads, in blocks of
// IoBlockSize() bytes, straight into the caller's memory where it allows;
// opening it and the system's own read call are in each system's FileIO.cpp.
#include <algorithm>
#include <cstring>
#include <new>

#include "files/FileConditions.h"
#include "files/FileIO.h"
#include "files/IoBlock.h"
#include "files/SystemFiles.h"

namespace files {

char* InputFile::AheadFor(char* to, size_t& size) {
    if (to >= m_area && to < m_area + m_areaSize) {
        size = std::min(IoBlockSize(), size_t(m_area + m_areaSize - to));
        return to;
    }
    if (!m_block) {
        m_blockSize = IoBlockSize();
        m_block.reset(new (std::nothrow) char[m_blockSize]);
    }
    size = m_blockSize;
    return m_block.get();
}

int64_t InputFile::Read(void* buffer, size_t size) {
    if (m_file == NO_FILE || CurrentConditions().ReadFails()) return -1;
    char* to = static_cast<char*>(buffer);
    if (m_next == m_end) {
        size_t aheadSize = 0;
        char* ahead = AheadFor(to, aheadSize);
        // Large reads, and all reads without memory for a block, go as asked.
        if (!ahead || size >= aheadSize) return ReadFromSystem(buffer, size);
        const int64_t got = ReadFromSystem(ahead, aheadSize);
        if (got <= 0) return got;
        m_next = ahead;
        m_end = ahead + got;
    }
    const size_t n = std::min(size, size_t(m_end - m_next));
    if (m_next != to) std::memmove(to, m_next, n);
    m_next += n;
    return int64_t(n);
}

void InputFile::SetReadArea(void* area, size_t size) {
    m_area = static_cast<char*>(area);
    m_areaSize = size;
}

void InputFile::Close() {
    sys::Close(m_file);
    m_length = 0;
    m_block.reset();
    m_area = nullptr;
    m_areaSize = 0;
    m_next = m_end = nullptr;
}

}  // namespace files
