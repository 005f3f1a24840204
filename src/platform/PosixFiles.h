// POSIX helpers shared by the parts of the file layer; not part of its
// interface (the core includes FileIO.h only).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform::posix {

/// The folder part of a path, as rename and open need it.
std::string DirName(const std::string& path);
std::string BaseName(const std::string& path);

/// The file a write to path really lands in: symbolic links are followed
/// (relative ones from the link's own folder) to a file or to a name that
/// does not exist yet. False for loops and unreadable links.
bool ResolveLinks(const std::string& path, std::string& resolved);

/// Writes all of size bytes at offset; false on any failure, a short write
/// included.
bool WriteAllAt(int fd, const void* data, size_t size, uint64_t offset);
/// Reads exactly size bytes at offset; false on an error or an early end.
bool ReadAllAt(int fd, void* data, size_t size, uint64_t offset);

/// Makes the names in a folder durable (best effort: the data is already).
void SyncFolder(const std::string& folder);
/// Closes fd when it is open and marks it closed.
void Close(int& fd);

/// The test seams of FileIO.h: true when this call is the one chosen to
/// fail (errno is then set as the real failure would set it).
bool WriteFailureInjected();
bool BackupFailureInjected();

}  // namespace platform::posix
