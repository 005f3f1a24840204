// Taking edits back and taking them again: the history changes the image,
// and the view shows the selection and caret the edit had, scrolled into
// view, with the geometry and caption that go with the image.
#include <algorithm>

#include "view/HexView.h"

EditHistory::Selection CHexView::SelectionNow() const { return {m_nSelStart, m_nSelEnd, m_nCaret}; }

void CHexView::Undo() { StepThroughHistory(true); }

void CHexView::Redo() { StepThroughHistory(false); }

void CHexView::StepThroughHistory(bool back) {
    if (!ImageMayChange() || m_bBitEdit || m_bInputPanel) return;
    const bool hadImage = m_pData != nullptr;
    const uint32_t size = m_nFileSize;
    EditHistory::Selection restored;
    const EditHistory::Result result = back ? m_history.Undo(m_image, SelectionNow(), restored)
                                            : m_history.Redo(m_image, SelectionNow(), restored);
    if (result == EditHistory::Result::Nothing) return;
    if (result == EditHistory::Result::NoMemory) return ReportAllocFailure();

    m_nSelStart = restored.start;
    m_nSelEnd = restored.end;
    m_nCaret = restored.caret;
    m_chPendingDigit = 0;
    if (m_pData && !hadImage) {
        // The deletion of every byte is taken back: the image is named again.
        Host().SetMainCaption(
            m_strBaseTitle + " - " +
            (m_strFilePath.empty() ? std::string("Untitled") : FileNameFromPath(m_strFilePath)));
    }
    if (m_nFileSize != size || (m_pData != nullptr) != hadImage) RecalcMetrics();
    if (!SelectionVisible()) ScrollSelectionIntoView();
    Host().Invalidate();
}

bool CHexView::SelectionVisible() const {
    if (!HasSelectionInImage() || m_nRowHeight <= 0) return true;
    const int64_t row = m_nSelStart / uint32_t(m_nBytesPerRow);
    const int64_t top = ScrollPos();
    const int64_t rows = std::max(1, (StatusLineRect().top - m_nCellWidth) / m_nRowHeight);
    return row >= top && row < top + rows;
}
