#include "platform/FileIO.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

int g_readFailIn = 0;
int g_writeFailIn = 0;

/// Counts one call down; true when it is the one chosen to fail.
bool FaultFires(int& countdown) { return countdown > 0 && --countdown == 0; }

/// The folder part of a path, as rename and open need it.
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

/// The file a write to path really lands in: symbolic links are followed
/// (relative ones from the link's own folder) to a file or to a name that
/// does not exist yet. False for loops and unreadable links.
bool ResolveLinks(const std::string& path, std::string& resolved) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0) {
            if (errno != ENOENT) return false;
            resolved = current;
            return true;
        }
        if (!S_ISLNK(st.st_mode)) {
            resolved = current;
            return true;
        }
        char link[PATH_MAX];
        const ssize_t n = ::readlink(current.c_str(), link, sizeof link);
        if (n <= 0 || size_t(n) == sizeof link) return false;
        const std::string target(link, size_t(n));
        current = target[0] == '/' ? target : DirName(current) + "/" + target;
    }
    return false;
}

/// A name unlikely to be taken, for a temporary file beside the target.
std::string TemporaryName(const std::string& target, unsigned attempt) {
    static unsigned serial = 0;
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const unsigned long mix = (unsigned long)now.tv_nsec * 2654435761u ^
                              (unsigned long)::getpid() << 16 ^ ++serial ^ attempt;
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".bytewren-%06lx", mix & 0xFFFFFF);
    // Keep the name within the usual 255-byte limit for long file names.
    return DirName(target) + "/." + BaseName(target).substr(0, 200) + suffix;
}

}  // namespace

void InjectReadFailure(int n) { g_readFailIn = n; }
void InjectWriteFailure(int n) { g_writeFailIn = n; }

bool InputFile::Open(const std::string& path) {
    Close();
    // O_NONBLOCK keeps a FIFO from blocking the open; only regular files are
    // accepted, so it is cleared again before reading.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_length = uint64_t(st.st_size);
    return true;
}

int64_t InputFile::Read(void* buffer, size_t size) {
    if (m_fd < 0) return -1;
    if (FaultFires(g_readFailIn)) {
        errno = EIO;
        return -1;
    }
    for (;;) {
        ssize_t got = ::read(m_fd, buffer, size);
        if (got >= 0) return got;
        if (errno != EINTR) return -1;
    }
}

void InputFile::Close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    m_length = 0;
}

bool ReplacementFile::Begin(const std::string& path) {
    Abandon();
    std::string target;
    if (path.empty() || !ResolveLinks(path, target)) return false;

    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (!exists && errno != ENOENT) return false;
    // rename() would replace a read-only file or a file of another kind
    // without complaint, so both are refused here.
    if (exists && (!S_ISREG(st.st_mode) ||
                   ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)) {
        return false;
    }

    // An existing file's contents must never be readable by more people
    // than before, even briefly: its replacement starts private.
    const mode_t createMode = exists ? 0600 : 0666;
    for (unsigned attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        std::string name = TemporaryName(target, attempt);
        m_fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, createMode);
        if (m_fd >= 0) m_temp = std::move(name);
        else if (errno != EEXIST) return false;
    }
    if (m_fd < 0) return false;
    m_target = target;

    if (exists) {
        // Keep the owner and group where the system allows it; a set-id bit
        // is kept only together with the id it refers to.
        if (::fchown(m_fd, st.st_uid, st.st_gid) != 0) (void)::fchown(m_fd, uid_t(-1), st.st_gid);
        struct stat mine {};
        mode_t mode = st.st_mode & 07777;
        if (::fstat(m_fd, &mine) == 0) {
            if (mine.st_uid != st.st_uid) mode &= ~mode_t(S_ISUID);
            if (mine.st_gid != st.st_gid) mode &= ~mode_t(S_ISGID);
        } else {
            mode &= ~mode_t(S_ISUID | S_ISGID);
        }
        if (::fchmod(m_fd, mode) != 0) {
            Abandon();
            return false;
        }
    }
    return true;
}

bool ReplacementFile::Write(const void* data, size_t size) {
    if (m_fd < 0) return false;
    if (FaultFires(g_writeFailIn)) {
        errno = ENOSPC;
        return false;
    }
    auto p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t put = ::write(m_fd, p, size);
        if (put < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (put == 0) return false;
        p += put;
        size -= size_t(put);
    }
    return true;
}

bool ReplacementFile::Flush() {
    if (m_fd < 0) return false;
    const bool synced = ::fsync(m_fd) == 0;
    const bool closed = ::close(m_fd) == 0;
    m_fd = -1;
    if (synced && closed) return true;
    Abandon();
    return false;
}

bool ReplacementFile::Replace() {
    if (m_fd >= 0 || m_temp.empty()) return false;
    if (::rename(m_temp.c_str(), m_target.c_str()) != 0) {
        Abandon();
        return false;
    }
    m_temp.clear();
    // Make the new name itself durable; the data already is.
    const int dir = ::open(DirName(m_target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    return true;
}

void ReplacementFile::Abandon() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    if (!m_temp.empty()) ::unlink(m_temp.c_str());
    m_temp.clear();
}

}  // namespace platform
