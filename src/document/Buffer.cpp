// The view's edit primitives over its image, the one way its bytes change:
// each records its change in the history, applies it to the image, then
// keeps the selection and caret and tells the user what failed. An edit
// that cannot get its memory changes nothing.
#include <algorithm>

#include "view/HexView.h"

bool CHexView::InsertBytes(uint32_t position, const uint8_t* bytes, uint32_t count) {
    switch (m_image.Insert(position, bytes, count)) {
        case ByteImage::Edit::Done:
            m_history.Inserted(m_image, position, count, SelectionNow());
            return true;
        case ByteImage::Edit::Refused: return false;
        case ByteImage::Edit::TooLarge:
            ShowError("Could not insert data, files over 2.14GB are not supported.");
            return false;
        case ByteImage::Edit::NoMemory: break;
    }
    ReportAllocFailure();
    return false;
}

void CHexView::OverwriteBytes(uint32_t position, const uint8_t* bytes, uint32_t count) {
    if (m_pData == nullptr || position > m_nFileSize) return;
    count = std::min(count, m_nFileSize - position);
    m_history.WillOverwrite(m_image, position, count, SelectionNow());
    m_image.Overwrite(position, bytes, count);
}

void CHexView::DeleteSelection() {
    if (!HasSelectionInImage()) return;
    const uint32_t count = m_nSelEnd - m_nSelStart + 1;
    m_history.Begin(EditHistory::Kind::Other, SelectionNow());
    m_history.WillErase(m_image, m_nSelStart, count, SelectionNow());
    if (count == m_nFileSize) {
        // Every byte goes, and with them the image.
        m_image.Release();
        m_nSelStart = 0;
    } else {
        const bool atEnd = m_nSelEnd == m_nFileSize - 1;
        m_image.Erase(m_nSelStart, count);
        // The new last byte, or the first one that followed the selection.
        if (atEnd) m_nSelStart = m_nFileSize - 1;
    }
    m_nSelEnd = m_nSelStart;
    m_nCaret = m_nSelStart;
    RecalcMetrics();
    Host().Invalidate();
}

void CHexView::ReportAllocFailure() {
    // The old block is intact: losing the image and every unsaved edit for
    // want of memory for one more would be the worse failure.
    ShowError("Memory Reallocation Failed, the file in memory was not changed.");
}

void CHexView::DiscardImage(DiscardAlso also) {
    m_image.Release();
    m_history.Clear();
    m_nSelStart = m_nSelEnd = m_nCaret = 0;
    if (also.pointer) m_nDragAnchor = m_nHoverOffset = -1;
    if (also.pendingDigit) m_chPendingDigit = 0;
}
