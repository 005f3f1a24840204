#include "platform/FileIO.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

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

bool OutputFile::Create(const std::string& path) {
    Close();
    m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    return m_fd >= 0;
}

bool OutputFile::Write(const void* data, size_t size) {
    if (m_fd < 0) return false;
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

bool OutputFile::Sync() { return m_fd >= 0 && ::fsync(m_fd) == 0; }

bool OutputFile::Close() {
    if (m_fd < 0) return true;
    bool ok = ::close(m_fd) == 0;
    m_fd = -1;
    return ok;
}

}  // namespace platform
