// Real file I/O: whole files read and written in chunks by the core.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

/// An existing regular file opened for reading. Directories, FIFOs and
/// devices are refused at open without blocking on them.
class InputFile {
public:
    InputFile() = default;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile() { Close(); }

    bool Open(const std::string& path);
    bool IsOpen() const { return m_fd >= 0; }
    /// The file's length as it was when opened.
    uint64_t Length() const { return m_length; }
    /// Reads up to size bytes; returns the number read (0 at the end of the
    /// file) or -1 on a read error.
    int64_t Read(void* buffer, size_t size);
    void Close();

private:
    int m_fd = -1;
    uint64_t m_length = 0;
};

/// Writes a new version of a file without touching the old one until the
/// new one is complete on disk. The bytes go to a temporary file in the
/// target's folder; Commit flushes it to the storage device and renames it
/// over the target. A cancelled or failed save therefore leaves the target
/// byte for byte as it was. A symbolic link is followed: the file it points
/// to is replaced and the link itself is kept.
class ReplacementFile {
public:
    ReplacementFile() = default;
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;
    ~ReplacementFile() { Abandon(); }

    /// Creates the temporary file for path. Refuses a target that exists
    /// but is not a regular file or that this process may not write, and a
    /// folder in which no file can be created. The temporary file gets the
    /// target's permission bits and, where allowed, its owner and group; a
    /// new file gets the usual permissions for new files (umask applied).
    bool Begin(const std::string& path);
    /// Appends all of size bytes; false on any failure.
    bool Write(const void* data, size_t size);

    /// Flushes the temporary file to disk and closes it; false when the
    /// data may not have reached the disk (no space, I/O error). The target
    /// is still untouched.
    bool Flush();
    /// Renames the flushed temporary file over the target; false when that
    /// fails (the temporary file is then removed).
    bool Replace();

    /// Removes the temporary file if it still exists.
    void Abandon();

    /// The file that Replace puts the new bytes in (symbolic links resolved).
    const std::string& TargetPath() const { return m_target; }
    const std::string& TemporaryPath() const { return m_temp; }

private:
    int m_fd = -1;
    std::string m_target;
    std::string m_temp;  // empty once renamed or removed
};

/// Test seams for I/O failures that cannot be provoked on demand. The n-th
/// InputFile::Read (or ReplacementFile::Write) from now fails as an I/O
/// error (or a full disk) would; 0 disarms. Single-threaded, like the core.
void InjectReadFailure(int n);
void InjectWriteFailure(int n);

}  // namespace platform
