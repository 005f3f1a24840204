// Consecutive writes to one file, gathered into system calls of
// IoBlockSize() bytes: one system call per small piece of a save would take
// longer than the copying itself. Internal to the file layer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "files/FileIO.h"

namespace files {

class GatheredWrites {
public:
    /// Writes to file (not owned; closing it makes later writes fail) from
    /// offset 0.
    explicit GatheredWrites(const FileHandle& file);

    /// Adds size bytes after those added before; writes out what is
    /// gathered whenever a block is full. False when a write
    /// failed.
    bool Append(const void* data, size_t size);
    /// Writes out whatever is still gathered.
    bool Drain();

    /// Bytes added so far.
    uint64_t Added() const { return m_issued + m_pending.size(); }
    /// End of the bytes handed to the system: a write that failed may have
    /// changed the file up to here.
    uint64_t Issued() const { return m_issued; }

private:
    bool Issue(const void* data, size_t size);

    const FileHandle& m_file;
    const size_t m_capacity;
    std::vector<char> m_pending;
    uint64_t m_issued = 0;
};

}  // namespace files
