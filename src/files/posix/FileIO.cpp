// Reading files and the process setting for writing them, on POSIX.
#include "files/FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>

namespace files {
namespace {

int Fd(FileHandle file) { return int(file); }

}  // namespace

void InitFileWrites() {
    // By default a write past RLIMIT_FSIZE kills the process with SIGXFSZ,
    // losing the image; ignored, the write fails with EFBIG and the save
    // reports it like any other write failure.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGXFSZ, &ignore, nullptr);
}

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
    m_file = fd;
    m_length = uint64_t(st.st_size);
    return true;
}

int64_t InputFile::ReadFromSystem(void* buffer, size_t size) {
    for (;;) {
        ssize_t got = ::read(Fd(m_file), buffer, size);
        if (got >= 0) return got;
        if (errno != EINTR) return -1;
    }
}

}  // namespace files
