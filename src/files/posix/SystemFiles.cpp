#include "files/SystemFiles.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace files::sys {
namespace {

int Fd(FileHandle file) { return int(file); }

}  // namespace

std::string DirName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    return folder + "/" + name;
}

std::string AbsolutePath(const std::string& path) {
    char folder[PATH_MAX];
    if (!::realpath(DirName(path).c_str(), folder)) return path;
    return JoinPath(folder, BaseName(path));
}

bool SaveTarget(const std::string& path, bool followLink, std::string& target) {
    if (!followLink) {
        if (IsLink(path)) return false;
        target = path;
        return true;
    }
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0) {
            if (errno != ENOENT) return false;
            target = current;
            return true;
        }
        if (!S_ISLNK(st.st_mode)) {
            target = current;
            return true;
        }
        char link[PATH_MAX];
        const ssize_t n = ::readlink(current.c_str(), link, sizeof link);
        if (n <= 0 || size_t(n) == sizeof link) return false;
        const std::string to(link, size_t(n));
        current = to[0] == '/' ? to : JoinPath(DirName(current), to);
    }
    return false;
}

bool IsLink(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

FileHandle CreateNewFile(const std::string& path, bool privateFile, bool& exists) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          privateFile ? 0600 : 0666);
    exists = fd < 0 && errno == EEXIST;
    if (fd < 0) return NO_FILE;
    // The lock tells other saves that this file is not a leftover.
    (void)::flock(fd, LOCK_EX | LOCK_NB);
    return fd;
}

bool IsLeftover(const std::string& path, bool ownFilesOnly) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    bool leftover = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                    (!ownFilesOnly || st.st_uid == ::geteuid()) &&
                    ::flock(fd, LOCK_SH | LOCK_NB) == 0;
    ::close(fd);
    return leftover;
}

void RemoveFile(const std::string& path) { ::unlink(path.c_str()); }

bool RenameToNewName(FileHandle, const std::string& from, const std::string& to, bool& exists) {
    exists = false;
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno == EEXIST) {
        exists = true;
        return false;
    }
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system that cannot rename without replacing: a second name is
    // never made over an existing one either.
    if (::link(from.c_str(), to.c_str()) != 0) {
        exists = errno == EEXIST;
        return false;
    }
    ::unlink(from.c_str());
    return true;
}

bool WriteAllAt(FileHandle file, const void* data, size_t size, uint64_t offset) {
    auto p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t put = ::pwrite(Fd(file), p, size, off_t(offset));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        p += put;
        size -= size_t(put);
        offset += uint64_t(put);
    }
    return true;
}

bool ReadAllAt(FileHandle file, void* data, size_t size, uint64_t offset) {
    auto p = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t got = ::pread(Fd(file), p, size, off_t(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        p += got;
        size -= size_t(got);
        offset += uint64_t(got);
    }
    return true;
}

bool SyncFile(FileHandle file) { return ::fsync(Fd(file)) == 0; }

void SyncFolder(const std::string& folder) {
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return;
    (void)::fsync(dir);
    ::close(dir);
}

bool SetLength(FileHandle file, uint64_t length) {
    return ::ftruncate(Fd(file), off_t(length)) == 0;
}

bool ReserveSpace(FileHandle file, uint64_t length) {
    struct stat before {};
    if (::fstat(Fd(file), &before) != 0) return false;
    if (::posix_fallocate(Fd(file), 0, off_t(length)) == 0) return true;
    struct stat after {};
    if (::fstat(Fd(file), &after) == 0 && after.st_size != before.st_size) {
        (void)::ftruncate(Fd(file), before.st_size);  // drop any part it added
    }
    return false;
}

void KeepMode(FileHandle file, unsigned mode) {
    // Writing clears the set-id bits of a file when the writer could not
    // have set them; its owner may set them again.
    struct stat st {};
    if (::fstat(Fd(file), &st) == 0 && (st.st_mode & 07777) != mode) {
        (void)::fchmod(Fd(file), mode_t(mode));
    }
}

void Close(FileHandle& file) {
    if (file != NO_FILE) ::close(Fd(file));
    file = NO_FILE;
}

bool RenameOver(FileHandle& file, FileHandle& held, const std::string& from,
                const std::string& to) {
    const bool renamed = ::rename(from.c_str(), to.c_str()) == 0;
    Close(held);  // once replaced, the old file is no other save's concern
    if (!renamed) return false;
    Close(file);
    // Make the new name itself durable; the data already is.
    SyncFolder(DirName(to));
    return true;
}

}  // namespace files::sys
