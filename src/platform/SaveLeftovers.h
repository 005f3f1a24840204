// The names of the files a save makes besides its target (temporary files,
// backups) and finding those that killed saves left behind. POSIX; internal
// to the file layer.
#pragma once

#include <string>
#include <vector>

namespace platform::posix {

/// A fresh name for a rename save's temporary file beside target.
std::string TemporaryName(const std::string& target);

/// The n-th (from 0) candidate name of a backup of target, in its folder or
/// in the user's temporary folder. No candidate is ever reused while a file
/// of that name exists, so a backup never overwrites an older one.
std::string BackupName(const std::string& target, bool inTemporaryFolder, unsigned n);

/// Regular files of the given kind named for target that no running save
/// holds (a save holds a lock on its own files while it runs).
std::vector<std::string> LeftoverTemporaries(const std::string& target);
std::vector<std::string> LeftoverBackups(const std::string& target);

/// Holds fd's file for this save; others then see it is not a leftover.
bool HoldForThisSave(int fd);

}  // namespace platform::posix
