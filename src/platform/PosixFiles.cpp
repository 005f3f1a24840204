#include "platform/PosixFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>

namespace platform::posix {

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

bool WriteAllAt(int fd, const void* data, size_t size, uint64_t offset) {
    auto p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t put = ::pwrite(fd, p, size, off_t(offset));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        p += put;
        size -= size_t(put);
        offset += uint64_t(put);
    }
    return true;
}

bool ReadAllAt(int fd, void* data, size_t size, uint64_t offset) {
    auto p = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t got = ::pread(fd, p, size, off_t(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        p += got;
        size -= size_t(got);
        offset += uint64_t(got);
    }
    return true;
}

void SyncFolder(const std::string& folder) {
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return;
    (void)::fsync(dir);
    ::close(dir);
}

void Close(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace platform::posix
