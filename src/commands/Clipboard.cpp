// Copying the selection to the clipboard in three text forms, and pasting
// clipboard text into the image, read as characters or as hex pairs by the
// entry area. Copy and paste need a selection inside the image; texts for
// huge selections that cannot be allocated leave the clipboard alone.
#include <algorithm>
#include <new>
#include <stdexcept>

#include "commands/HexText.h"
#include "view/HexView.h"

using namespace platform;

namespace {

/// The clipboard text as the bytes to paste: its characters in the
/// character area, its hex pairs in the hexadecimal area (none when they
/// do not parse).
std::optional<std::vector<uint8_t>> BytesToPaste(const std::string& text, bool charArea) {
    if (charArea) return std::vector<uint8_t>(text.begin(), text.end());
    return ParseHexBytes(text);
}

/// Puts the selection on the clipboard in the form format makes of it. A
/// text too large to be made leaves the clipboard as it was.
template <typename Format>
void CopySelection(CHexView& view, Format format) {
    if (!view.HasSelectionInImage()) return;
    const size_t n = size_t(view.m_nSelEnd) - view.m_nSelStart + 1;
    try {
        view.WriteClipboardText(format(view.m_pData + view.m_nSelStart, n));
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
}

}  // namespace

void CHexView::WriteClipboardText(const std::string& text) {
    if (text.empty()) return;
    Host().WriteClipboardText(text);
}

std::optional<std::string> CHexView::ReadClipboardText() { return Host().ReadClipboardText(); }

void CHexView::CopyAsHexString() {
    CopySelection(*this, [](const uint8_t* data, size_t n) { return FormatHexString(data, n); });
}

void CHexView::CopyAsHexBlock() {
    const int bytesPerRow = m_nBytesPerRow;
    CopySelection(*this, [bytesPerRow](const uint8_t* data, size_t n) {
        return FormatHexBlock(data, n, bytesPerRow);
    });
}

void CHexView::CopyAsAsciiText() {
    CopySelection(*this, [](const uint8_t* data, size_t n) { return FormatAsciiText(data, n); });
}

void CHexView::PasteInsert() {
    if (!ImageMayChange() || !HasSelectionInImage()) return;
    const std::optional<std::string> text = ReadClipboardText();
    if (!text) return;
    const std::optional<std::vector<uint8_t>> bytes = BytesToPaste(*text, m_bCharArea);
    if (!bytes) return;
    // A count past 32 bits is refused by InsertBytes with its size message.
    const uint32_t count = uint32_t(std::min<size_t>(bytes->size(), UINT32_MAX));
    if (!InsertBytes(m_nSelStart, bytes->data(), count)) return;
    m_nSelEnd += count;
    m_nCaret = m_nSelStart + count;
    m_chPendingDigit = 0;
    RecalcMetrics();
    Host().Invalidate();
}

void CHexView::PasteOverwrite() {
    if (!ImageMayChange() || !HasSelectionInImage()) return;
    const std::optional<std::string> text = ReadClipboardText();
    if (!text) return;
    const std::optional<std::vector<uint8_t>> bytes = BytesToPaste(*text, m_bCharArea);
    if (!bytes) return;
    const uint32_t room = m_nFileSize - m_nSelStart;  // the image never grows
    const uint32_t count = uint32_t(std::min<size_t>(bytes->size(), room));
    // Nothing to write would leave the selection ending before it starts.
    if (count == 0) return;
    OverwriteBytes(m_nSelStart, bytes->data(), count);
    m_nSelEnd = m_nSelStart + count - 1;
    m_chPendingDigit = 0;
    Host().Invalidate();
}
