// Reading files, the process setting for writing them, and the test seams.
#include "platform/FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>

#include "platform/PosixFiles.h"

namespace platform {
namespace {

int g_readFailIn = 0;
int g_writeFailIn = 0;
int g_backupFailIn = 0;

/// Counts one call down; true when it is the one chosen to fail.
bool FaultFires(int& countdown) { return countdown > 0 && --countdown == 0; }

int Fd(FileHandle file) { return int(file); }

}  // namespace

void InjectReadFailure(int n) { g_readFailIn = n; }
void InjectWriteFailure(int n) { g_writeFailIn = n; }
void InjectBackupFailure(int n) { g_backupFailIn = n; }

bool posix::WriteFailureInjected() {
    if (!FaultFires(g_writeFailIn)) return false;
    errno = ENOSPC;
    return true;
}

bool posix::BackupFailureInjected() {
    if (!FaultFires(g_backupFailIn)) return false;
    errno = ENOSPC;
    return true;
}

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

int64_t InputFile::Read(void* buffer, size_t size) {
    if (m_file == NO_FILE) return -1;
    if (FaultFires(g_readFailIn)) {
        errno = EIO;
        return -1;
    }
    for (;;) {
        ssize_t got = ::read(Fd(m_file), buffer, size);
        if (got >= 0) return got;
        if (errno != EINTR) return -1;
    }
}

void InputFile::Close() {
    if (m_file != NO_FILE) ::close(Fd(m_file));
    m_file = NO_FILE;
    m_length = 0;
}

}  // namespace platform
