// Telling the user about the copies of a file's old contents that killed
// in-place saves left behind: until a save of the file completes, such a
// copy may be the only intact version of it.
#include "files/FileIO.h"
#include "view/HexView.h"

void CHexView::ReportInterruptedSaves(const std::string& path) {
    const std::vector<std::string> backups = files::FindInterruptedSaveBackups(path);
    if (backups.empty()) return;
    std::string names;
    for (const std::string& backup : backups) names += (names.empty() ? "" : ", ") + backup;
    ShowError("A previous save of this file did not finish, its old contents are kept in " + names +
              " until the file is saved again.");
}
