// The names of the files a save makes besides its target (temporary files,
// backups), creating them, and finding those that killed saves left behind.
// Internal to the file layer.
#pragma once

#include <string>
#include <vector>

#include "files/FileIO.h"

namespace files {

/// A rename save's temporary file, created beside target under a fresh
/// name (see sys::CreateNewFile for privateFile). NO_FILE when none can be
/// made there.
FileHandle CreateTemporary(const std::string& target, bool privateFile, std::string& path);

/// An in-place save's private copy of target's old contents.
struct Backup {
    FileHandle file = NO_FILE;
    std::string path;
    bool away = false;  // in the user's temporary folder, not beside target
};

/// Creates the backup of target under a temporary name, in target's folder
/// when possible, else in the user's temporary folder. Until NameBackup it
/// is one of the temporary files that the next save of target removes, so
/// that a copy cut short by a killed save is never taken for the old
/// contents. False when neither place takes it.
bool CreateBackup(const std::string& target, Backup& backup);

/// Gives the complete backup its backup name beside it, never over an
/// existing file (so a backup never overwrites an older one); from then on
/// a killed save leaves it as a backup. False when no name can be had.
bool NameBackup(const std::string& target, Backup& backup);

/// Regular files of the given kind named for target that no running save
/// holds (a save holds its own files while it runs). Temporaries are rename
/// saves' new files and unfinished backups.
std::vector<std::string> LeftoverTemporaries(const std::string& target);
std::vector<std::string> LeftoverBackups(const std::string& target);

}  // namespace files
