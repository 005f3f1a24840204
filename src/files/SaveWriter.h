// The two ways OutputFile writes a file, behind one interface. Internal to
// the file layer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "files/FileIO.h"
#include "files/SaveLeftovers.h"

namespace files {

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

/// Examines target (links resolved), chooses how to write it (see
/// ChooseWriteMethod) and begins that save: one version per system. Null
/// when it cannot be written: why then tells the reason, and nothing of
/// target has changed.
std::unique_ptr<SaveWriter> BeginSave(const std::string& target, uint64_t length,
                                      OutputFile::Opened& why);

/// A save of length bytes into the new file temp (open as file) that then
/// replaces target by rename. held, when open, is target itself, kept from
/// other programs until the rename.
std::unique_ptr<SaveWriter> MakeRenameSave(FileHandle file, std::string temp, std::string target,
                                           uint64_t length, FileHandle held = NO_FILE);

/// A save of length bytes into target itself, open as file (of oldLength
/// bytes and the given POSIX mode), whose old contents first go to backup,
/// created but still empty. held, when open, keeps other saves of target
/// out until this one ends.
std::unique_ptr<SaveWriter> MakeInPlaceSave(std::string target, FileHandle file, FileHandle held,
                                            Backup backup, unsigned mode, uint64_t oldLength,
                                            uint64_t length);

}  // namespace files
