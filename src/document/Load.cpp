// Reading a whole file into a new image, CHUNK_SIZE bytes a step, with the
// window kept alive (and cancellable) between steps.
#include <algorithm>

#include "files/FileIO.h"
#include "view/HexView.h"
#include "view/ScopedFlag.h"

namespace {

const char kOpenFailed[] = "Could not open file, it may be in use by another process.";
const char kTooLarge[] = "Files over 2.14GB are not supported.";
const char kNoMemory[] = "Not enough memory to load file.";
const char kReadFailed[] =
    "Failed during file read process, the file may have changed or become unreadable.";

}  // namespace

bool CHexView::LoadFile(const std::string& path) {
    if (IsBusy()) return false;
    platform::ViewHost& host = Host();

    // A file that cannot be opened, or is too long, leaves the image and its
    // unsaved edits alone: it is discarded only for a file that can be read.
    files::InputFile file;
    if (!file.Open(path)) {
        ShowError(kOpenFailed);
        host.Invalidate();
        return false;
    }
    // The whole 64-bit length is tested before anything is allocated.
    if (file.Length() > ByteImage::MAX_SIZE) {
        ShowError(kTooLarge);
        host.Invalidate();
        return false;
    }
    const bool isLink = files::IsSymbolicLink(path);

    host.SetMainCaption(m_strBaseTitle);
    if (m_wndScrollBar) m_wndScrollBar->SetScrollRange(0, 0, true);
    DiscardImage({.pointer = true, .pendingDigit = true});
    DiscardBitEdit();
    const uint32_t length = uint32_t(file.Length());
    if (!m_image.Allocate(length)) {
        ShowError(kNoMemory);
        host.Invalidate();
        return false;
    }
    // The new image's bytes are the file's, read straight into it.
    uint8_t* const area = m_image.Fill();
    file.SetReadArea(area, length);
    m_bLoading = true;
    const ScopedFlag running(m_bFileLoopRunning);

    uint32_t remaining = length;
    uint32_t done = 0;
    for (;;) {
        const int64_t got = file.Read(area + done, std::min(remaining, CHUNK_SIZE));
        if (got < 0 || (got == 0 && remaining > 0)) {
            // A read error, or the file became shorter than it was when
            // opened: the image would be incomplete, so none is kept.
            m_bLoading = false;
            m_image.Release();
            host.Invalidate();
            file.Close();
            ShowError(kReadFailed);
            return false;
        }
        remaining -= uint32_t(got);
        done += uint32_t(got);
        if (remaining == 0) break;

        UpdateFileProgress(done, length);
        switch (PauseBetweenSteps(m_bLoading)) {
            case AfterPause::Continue: break;
            // Quitting: stop at once and leave everything for the view's end.
            case AfterPause::Quitting: return false;
            // Cancelled: the half-read image goes (the old one went before).
            case AfterPause::Cancelled:
                m_image.Release();
                host.Invalidate();
                return false;
        }
    }

    m_bLoading = false;
    m_strFilePath = path;
    m_bPathIsLink = isLink;
    host.SetMainCaption(m_strBaseTitle + " - " + FileNameFromPath(path));
    RecalcMetrics();
    host.Invalidate();
    ReportInterruptedSaves(path);
    return true;
}
