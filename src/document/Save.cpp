// Writing the whole image to a file, 4096 bytes at a time, with the window
// kept alive (and cancellable) between chunks. The bytes go to a new file
// that replaces the target only once it is complete on disk.
#include <algorithm>

#include "platform/FileIO.h"
#include "view/HexView.h"

namespace {

const char kCreateFailed[] = "Could not write file, it may be in use by another process.";
const char kWriteFailed[] = "Failed during file write process, you may be out of diskspace.";

}  // namespace

bool CHexView::SaveToFile(const std::string& path) {
    if (!m_pHost || !HasBytes() || IsBusy()) return false;
    platform::ViewHost& host = Host();

    platform::ReplacementFile file;
    if (!file.Begin(path)) {
        ShowError(kCreateFailed);
        host.Invalidate();
        return false;
    }
    m_bSaving = true;

    // The temporary file is removed before the user hears of a failure, so
    // nothing is left behind whatever the answer.
    auto fail = [&](const char* text) {
        file.Abandon();
        ShowError(text);
        m_bSaving = false;
        host.Invalidate();
        return false;
    };

    uint32_t remaining = m_nFileSize;
    uint32_t done = 0;
    for (;;) {
        const uint32_t chunk = std::min(remaining, CHUNK_SIZE);
        if (!file.Write(m_pData + done, chunk)) return fail(kWriteFailed);
        remaining -= chunk;
        if (remaining == 0) break;
        done += chunk;

        UpdateFileProgress(done);
        // Quitting: stop at once; the target keeps its old bytes.
        if (!PumpWaitingMessages()) return false;
        if (!m_bSaving) {  // cancelled
            file.Abandon();
            host.Invalidate();
            return false;
        }
    }

    if (!file.Flush()) return fail(kWriteFailed);
    if (!file.Replace()) return fail(kCreateFailed);
    host.Invalidate();
    m_bSaving = false;
    return true;
}
