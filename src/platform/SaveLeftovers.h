// The names of the files a save makes besides its target (temporary files,
// backups), creating them, and finding those that killed saves left behind.
// Internal to the file layer.
#pragma once

#include <string>
#include <vector>

#include "platform/FileIO.h"

namespace platform {

/// A rename save's temporary file, created beside target under a fresh
/// name (see sys::CreateNewFile for privateFile). NO_FILE when none can be
/// made there.
FileHandle CreateTemporary(const std::string& target, bool privateFile, std::string& path);

/// An in-place save's private backup of target's old contents: in target's
/// folder when possible, else in the user's temporary folder; never over an
/// existing file, so a backup never overwrites an older one. NO_FILE when
/// neither place takes it.
FileHandle CreateBackup(const std::string& target, std::string& path);

/// Regular files of the given kind named for target that no running save
/// holds (a save holds its own files while it runs).
std::vector<std::string> LeftoverTemporaries(const std::string& target);
std::vector<std::string> LeftoverBackups(const std::string& target);

}  // namespace platform
