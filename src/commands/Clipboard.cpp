// Copying the selection to the clipboard in three text forms, and pasting
// clipboard text into the image, read as characters or as hex pairs by the
// entry area. Copy and paste need a selection inside the image. Their
// temporary blocks come from the allocator's temporary memory; one that
// cannot be made ends the operation with nothing changed.
#include <algorithm>
#include <span>

#include "commands/OutOfMemory.h"
#include "rules/HexText.h"
#include "view/HexView.h"

using namespace platform;

namespace {

/// The bytes a paste writes: the clipboard text's characters in the
/// character area, the bytes of its hex pairs in the hexadecimal area.
class BytesToPaste {
public:
    /// Reads the clipboard; none when it holds no text or, in the
    /// hexadecimal area, the pairs do not parse. The text is released once
    /// its pairs are read. Throws std::bad_alloc when a block cannot be made.
    static std::optional<BytesToPaste> Read(CHexView& view) {
        std::optional<std::pmr::string> text = view.ReadClipboardText();
        if (!text) return std::nullopt;
        if (view.m_bCharArea) return BytesToPaste(std::move(*text));
        auto parsed = ParseHexBytes(*text, text->get_allocator().resource());
        if (!parsed) return std::nullopt;
        return BytesToPaste(std::move(*parsed));
    }

    std::span<const uint8_t> Bytes() const {
        if (!m_fromText) return m_parsed;
        return {reinterpret_cast<const uint8_t*>(m_text.data()), m_text.size()};
    }

private:
    // Moved in, never copied: the blocks keep the memory they came from.
    explicit BytesToPaste(std::pmr::string text) : m_text(std::move(text)), m_fromText(true) {}
    explicit BytesToPaste(std::pmr::vector<uint8_t> parsed) : m_parsed(std::move(parsed)) {}

    std::pmr::string m_text;
    std::pmr::vector<uint8_t> m_parsed;
    bool m_fromText = false;
};

/// Puts the selection on the clipboard in the form format makes of it. A
/// text too large to be made leaves the clipboard as it was.
template <typename Format>
void CopySelection(CHexView& view, Format format) {
    if (!view.HasSelectionInImage()) return;
    const size_t n = size_t(view.m_nSelEnd) - view.m_nSelStart + 1;
    std::pmr::memory_resource* memory = &view.Host().GetAllocator().TemporaryMemory();
    IfMemoryAllows(
        [&] { view.WriteClipboardText(format(view.m_pData + view.m_nSelStart, n, memory)); });
}

}  // namespace

void CHexView::WriteClipboardText(std::string_view text) {
    if (text.empty()) return;
    Host().WriteClipboardText(text);
}

std::optional<std::pmr::string> CHexView::ReadClipboardText() { return Host().ReadClipboardText(); }

void CHexView::CopyAsHexString() {
    CopySelection(*this, [](const uint8_t* data, size_t n, std::pmr::memory_resource* memory) {
        return FormatHexString(data, n, memory);
    });
}

void CHexView::CopyAsHexBlock() {
    const int bytesPerRow = m_nBytesPerRow;
    CopySelection(*this,
                  [bytesPerRow](const uint8_t* data, size_t n, std::pmr::memory_resource* memory) {
                      return FormatHexBlock(data, n, bytesPerRow, memory);
                  });
}

void CHexView::CopyAsAsciiText() {
    CopySelection(*this, [](const uint8_t* data, size_t n, std::pmr::memory_resource* memory) {
        return FormatAsciiText(data, n, memory);
    });
}

void CHexView::PasteInsert() {
    if (!ImageMayChange() || !HasSelectionInImage()) return;
    IfMemoryAllows([this] {
        const std::optional<BytesToPaste> paste = BytesToPaste::Read(*this);
        if (!paste) return;
        const std::span<const uint8_t> bytes = paste->Bytes();
        // A count past 32 bits is refused by InsertBytes with its size message.
        const uint32_t count = uint32_t(std::min<size_t>(bytes.size(), UINT32_MAX));
        m_history.Begin(EditHistory::Kind::Other, SelectionNow());
        if (!InsertBytes(m_nSelStart, bytes.data(), count)) return;
        m_nSelEnd += count;
        m_nCaret = m_nSelStart + count;
        m_chPendingDigit = 0;
        RecalcMetrics();
        Host().Invalidate();
    });
}

void CHexView::PasteOverwrite() {
    if (!ImageMayChange() || !HasSelectionInImage()) return;
    IfMemoryAllows([this] {
        const std::optional<BytesToPaste> paste = BytesToPaste::Read(*this);
        if (!paste) return;
        const std::span<const uint8_t> bytes = paste->Bytes();
        const uint32_t room = m_nFileSize - m_nSelStart;  // the image never grows
        const uint32_t count = uint32_t(std::min<size_t>(bytes.size(), room));
        // Nothing to write would leave the selection ending before it starts.
        if (count == 0) return;
        m_history.Begin(EditHistory::Kind::Other, SelectionNow());
        OverwriteBytes(m_nSelStart, bytes.data(), count);
        m_nSelEnd = m_nSelStart + count - 1;
        m_chPendingDigit = 0;
        Host().Invalidate();
    });
}
