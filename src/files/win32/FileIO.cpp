// Reading files on Windows: other programs may read the file meanwhile but
// not write it.
#include "files/FileIO.h"

#include <windows.h>

#include <algorithm>

#include "files/win32/Utf16.h"

namespace files {
namespace {

HANDLE Handle(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

}  // namespace

// Windows has no per-process file-size limit that ends a writer.
void InitFileWrites() {}

bool InputFile::Open(const std::string& path) {
    Close();
    HANDLE file = ::CreateFileW(win32::Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    // Folders fail above; devices and pipes are not files on a disk.
    LARGE_INTEGER size{};
    if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileSizeEx(file, &size)) {
        ::CloseHandle(file);
        return false;
    }
    m_file = reinterpret_cast<FileHandle>(file);
    m_length = uint64_t(size.QuadPart);
    return true;
}

int64_t InputFile::ReadFromSystem(void* buffer, size_t size) {
    DWORD got = 0;
    const DWORD asked = DWORD(std::min<size_t>(size, 1u << 30));
    if (!::ReadFile(Handle(m_file), buffer, asked, &got, nullptr)) return -1;
    return got;
}

}  // namespace files
