#include "document/ByteImage.h"

#include <algorithm>
#include <cstring>

void ByteImage::SetAllocator(platform::Allocator& allocator) {
    Release();
    m_pAllocator = &allocator;
}

uint8_t* ByteImage::Change() {
    ++m_nChanges;
    // The block comes from the allocator, writable; only this class writes it.
    return const_cast<uint8_t*>(m_pBlock);
}

bool ByteImage::Allocate(uint32_t size) {
    Release();
    m_pBlock = static_cast<uint8_t*>(m_pAllocator->Allocate(size));
    if (m_pBlock == nullptr) return false;
    ++m_nChanges;
    m_nSize = size;
    return true;
}

void ByteImage::Release() {
    if (m_pBlock) m_pAllocator->Free(Change());
    m_pBlock = nullptr;
    m_nSize = 0;
}

uint8_t* ByteImage::Fill() { return Change(); }

bool ByteImage::Resize(uint32_t size) {
    void* resized = m_pAllocator->Reallocate(Change(), size);
    if (resized == nullptr) return false;
    m_pBlock = static_cast<uint8_t*>(resized);
    return true;
}

ByteImage::Edit ByteImage::Insert(uint32_t position, const uint8_t* bytes, uint32_t count) {
    if (m_pBlock == nullptr || position > m_nSize) return Edit::Refused;
    if (count > MAX_SIZE - m_nSize) return Edit::TooLarge;
    if (!Resize(m_nSize + count)) return Edit::NoMemory;
    uint8_t* block = Change();
    std::memmove(block + position + count, block + position, m_nSize - position);
    m_nSize += count;
    if (count) std::memcpy(block + position, bytes, count);
    return Edit::Done;
}

void ByteImage::Overwrite(uint32_t position, const uint8_t* bytes, uint32_t count) {
    if (m_pBlock == nullptr || position > m_nSize) return;
    if (count > m_nSize - position) count = m_nSize - position;
    if (count) std::memcpy(Change() + position, bytes, count);
}

void ByteImage::Exchange(uint32_t position, uint8_t* bytes, uint32_t count) {
    if (count) std::swap_ranges(bytes, bytes + count, Change() + position);
}

ByteImage::Edit ByteImage::Erase(uint32_t first, uint32_t count) {
    if (m_pBlock == nullptr || first > m_nSize || count > m_nSize - first) return Edit::Refused;
    const uint32_t end = first + count;
    uint8_t* block = Change();
    std::memmove(block + first, block + end, m_nSize - end);
    m_nSize -= count;
    (void)Resize(m_nSize);  // a larger block holds the bytes as well
    return Edit::Done;
}
