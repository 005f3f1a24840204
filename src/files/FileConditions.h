// What the file layer asks of its surroundings before the system calls a
// test may want to fail, and how many bytes it moves per call. The
// program's own conditions never fail a call and move a megabyte; tests put
// theirs in place to fail a chosen call as the real failure would, where
// the failure cannot be provoked on demand.
#pragma once

#include <cstddef>

namespace files {

class FileConditions {
public:
    virtual ~FileConditions() = default;
    /// Whether this InputFile::Read fails as an I/O error would.
    virtual bool ReadFails() { return false; }
    /// Whether this write to a saved file (OutputFile::Write, Flush, or a
    /// piece of old bytes put back) fails as a full disk would.
    virtual bool WriteFails() { return false; }
    /// Whether this step of making a backup (its creation, then each piece
    /// copied into it) fails as a full disk would.
    virtual bool BackupFails() { return false; }
    /// The bytes per system call of the read-ahead of a load, the gathered
    /// writes of a save and the copying of a backup; 0 for the usual
    /// megabyte.
    virtual size_t IoBlockSize() { return 0; }
};

/// The conditions in force: the program's own unless a test has put others
/// in place.
FileConditions& CurrentConditions();
/// Puts conditions in force (null: the program's own again). They must
/// outlive their time in force. Single-threaded, like the core.
void SetFileConditions(FileConditions* conditions);

}  // namespace files
