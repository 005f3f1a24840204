#include "files/SystemFiles.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "files/win32/Utf16.h"

namespace files::sys {
namespace {

HANDLE Handle(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

/// The system's full form of a path, or an empty string.
std::wstring FullPath(const std::string& path) {
    const std::wstring wide = win32::Widen(path);
    const DWORD n = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (n == 0) return {};
    std::wstring full(n, L'\0');
    const DWORD got = ::GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
    if (got == 0 || got >= n) return {};
    full.resize(got);
    return full;
}

OVERLAPPED At(uint64_t offset) {
    OVERLAPPED at{};
    at.Offset = DWORD(offset);
    at.OffsetHigh = DWORD(offset >> 32);
    return at;
}

/// Pieces of one call stay below the 4 GiB a DWORD counts.
DWORD Piece(size_t size) { return DWORD(std::min<size_t>(size, 1u << 30)); }

}  // namespace

std::string DirName(const std::string& path) {
    const auto last = std::find_if(path.rbegin(), path.rend(), IsSeparator);
    if (last == path.rend()) return ".";
    const size_t at = size_t(path.rend() - last) - 1;
    // A root keeps its separator: "\" and "C:\".
    if (at == 0 || (at == 2 && path[1] == ':')) return path.substr(0, at + 1);
    return path.substr(0, at);
}

std::string BaseName(const std::string& path) {
    const auto last = std::find_if(path.rbegin(), path.rend(), IsSeparator);
    return std::string(last.base(), path.end());
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    return !folder.empty() && IsSeparator(folder.back()) ? folder + name : folder + "\\" + name;
}

std::string AbsolutePath(const std::string& path) {
    const std::wstring full = FullPath(path);
    return full.empty() ? path : win32::Narrow(full);
}

bool SaveTarget(const std::string& path, bool followLink, std::string& target) {
    // Replacing a file needs its full path. A link is not followed here: a
    // link target is written in place, through the link.
    const std::wstring full = FullPath(path);
    if (full.empty()) return false;
    target = win32::Narrow(full);
    return followLink || !IsLink(target);
}

bool IsLink(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(win32::Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

FileHandle CreateNewFile(const std::string& path, bool, bool& exists) {
    // Held: no other handle may write it or delete it while the save runs.
    // A new file gets the permissions its folder passes on, which are the
    // user's own in the user's temporary folder.
    // DELETE lets RenameToNewName rename it while it is held.
    HANDLE file =
        ::CreateFileW(win32::Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                      FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    exists = file == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_FILE_EXISTS;
    return file == INVALID_HANDLE_VALUE ? NO_FILE : reinterpret_cast<FileHandle>(file);
}

bool IsLeftover(const std::string& path, bool) {
    // Reading while denying writers fails while a save (or anyone) writes
    // it. A Windows user's temporary folder is the user's own.
    HANDLE file =
        ::CreateFileW(win32::Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool leftover =
        ::GetFileType(file) == FILE_TYPE_DISK && ::GetFileInformationByHandle(file, &info) &&
        !(info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
    ::CloseHandle(file);
    return leftover;
}

void RemoveFile(const std::string& path) { ::DeleteFileW(win32::Widen(path).c_str()); }

bool RenameToNewName(FileHandle file, const std::string&, const std::string& to, bool& exists) {
    // Renamed through its handle, so that it stays held all along.
    const std::wstring name = win32::Widen(to);
    std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(WCHAR));
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = FALSE;
    info->RootDirectory = nullptr;
    info->FileNameLength = DWORD(name.size() * sizeof(WCHAR));
    std::copy(name.begin(), name.end(), info->FileName);
    const bool renamed =
        ::SetFileInformationByHandle(Handle(file), FileRenameInfo, info, DWORD(buffer.size())) != 0;
    const DWORD error = renamed ? ERROR_SUCCESS : ::GetLastError();
    exists = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
    return renamed;
}

bool WriteAllAt(FileHandle file, const void* data, size_t size, uint64_t offset) {
    auto p = static_cast<const char*>(data);
    while (size > 0) {
        OVERLAPPED at = At(offset);
        DWORD put = 0;
        if (!::WriteFile(Handle(file), p, Piece(size), &put, &at) || put == 0) return false;
        p += put;
        size -= put;
        offset += put;
    }
    return true;
}

bool ReadAllAt(FileHandle file, void* data, size_t size, uint64_t offset) {
    auto p = static_cast<char*>(data);
    while (size > 0) {
        OVERLAPPED at = At(offset);
        DWORD got = 0;
        if (!::ReadFile(Handle(file), p, Piece(size), &got, &at) || got == 0) return false;
        p += got;
        size -= got;
        offset += got;
    }
    return true;
}

bool SyncFile(FileHandle file) { return ::FlushFileBuffers(Handle(file)) != 0; }

// The file system's own log keeps the names; the renames ask for write-through.
void SyncFolder(const std::string&) {}

bool SetLength(FileHandle file, uint64_t length) {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = LONGLONG(length);
    return ::SetFileInformationByHandle(Handle(file), FileEndOfFileInfo, &end, sizeof end) != 0;
}

bool ReserveSpace(FileHandle file, uint64_t length) {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(Handle(file), &size)) return false;
    if (uint64_t(size.QuadPart) >= length) return true;
    // Lengthening a file that is not sparse allocates its clusters.
    if (SetLength(file, length)) return true;
    (void)SetLength(file, uint64_t(size.QuadPart));  // drop any part it added
    return false;
}

// Writing into a file changes none of its attributes or permissions.
void KeepMode(FileHandle, unsigned) {}

void Close(FileHandle& file) {
    if (file != NO_FILE) ::CloseHandle(Handle(file));
    file = NO_FILE;
}

bool RenameOver(FileHandle& file, FileHandle& held, const std::string& from,
                const std::string& to) {
    // Replacing needs both files closed. ReplaceFileW keeps the old file's
    // identity (creation time, short name, streams, security); where it
    // cannot (another file system, no old file), a plain replacing rename
    // completes the save. ReplaceFileW moves the old file to the backup name
    // first: when it then gives up half way, the old file is there and not
    // lost, and is put back if the rename cannot complete the save either.
    Close(held);
    Close(file);
    const std::wstring source = win32::Widen(from);
    const std::wstring target = win32::Widen(to);
    const std::wstring backup = source + L"-old";
    const bool replaced = ::ReplaceFileW(target.c_str(), source.c_str(), backup.c_str(),
                                         REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) ||
                          ::MoveFileExW(source.c_str(), target.c_str(),
                                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    const bool oldFileMoved = ::GetFileAttributesW(backup.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (replaced) {
        if (oldFileMoved) ::DeleteFileW(backup.c_str());
        return true;
    }
    if (oldFileMoved && ::GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES) {
        ::MoveFileExW(backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
    }
    return false;
}

}  // namespace files::sys
