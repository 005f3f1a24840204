// Examining a save's target on POSIX and beginning the save that keeps
// everything the file has: its inode, links, owner, group, mode and
// extended attributes. An existing target is locked for the whole save, so
// that two saves of one file never mix their bytes.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

#include "files/SaveLeftovers.h"
#include "files/SaveWriter.h"
#include "files/SystemFiles.h"
#include "files/WriteMethod.h"

namespace files {
namespace {

/// Extended attributes and ACLs stay with the old file. A new file gets its
/// own security label from the system's policy, so that one does not count.
bool HasExtendedAttributes(int fd) {
    const ssize_t size = ::flistxattr(fd, nullptr, 0);
    if (size <= 0) return false;  // none, or not supported by the file system
    std::string names(size_t(size), '\0');
    const ssize_t got = ::flistxattr(fd, names.data(), names.size());
    if (got < 0) return true;  // they changed meanwhile: assume some remain
    for (size_t at = 0; at < size_t(got); at += std::strlen(names.c_str() + at) + 1) {
        if (std::strcmp(names.c_str() + at, "security.selinux") != 0) return true;
    }
    return false;
}

/// Opens target, the regular file that old describes, to keep other saves
/// of it out until this one ends: an exclusive lock, which a save already
/// running holds. A link is not followed: every link a save may follow was
/// resolved, so one found here was put in the file's place meanwhile.
/// NO_FILE when it is locked, or is not the file that old describes.
FileHandle HoldForSave(const std::string& target, const struct stat& old) {
    int fd = ::open(target.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == EACCES) {
        fd = ::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    }
    if (fd < 0) return NO_FILE;
    struct stat st {};
    // Where the file system has no locks, saves cannot be kept apart.
    const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
    if (!locked || ::fstat(fd, &st) != 0 || st.st_dev != old.st_dev || st.st_ino != old.st_ino) {
        ::close(fd);
        return NO_FILE;
    }
    return fd;
}

/// Lets the system drop the cached pages of a file (open as fd) that a new
/// one is about to replace. They would stay until the rename, so a save
/// would hold the file's size in page cache twice over, and pages the
/// system must find afresh are slow to fill (notably on virtual machines);
/// the new file's pages take their place instead. Advice only: the file is
/// unchanged.
void DropCachedContents(int fd) { (void)::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED); }

/// A new file beside target for a rename save (old: its state, or null for
/// a new file), given old's owner, group and mode where the system allows
/// it. NO_FILE when none can be made there; ownerMismatch tells whether the
/// new file could not be made like old.
FileHandle CreateReplacement(const std::string& target, const struct stat* old, std::string& temp,
                             bool& ownerMismatch) {
    ownerMismatch = false;
    // An existing file's contents must never be readable by more people
    // than before, even briefly: its replacement starts private.
    const FileHandle file = CreateTemporary(target, old != nullptr, temp);
    if (file == NO_FILE || !old) return file;

    // The new file must end up as the old one was: owner, group and mode
    // (set-id bits included, which a change of owner would clear).
    const int fd = int(file);
    struct stat mine {};
    ownerMismatch = ::fchown(fd, old->st_uid, old->st_gid) != 0 ||
                    ::fchmod(fd, old->st_mode & 07777) != 0 || ::fstat(fd, &mine) != 0 ||
                    mine.st_uid != old->st_uid || mine.st_gid != old->st_gid ||
                    (mine.st_mode & 07777) != (old->st_mode & 07777);
    return file;
}

/// Opens target (whose state is old, held as held) for writing in place and
/// creates the backup for its old contents.
std::unique_ptr<SaveWriter> BeginInPlaceSave(const std::string& target, const struct stat& old,
                                             FileHandle held, uint64_t length,
                                             OutputFile::Opened& why) {
    FileHandle file = ::open(target.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    struct stat st {};
    Backup backup;
    if (file == NO_FILE) {
        // It may be written but not read: then no backup can be made.
        why = errno == EACCES ? OutputFile::Opened::NoBackup : OutputFile::Opened::CannotWrite;
    } else if (::fstat(int(file), &st) != 0 || st.st_dev != old.st_dev || st.st_ino != old.st_ino) {
        why = OutputFile::Opened::CannotWrite;  // replaced since it was examined
    } else if (!CreateBackup(target, backup)) {
        why = OutputFile::Opened::NoBackup;
    } else {
        why = OutputFile::Opened::Ready;
        return MakeInPlaceSave(target, file, held, std::move(backup), unsigned(st.st_mode & 07777),
                               uint64_t(st.st_size), length);
    }
    sys::Close(file);
    sys::Close(held);
    return nullptr;
}

}  // namespace

std::unique_ptr<SaveWriter> BeginSave(const std::string& target, uint64_t length,
                                      OutputFile::Opened& why) {
    why = OutputFile::Opened::CannotWrite;
    SaveTargetFacts facts;
    struct stat old {};
    facts.exists = ::lstat(target.c_str(), &old) == 0;
    if (!facts.exists && errno != ENOENT) return nullptr;
    FileHandle held = NO_FILE;
    if (facts.exists) {
        facts.regularFile = S_ISREG(old.st_mode);
        if (!facts.regularFile) return nullptr;
        held = HoldForSave(target, old);
        if (held == NO_FILE) return nullptr;
        facts.writable = ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0;
        facts.linked = old.st_nlink > 1;
        facts.extendedAttributes = HasExtendedAttributes(int(held));
    }
    // Whether a new file can be made beside it, and made like the old one,
    // is found out by making the one a rename save would use.
    std::string temp;
    FileHandle replacement = NO_FILE;
    if (!facts.exists || facts.writable) {
        replacement =
            CreateReplacement(target, facts.exists ? &old : nullptr, temp, facts.ownerMismatch);
        facts.folderWritable = replacement != NO_FILE;
    }

    const WriteMethod method = ChooseWriteMethod(facts);
    if (method == WriteMethod::ReplaceByRename) {
        if (held != NO_FILE) DropCachedContents(int(held));
        why = OutputFile::Opened::Ready;
        return MakeRenameSave(replacement, temp, target, length, held);
    }
    if (replacement != NO_FILE) {
        sys::Close(replacement);
        sys::RemoveFile(temp);
    }
    if (method == WriteMethod::WriteInPlace)
        return BeginInPlaceSave(target, old, held, length, why);
    sys::Close(held);
    return nullptr;
}

}  // namespace files
