// Writing the whole image to a file, CHUNK_SIZE bytes a step, with the window
// kept alive (and cancellable) between steps. The file keeps its old bytes
// unless the save completes: either a new file replaces it, or, where only
// writing into the file itself keeps its links, owner or attributes, its old
// contents are copied aside first and put back if the save does not finish.
#include <algorithm>

#include "files/FileIO.h"
#include "view/HexView.h"
#include "view/ScopedFlag.h"

using Step = files::OutputFile::Step;

namespace {

const char kCreateFailed[] = "Could not write file, it may be in use by another process.";
const char kWriteFailed[] = "Failed during file write process, you may be out of diskspace.";
const char kRestoreFailed[] =
    "Could not put the old contents back into the file, they are kept in ";

}  // namespace

bool CHexView::SaveToFile(const std::string& path) {
    if (!HasBytes() || IsBusy()) return false;
    platform::ViewHost& host = Host();
    ReportInterruptedSaves(path);

    files::OutputFile file;
    // A link that took the place of the loaded file since is not followed:
    // it could send the image into a file the user never chose.
    const bool followLink = path != m_strFilePath || m_bPathIsLink;
    const files::OutputFile::Opened opened = file.Open(path, m_nFileSize, followLink);
    if (opened != files::OutputFile::Opened::Ready) {
        // No backup means no safe way to write it: nothing was written.
        ShowError(opened == files::OutputFile::Opened::NoBackup ? kWriteFailed : kCreateFailed);
        host.Invalidate();
        return false;
    }
    m_bSaving = true;
    const ScopedFlag running(m_bFileLoopRunning);

    // An in-place save first copies the old contents aside; stopping here
    // leaves the file untouched (the copy goes with `file`).
    for (;;) {
        const Step step = file.PrepareNext(CHUNK_SIZE);
        if (step == Step::Done) break;
        if (step == Step::Failed) return EndFailedSave(file, kWriteFailed);
        UpdateFileProgress(file.WorkDone(), file.WorkTotal());
        switch (PauseBetweenSteps(m_bSaving)) {
            case AfterPause::Continue: break;
            case AfterPause::Quitting: return false;
            case AfterPause::Cancelled: host.Invalidate(); return false;
        }
    }

    m_bWritingInPlace = file.InPlace();
    uint32_t remaining = m_nFileSize;
    uint32_t done = 0;
    for (;;) {
        const uint32_t chunk = std::min(remaining, CHUNK_SIZE);
        if (!file.Write(m_pData + done, chunk)) return EndFailedSave(file, kWriteFailed);
        remaining -= chunk;
        if (remaining == 0) break;
        done += chunk;

        UpdateFileProgress(file.WorkDone(), file.WorkTotal());
        switch (PauseBetweenSteps(m_bSaving)) {
            case AfterPause::Continue: break;
            // Quitting: stop at once, leaving the file with its old bytes
            // (put back without pausing).
            case AfterPause::Quitting: UndoSave(file, false, nullptr); return false;
            case AfterPause::Cancelled:
                UndoSave(file, true, nullptr);
                host.Invalidate();
                return false;
        }
    }

    if (!file.Flush()) return EndFailedSave(file, kWriteFailed);
    if (!file.Commit()) return EndFailedSave(file, kCreateFailed);
    host.Invalidate();
    m_bWritingInPlace = false;
    m_bSaving = false;
    return true;
}

void CHexView::UndoSave(files::OutputFile& file, bool pump, const char* failure) {
    if (m_bWritingInPlace) Host().Invalidate();  // the saving panel shows the restore
    // Whatever a pause dispatches (ESC, a close request) cannot stop this
    // loop; once the program quits it just stops pausing.
    static constexpr bool kRunsToTheEnd = true;
    Step step;
    while ((step = file.UndoNext(CHUNK_SIZE)) == Step::More) {
        UpdateFileProgress(file.WorkDone(), file.WorkTotal());
        if (pump) pump = PauseBetweenSteps(kRunsToTheEnd) != AfterPause::Quitting;
    }
    m_bWritingInPlace = false;
    if (failure) ShowError(failure);
    if (step != Step::Done) ShowError(kRestoreFailed + file.BackupPath() + ".");
}

bool CHexView::EndFailedSave(files::OutputFile& file, const char* failure) {
    // The old bytes go back before the user hears of the failure, so the
    // file is whole again whatever happens while the message is shown.
    UndoSave(file, true, failure);
    m_bSaving = false;
    Host().Invalidate();
    return false;
}
