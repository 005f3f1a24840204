// The File menu's handlers, the command-line open and dropped files.
#include <cstring>

#include "platform/Constants.h"
#include "platform/Dialogs.h"
#include "view/HexView.h"

using namespace platform;

namespace {

const char kFilter[] = "All Files (*.*)|*.*||";
const char kNoMemoryForNew[] = "Not enough memory to create a new file.";

}  // namespace

bool CHexView::OnFileOpen() {
    if (IsBusy()) return false;
    FileDialogRequest request;
    request.filter = kFilter;
    request.flags =
        ofn::HideReadOnly | ofn::PathMustExist | ofn::FileMustExist | ofn::NoReadOnlyReturn;
    const auto path = Host().OpenFileDialog(request);
    return path ? LoadFile(*path) : false;
}

bool CHexView::OnFileSaveAs() {
    if (!HasBytes() || IsBusy()) return false;
    FileDialogRequest request;
    request.filter = kFilter;
    request.initialName = m_strFilePath;
    request.flags =
        ofn::HideReadOnly | ofn::OverwritePrompt | ofn::PathMustExist | ofn::NoReadOnlyReturn;
    const auto path = Host().SaveFileDialog(request);
    // Save As writes a copy: the image stays bound to its previous path.
    return path ? SaveToFile(*path) : false;
}

bool CHexView::OnFileSave() {
    if (!HasBytes() || IsBusy()) return false;
    if (m_strFilePath.empty()) return OnFileSaveAs();
    const int answer =
        Host().ShowMessageBox("Are you sure you want to overwrite the original file?",
                              "Overwrite Warning", mb::YesNo | mb::IconExclamation);
    if (answer != mb::IdYes) return false;
    return SaveToFile(m_strFilePath);
}

bool CHexView::OnFileReload() {
    if (IsBusy() || m_strFilePath.empty()) return false;
    // A copy: LoadFile stores the path it was given.
    return LoadFile(std::string(m_strFilePath));
}

void CHexView::OnFileNew() {
    if (IsBusy()) return;
    m_strFilePath.clear();
    DiscardBitEdit();
    // A digit typed before New still waits for its partner.
    DiscardImage({.pointer = true, .pendingDigit = false});

    const uint32_t size = 3 * uint32_t(m_nBytesPerRow);
    if (!m_image.Allocate(size)) {
        // No image then, and no name either: the welcome screen is shown.
        Host().SetMainCaption(m_strBaseTitle);
        RecalcMetrics();
        Host().Invalidate();
        ShowError(kNoMemoryForNew);
        return;
    }
    std::memset(m_image.Fill(), 0, size);
    Host().SetMainCaption(m_strBaseTitle + " - Untitled");
    RecalcMetrics();
    Host().Invalidate();
}

LResult CHexView::OnOpenCmdLineFile() {
    if (!LoadFile(std::string(m_strFilePath))) m_strFilePath.clear();
    return 0;
}

LResult CHexView::OnDropFiles(const Message& message) {
    // Only the first file is loaded; the others are ignored.
    const auto* drop = reinterpret_cast<const DroppedFiles*>(message.wParam);
    if (drop && !drop->paths.empty()) LoadFile(drop->paths.front());
    return Host().DefaultProcessing(message);
}
