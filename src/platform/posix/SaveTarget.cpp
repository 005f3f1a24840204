// Examining a save's target on POSIX and beginning the save that keeps
// everything the file has: its inode, links, owner, group, mode and
// extended attributes.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

#include "platform/SaveLeftovers.h"
#include "platform/SaveWriter.h"
#include "platform/SystemFiles.h"
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

/// Lets the system drop the cached pages of a file that a new one is about
/// to replace. They would stay until the rename, so a save would hold the
/// file's size in page cache twice over, and pages the system must find
/// afresh are slow to fill (notably on virtual machines); the new file's
/// pages take their place instead. Advice only: the file is unchanged.
void DropCachedContents(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return;
    (void)::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}

/// The temporary file for replacing target (old: its state, or null for a
/// new file) by rename, with old's owner, group and mode where the system
/// allows it. Null when no file can be created beside target.
/// ownerMismatch tells whether the new file could not be made like old.
std::unique_ptr<SaveWriter> BeginRenameSave(const std::string& target, const struct stat* old,
                                            uint64_t length, bool& ownerMismatch) {
    ownerMismatch = false;
    // An existing file's contents must never be readable by more people
    // than before, even briefly: its replacement starts private.
    std::string temp;
    const FileHandle file = CreateTemporary(target, old != nullptr, temp);
    if (file == NO_FILE) return nullptr;
    auto save = MakeRenameSave(file, temp, target, length);
    if (!old) return save;
    DropCachedContents(target);

    // The new file must end up as the old one was: owner, group and mode
    // (set-id bits included, which a change of owner would clear).
    const int fd = int(file);
    struct stat mine {};
    ownerMismatch = ::fchown(fd, old->st_uid, old->st_gid) != 0 ||
                    ::fchmod(fd, old->st_mode & 07777) != 0 || ::fstat(fd, &mine) != 0 ||
                    mine.st_uid != old->st_uid || mine.st_gid != old->st_gid ||
                    (mine.st_mode & 07777) != (old->st_mode & 07777);
    return save;
}

/// Opens target (whose state is old) for writing in place and creates the
/// backup for its old contents.
std::unique_ptr<SaveWriter> BeginInPlaceSave(const std::string& target, const struct stat& old,
                                             uint64_t length, OutputFile::Opened& why) {
    const int file = ::open(target.c_str(), O_RDWR | O_CLOEXEC);
    if (file < 0) {
        // It may be written but not read: then no backup can be made.
        why = errno == EACCES ? OutputFile::Opened::NoBackup : OutputFile::Opened::CannotWrite;
        return nullptr;
    }
    struct stat st {};
    if (::fstat(file, &st) != 0 || st.st_dev != old.st_dev || st.st_ino != old.st_ino) {
        ::close(file);  // replaced since it was examined
        why = OutputFile::Opened::CannotWrite;
        return nullptr;
    }
    std::string backup;
    const FileHandle backupFile = CreateBackup(target, backup);
    if (backupFile == NO_FILE) {
        ::close(file);
        why = OutputFile::Opened::NoBackup;
        return nullptr;
    }
    why = OutputFile::Opened::Ready;
    return MakeInPlaceSave(file, backupFile, backup, unsigned(st.st_mode & 07777),
                           uint64_t(st.st_size), length);
}

}  // namespace

std::unique_ptr<SaveWriter> BeginSave(const std::string& target, uint64_t length,
                                      OutputFile::Opened& why) {
    why = OutputFile::Opened::CannotWrite;
    SaveTargetFacts facts;
    struct stat old {};
    facts.exists = ::stat(target.c_str(), &old) == 0;
    if (!facts.exists && errno != ENOENT) return nullptr;
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
        case WriteMethod::Refuse: return nullptr;
        case WriteMethod::ReplaceByRename: why = OutputFile::Opened::Ready; return renamed;
        case WriteMethod::WriteInPlace: break;
    }
    renamed.reset();
    return BeginInPlaceSave(target, old, length, why);
}

}  // namespace platform
