#include "files/GatheredWrites.h"

#include <algorithm>
#include <new>

#include "files/IoBlock.h"
#include "files/SystemFiles.h"

namespace files {

GatheredWrites::GatheredWrites(const FileHandle& file) : m_file(file), m_capacity(IoBlockSize()) {}

bool GatheredWrites::Append(const void* data, size_t size) {
    if (m_pending.capacity() < m_capacity) {
        try {
            m_pending.reserve(m_capacity);
        } catch (const std::bad_alloc&) {
            return Issue(data, size);  // no memory to gather in: write as it comes
        }
    }
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const size_t n = std::min(size, m_capacity - m_pending.size());
        m_pending.insert(m_pending.end(), bytes, bytes + n);
        bytes += n;
        size -= n;
        if (m_pending.size() == m_capacity && !Drain()) return false;
    }
    return true;
}

bool GatheredWrites::Drain() {
    if (m_pending.empty()) return true;
    const bool written = Issue(m_pending.data(), m_pending.size());
    m_pending.clear();
    return written;
}

bool GatheredWrites::Issue(const void* data, size_t size) {
    const uint64_t offset = m_issued;
    m_issued += size;
    return sys::WriteAllAt(m_file, data, size, offset);
}

}  // namespace files
