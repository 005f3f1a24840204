// Searching the image from the selection start, Find Next, and the scan
// itself. The scan runs inside the WM_RUN_SEARCH handler on the one thread:
// it works through blocks of start offsets with the fast matcher and, between
// blocks, updates the progress, dispatches waiting messages and checks
// whether ESC (through LeaveAllModes) has cancelled it. The hits are those of
// a byte-by-byte scan: the first whole occurrence at or after the start.
#include <algorithm>
#include <chrono>

#include "rules/HexText.h"
#include "rules/Matcher.h"
#include "rules/SearchPattern.h"
#include "view/Format.h"
#include "view/HexView.h"

using namespace platform;

namespace {

/// Start offsets tried between two pumps. The block adapts to the speed of
/// the matcher on this data (a long pattern over near-matches is far slower
/// than random data), so that a key press never waits more than a few
/// milliseconds for the next pump.
constexpr uint32_t MIN_BLOCK = 4u << 10;
constexpr uint32_t FIRST_BLOCK = 1u << 20;
constexpr uint32_t MAX_BLOCK = 16u << 20;
constexpr double FAST_BLOCK_SECONDS = 0.001;
constexpr double SLOW_BLOCK_SECONDS = 0.004;

}  // namespace

uint32_t CHexView::FindBytes(const uint8_t* pattern, uint32_t length, const uint8_t* data,
                             uint32_t size, uint32_t start, bool foldCase) {
    if (length == 0 || start >= size || length > size - start) return NO_OFFSET;
    const double tried = double(size - start);  // the progress counts start offsets
    const uint32_t end = size - length + 1;     // one past the last possible start
    uint32_t block = FIRST_BLOCK;
    const uint64_t changes = m_image.ChangeCount();
    for (uint32_t first = start; first < end;) {
        m_dSearchProgress = double(first - start) / tried * 100.0;
        // A search that is not running (then it does not pause), is cancelled
        // or meets the program's end finds nothing.
        if (!m_bSearching) return NO_OFFSET;
        if (PauseBetweenSteps(m_bSearching) != AfterPause::Continue) return NO_OFFSET;
        // Nothing may change the image during a search; if it did, the block
        // about to be scanned is gone.
        if (m_image.ChangeCount() != changes) return NO_OFFSET;

        const uint32_t last = end - first > block ? first + block : end;
        const auto began = std::chrono::steady_clock::now();
        const uint32_t hit = FindPattern(pattern, length, data, size, first, last, foldCase);
        if (hit != NO_OFFSET) return hit;
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
        if (seconds < FAST_BLOCK_SECONDS) block = std::min(block * 2, MAX_BLOCK);
        else if (seconds > SLOW_BLOCK_SECONDS) block = std::max(block / 2, MIN_BLOCK);
        first = last;
    }
    return NO_OFFSET;
}

void CHexView::FindNext() {
    if (PanelShown() || m_bSearching) return;
    if (m_strInput.empty()) return;
    if (HasSelectionInImage() && m_nSelEnd < m_nFileSize - 1) {
        ++m_nSelStart;
        ++m_nSelEnd;
        m_nCaret = m_nSelStart;
        m_chPendingDigit = 0;
        Host().Invalidate();
    }
    ShowInputPanel();
    Host().PostViewMessage(WM_RUN_SEARCH, 0, 0);
}

LResult CHexView::OnRunSearch(WParam, LParam) {
    // A run posted before ESC closed the panel, or one arriving while a
    // search is already running (two ENTERs queued), has nothing to do.
    if (!SearchMayStart()) return 0;
    if (m_nSearchMode == SEARCH_OFFSET) {
        JumpToOffset();
        return 0;
    }

    Host().SetTimer(SEARCH_TIMER_ID, SEARCH_TIMER_MS);
    m_strPanelMsg = "Searching...";
    Host().Invalidate();
    m_bSearching = true;

    const SearchPattern pattern = BuildSearchPattern(m_nSearchMode, m_strInput);
    const uint32_t length = uint32_t(std::min<size_t>(pattern.bytes.size(), UINT32_MAX));
    const uint32_t hit = FindBytes(pattern.bytes.data(), length, m_pData, m_nFileSize, m_nSelStart,
                                   pattern.foldCase);

    // Cancelled: ESC has closed the panel already (and a newer search may
    // have run in it since), so there is nothing left to report.
    if (!m_bSearching) return 0;
    Host().KillTimer(SEARCH_TIMER_ID);
    m_bSearching = false;

    if (hit == NO_OFFSET) {
        m_strPanelMsg = std::string(pattern.label) + " String Not Found.";
    } else {
        m_strPanelMsg =
            Format("Found %s at Offset: 0x%08X  Press ESC to jump to offset", pattern.label, hit);
        m_nSelStart = hit;
        m_nSelEnd = hit + length - 1;
        m_nCaret = hit;
        if (m_wndScrollBar) m_wndScrollBar->SetScrollPos(int(hit / uint32_t(m_nBytesPerRow)), true);
    }
    Host().Invalidate();
    return 0;
}

void CHexView::JumpToOffset() {
    m_strInput.erase(std::remove(m_strInput.begin(), m_strInput.end(), ' '), m_strInput.end());
    // Eleven digits can exceed 32 bits; such an offset lies beyond the end
    // like any other too large one.
    const uint64_t value = ParseHexNumber(m_strInput);
    const uint32_t offset = value >= m_nFileSize ? m_nFileSize - 1 : uint32_t(value);
    m_nSelStart = m_nSelEnd = m_nCaret = offset;  // all ones in an empty image
    ScrollToRow(offset / uint32_t(m_nBytesPerRow));
    LeaveAllModes();
}
