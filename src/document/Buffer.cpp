// The image and the primitives that change its length or contents. The
// image is one heap block of exactly m_nFileSize bytes, resized in place for
// every insertion and deletion.
#include <cstring>

#include "view/HexView.h"

namespace {

/// The largest image the editor holds; sizes stay representable as
/// non-negative 32-bit numbers everywhere.
constexpr uint32_t MAX_IMAGE_SIZE = 0x7FFFFFFF;

}  // namespace

void CHexView::ReleaseImage() {
    if (m_pData) m_pAllocator->Free(m_pData);
    m_pData = nullptr;
    m_nFileSize = 0;
}

bool CHexView::InsertBytes(uint32_t position, const uint8_t* bytes, uint32_t count) {
    if (m_pData == nullptr || position > m_nFileSize) return false;
    if (count > MAX_IMAGE_SIZE - m_nFileSize) {
        ShowError("Could not insert data, files over 2.14GB are not supported.");
        return false;
    }
    void* grown = m_pAllocator->Reallocate(m_pData, size_t(m_nFileSize) + count);
    if (grown == nullptr) {
        UnloadOnAllocFailure();
        return false;
    }
    m_pData = static_cast<uint8_t*>(grown);
    std::memmove(m_pData + position + count, m_pData + position, m_nFileSize - position);
    m_nFileSize += count;
    if (count) std::memcpy(m_pData + position, bytes, count);
    return true;
}

void CHexView::OverwriteBytes(uint32_t position, const uint8_t* bytes, uint32_t count) {
    if (m_pData == nullptr || position > m_nFileSize) return;
    if (count > m_nFileSize - position) count = m_nFileSize - position;
    if (count) std::memcpy(m_pData + position, bytes, count);
}

void CHexView::DeleteSelection() {
    const uint32_t s = m_nSelStart;
    const uint32_t e = m_nSelEnd;
    const uint32_t n = m_nFileSize;
    if (m_pData == nullptr || n == 0 || s > e || e > n - 1) return;
    const uint32_t k = e - s + 1;

    if (e == n - 1) {
        m_nFileSize = n - k;
        if (m_nFileSize == 0) {
            ReleaseImage();
        } else {
            void* shrunk = m_pAllocator->Reallocate(m_pData, m_nFileSize);
            if (shrunk == nullptr) {
                UnloadOnAllocFailure();
                return;
            }
            m_pData = static_cast<uint8_t*>(shrunk);
            m_nSelStart = n - k - 1;
        }
    } else {
        std::memmove(m_pData + s, m_pData + e + 1, n - e - 1);
        m_nFileSize = n - k;
        void* shrunk = m_pAllocator->Reallocate(m_pData, m_nFileSize);
        if (shrunk == nullptr) {
            UnloadOnAllocFailure();
            return;
        }
        m_pData = static_cast<uint8_t*>(shrunk);
    }
    m_nSelEnd = m_nSelStart;
    m_nCaret = m_nSelStart;
    RecalcMetrics();
    if (m_pHost) m_pHost->Invalidate();
}

void CHexView::UnloadOnAllocFailure() {
    ShowError("Memory Reallocation Failed, File has been Unloaded from Memory!");
    ReleaseImage();
    m_nSelStart = m_nSelEnd = m_nCaret = 0;
    RecalcMetrics();
    if (m_pHost) m_pHost->Invalidate();
}
