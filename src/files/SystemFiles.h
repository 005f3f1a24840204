// The operating system's file calls that the save code needs, one version
// for POSIX (files/posix) and one for Windows (files/win32); not part
// of the file layer's interface (the core includes FileIO.h only).
// Paths are UTF-8 throughout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "files/FileIO.h"

namespace files::sys {

/// The folder part and the name part of a path, split at its last separator.
std::string DirName(const std::string& path);
std::string BaseName(const std::string& path);
/// A name inside folder.
std::string JoinPath(const std::string& folder, const std::string& name);
/// The path from the root, independent of the working folder.
std::string AbsolutePath(const std::string& path);
/// The file a save of path writes: POSIX follows symbolic links (relative
/// ones from the link's own folder) to a file or to a name that does not
/// exist yet; Windows takes the full path and writes through a link in
/// place. False for loops and unreadable links, and, unless followLink, for
/// a path that is a link itself.
bool SaveTarget(const std::string& path, bool followLink, std::string& target);
/// Whether the last component of path is a symbolic link (on Windows, any
/// reparse point).
bool IsLink(const std::string& path);

/// Creates path as a new regular file, open for reading and writing and
/// held for this save (see IsLeftover), never over an existing file or
/// through a link. A private file is readable by this user only; another
/// gets the permissions a new file gets there. NO_FILE when it cannot;
/// exists then tells whether a file of that name was in the way.
FileHandle CreateNewFile(const std::string& path, bool privateFile, bool& exists);
/// A regular file that no running save holds; in a shared folder
/// (ownFilesOnly), only the user's own files count.
bool IsLeftover(const std::string& path, bool ownFilesOnly);
void RemoveFile(const std::string& path);
/// Gives the file at from (open as file, which stays open and held) the
/// name to, in the same folder, never replacing a file of that name:
/// exists then tells that one was in the way.
bool RenameToNewName(FileHandle file, const std::string& from, const std::string& to, bool& exists);

/// Writes all of size bytes at offset; false on any failure, a short write
/// included.
bool WriteAllAt(FileHandle file, const void* data, size_t size, uint64_t offset);
/// Reads exactly size bytes at offset; false on an error or an early end.
bool ReadAllAt(FileHandle file, void* data, size_t size, uint64_t offset);
/// Makes the file's data durable.
bool SyncFile(FileHandle file);
/// Makes the names in a folder durable (best effort: the data is already).
void SyncFolder(const std::string& folder);
bool SetLength(FileHandle file, uint64_t length);
/// Allocates the disk space for a file of length bytes (holes included),
/// so that writes up to that length cannot run out of it. False when there
/// is no room; the file then has its old length.
bool ReserveSpace(FileHandle file, uint64_t length);
/// Gives the file back permission bits that writing into it may clear (the
/// set-id bits of POSIX); nothing to do where writing changes none.
void KeepMode(FileHandle file, unsigned mode);
/// Closes file when it is open and marks it closed.
void Close(FileHandle& file);

/// Replaces to by the complete, durable file from (open as file, which is
/// closed), so that to holds either its old or its new bytes at any moment.
/// held, when open, is to itself, kept from other saves until it is
/// replaced, and closed too.
bool RenameOver(FileHandle& file, FileHandle& held, const std::string& from, const std::string& to);

}  // namespace files::sys
