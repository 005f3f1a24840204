// The two ways OutputFile writes a file, behind one interface. POSIX;
// internal to the file layer.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/FileIO.h"

namespace platform {

/// One save in progress; see OutputFile for the phases.
class SaveWriter {
public:
    using Step = OutputFile::Step;
    virtual ~SaveWriter() = default;
    virtual bool InPlace() const = 0;
    virtual Step PrepareNext(size_t maxBytes) = 0;
    virtual bool Write(const void* data, size_t size) = 0;
    virtual bool Flush() = 0;
    virtual bool Commit() = 0;
    virtual Step UndoNext(size_t maxBytes) = 0;
    virtual std::string BackupPath() const { return {}; }
    virtual uint64_t WorkDone() const = 0;
    virtual uint64_t WorkTotal() const = 0;
};

/// Creates the temporary file for replacing target (old: its state, or null
/// for a new file) by rename, with old's owner, group and mode where the
/// system allows it. Null when no file can be created beside target.
/// ownerMismatch tells whether the new file could not be made like old.
std::unique_ptr<SaveWriter> BeginRenameSave(const std::string& target, const struct stat* old,
                                            uint64_t length, bool& ownerMismatch);

/// Opens target (whose state is old) for writing in place and creates the
/// backup for its old contents. Null when it cannot: why then tells the
/// reason and nothing of target has changed.
std::unique_ptr<SaveWriter> BeginInPlaceSave(const std::string& target, const struct stat& old,
                                             uint64_t length, OutputFile::Opened& why);

}  // namespace platform
