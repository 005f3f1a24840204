// OutputFile: examines the target, chooses how to write it, and forwards
// each phase to the save that does it.
#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

#include "platform/PosixFiles.h"
#include "platform/SaveLeftovers.h"
#include "platform/SaveWriter.h"
#include "platform/WriteMethod.h"

namespace platform {
namespace {

/// Extended attributes and ACLs stay with the old file. A new file gets its
/// own security label from the system's policy, so that one does not count.
bool HasExtendedAttributes(const std::string& path) {
    const ssize_t size = ::listxattr(path.c_str(), nullptr, 0);
    if (size <= 0) return false;  // none, or not supported by the file system
    std::string names(size_t(size), '\0');
    const ssize_t got = ::listxattr(path.c_str(), names.data(), names.size());
    if (got < 0) return true;  // they changed meanwhile: assume some remain
    for (size_t at = 0; at < size_t(got); at += std::strlen(names.c_str() + at) + 1) {
        if (std::strcmp(names.c_str() + at, "security.selinux") != 0) return true;
    }
    return false;
}

}  // namespace

OutputFile::OutputFile() = default;
OutputFile::~OutputFile() = default;

OutputFile::Opened OutputFile::Open(const std::string& path, uint64_t length) {
    Abandon();
    std::string target;
    if (path.empty() || !posix::ResolveLinks(path, target)) return Opened::CannotWrite;
    for (const std::string& leftover : posix::LeftoverTemporaries(target)) {
        ::unlink(leftover.c_str());
    }

    m_target = target;

    SaveTargetFacts facts;
    struct stat old {};
    facts.exists = ::stat(target.c_str(), &old) == 0;
    if (!facts.exists && errno != ENOENT) return Opened::CannotWrite;
    if (facts.exists) {
        facts.regularFile = S_ISREG(old.st_mode);
        facts.writable = ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0;
        facts.linked = old.st_nlink > 1;
        facts.extendedAttributes = HasExtendedAttributes(target);
    }
    // Whether a new file can be made beside it, and made like the old one,
    // is found out by making the one a rename save would use.
    std::unique_ptr<SaveWriter> renamed;
    if (!facts.exists || (facts.regularFile && facts.writable)) {
        renamed =
            BeginRenameSave(target, facts.exists ? &old : nullptr, length, facts.ownerMismatch);
        facts.folderWritable = renamed != nullptr;
    }

    switch (ChooseWriteMethod(facts)) {
        case WriteMethod::Refuse: return Opened::CannotWrite;
        case WriteMethod::ReplaceByRename: m_writer = std::move(renamed); return Opened::Ready;
        case WriteMethod::WriteInPlace: break;
    }
    renamed.reset();
    Opened why = Opened::CannotWrite;
    m_writer = BeginInPlaceSave(target, old, length, why);
    return why;
}

bool OutputFile::InPlace() const { return m_writer && m_writer->InPlace(); }

OutputFile::Step OutputFile::PrepareNext(size_t maxBytes) {
    return m_writer ? m_writer->PrepareNext(maxBytes) : Step::Failed;
}

bool OutputFile::Write(const void* data, size_t size) {
    return m_writer && m_writer->Write(data, size);
}

bool OutputFile::Flush() { return m_writer && m_writer->Flush(); }

bool OutputFile::Commit() {
    if (!m_writer || !m_writer->Commit()) return false;
    m_writer.reset();
    // The file now holds what the user saved: copies of older contents
    // left by killed saves have served their purpose.
    for (const std::string& leftover : posix::LeftoverBackups(m_target)) {
        ::unlink(leftover.c_str());
    }
    return true;
}

OutputFile::Step OutputFile::UndoNext(size_t maxBytes) {
    return m_writer ? m_writer->UndoNext(maxBytes) : Step::Done;
}

// Each kind of save undoes what remains of itself when it ends uncommitted.
void OutputFile::Abandon() { m_writer.reset(); }

std::string OutputFile::BackupPath() const {
    return m_writer ? m_writer->BackupPath() : std::string();
}

uint64_t OutputFile::WorkDone() const { return m_writer ? m_writer->WorkDone() : 0; }
uint64_t OutputFile::WorkTotal() const { return m_writer ? m_writer->WorkTotal() : 0; }

std::vector<std::string> FindInterruptedSaveBackups(const std::string& path) {
    std::string target;
    if (path.empty() || !posix::ResolveLinks(path, target)) return {};
    return posix::LeftoverBackups(target);
}

}  // namespace platform
