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

/// A file created (or truncated) for writing.
class OutputFile {
public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile() { Close(); }

    bool Create(const std::string& path);
    bool IsOpen() const { return m_fd >= 0; }
    /// Writes all of size bytes; false on any failure.
    bool Write(const void* data, size_t size);
    /// Flushes the file's contents to the storage device.
    bool Sync();
    /// False when the final close reports an error.
    bool Close();

private:
    int m_fd = -1;
};

}  // namespace platform
