#include "FileState.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>

#include "files/win32/Utf16.h"

using files::win32::Widen;

Identity IdentityOf(const std::string& path) {
    HANDLE file = ::CreateFileW(Widen(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = file != INVALID_HANDLE_VALUE && ::GetFileInformationByHandle(file, &info);
    EXPECT_TRUE(known) << path;
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
    return {uint64_t(info.nFileIndexHigh) << 32 | info.nFileIndexLow, info.nNumberOfLinks, 0, 0,
            info.dwFileAttributes};
}

void SetAttributes(const std::string& path, uint32_t attributes) {
    EXPECT_TRUE(::SetFileAttributesW(Widen(path).c_str(), attributes)) << path;
}

bool CanBeRead(const std::string& path) {
    HANDLE file = ::CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(file);
    return true;
}

HeldFile::HeldFile(const std::string& path) {
    HANDLE file = ::CreateFileW(Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) m_handle = reinterpret_cast<intptr_t>(file);
}

HeldFile::~HeldFile() {
    if (IsHeld()) ::CloseHandle(reinterpret_cast<HANDLE>(m_handle));
}

#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

Identity IdentityOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return {st.st_ino, st.st_nlink, st.st_uid, st.st_gid, uint32_t(st.st_mode & 07777)};
}

HeldFile::HeldFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0 && ::flock(fd, LOCK_EX) == 0) m_handle = fd;
    else if (fd >= 0) ::close(fd);
}

HeldFile::~HeldFile() {
    if (IsHeld()) ::close(int(m_handle));
}
#endif
