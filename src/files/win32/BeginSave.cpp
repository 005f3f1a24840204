// Examining a save's target on Windows and beginning the save that keeps
// everything the file has: its links, attributes, streams and security.
// The target is opened for reading and writing without sharing, as a save
// must: a file that another program has open is refused, and no other
// program opens it until the save ends.
#include <windows.h>
// After <windows.h>, which they need:
#include <aclapi.h>
#include <sddl.h>

#include "files/SaveLeftovers.h"
#include "files/SaveWriter.h"
#include "files/SystemFiles.h"
#include "files/WriteMethod.h"
#include "files/win32/Utf16.h"

namespace files {
namespace {

/// Attributes that a new file is given below; any other (compressed,
/// encrypted, sparse, a link...) would be lost by a rename.
constexpr DWORD kCopiedAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                    FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY |
                                    FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
constexpr DWORD kPlainAttributes =
    kCopiedAttributes | FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_READONLY;

HANDLE Handle(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

/// Streams besides the file's data, which only the old file has.
bool HasNamedStreams(HANDLE file) {
    alignas(FILE_STREAM_INFO) char buffer[64 * 1024];
    if (!::GetFileInformationByHandleEx(file, FileStreamInfo, buffer, sizeof buffer)) {
        // None, not supported by the file system, or more than fit: only
        // the last may have some.
        return ::GetLastError() == ERROR_MORE_DATA;
    }
    for (size_t at = 0;;) {
        const auto* stream = reinterpret_cast<const FILE_STREAM_INFO*>(buffer + at);
        const std::wstring name(stream->StreamName, stream->StreamNameLength / sizeof(WCHAR));
        if (name != L"::$DATA") return true;
        if (stream->NextEntryOffset == 0) return false;
        at += stream->NextEntryOffset;
    }
}

/// The owner, group and access list of an open file, as text.
std::wstring SecurityOf(HANDLE file) {
    const SECURITY_INFORMATION what =
        OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetSecurityInfo(file, SE_FILE_OBJECT, what, nullptr, nullptr, nullptr, nullptr,
                          &descriptor) != ERROR_SUCCESS) {
        return {};
    }
    LPWSTR text = nullptr;
    std::wstring security;
    if (::ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, what,
                                                               &text, nullptr)) {
        security = text;
        ::LocalFree(text);
    }
    ::LocalFree(descriptor);
    return security;
}

/// Makes the new file like the old one: its plain attributes, and the same
/// owner, group and access list. False when they differ.
bool MadeLike(HANDLE file, HANDLE old, DWORD attributes) {
    FILE_BASIC_INFO basic{};  // zero times stay as they are
    basic.FileAttributes = attributes & kCopiedAttributes;
    if (!basic.FileAttributes) basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    if (!::SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic)) return false;
    const std::wstring security = SecurityOf(old);
    return !security.empty() && SecurityOf(file) == security;
}

/// In place: the old contents go to a backup first.
std::unique_ptr<SaveWriter> BeginInPlaceSave(const std::string& target, FileHandle file,
                                             uint64_t length, OutputFile::Opened& why) {
    LARGE_INTEGER size{};
    Backup backup;
    if (!::GetFileSizeEx(Handle(file), &size) || !CreateBackup(target, backup)) {
        sys::Close(file);
        why = OutputFile::Opened::NoBackup;
        return nullptr;
    }
    why = OutputFile::Opened::Ready;
    // The file itself is held: opened without sharing.
    return MakeInPlaceSave(target, file, NO_FILE, std::move(backup), 0, uint64_t(size.QuadPart),
                           length);
}

}  // namespace

std::unique_ptr<SaveWriter> BeginSave(const std::string& target, uint64_t length,
                                      OutputFile::Opened& why) {
    why = OutputFile::Opened::CannotWrite;
    const std::wstring path = win32::Widen(target);
    SaveTargetFacts facts;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    facts.exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!facts.exists && ::GetLastError() != ERROR_FILE_NOT_FOUND) return nullptr;

    // The file itself, held from here on; a file in use cannot be opened.
    FileHandle held = NO_FILE;
    if (facts.exists) {
        facts.regularFile = !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
        // Renaming over a read-only file may succeed where writing it may
        // not: it is refused either way.
        facts.writable = !(attributes & FILE_ATTRIBUTE_READONLY);
        if (!facts.regularFile || !facts.writable) return nullptr;
        HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return nullptr;
        held = reinterpret_cast<FileHandle>(file);
        BY_HANDLE_FILE_INFORMATION info{};
        if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileInformationByHandle(file, &info)) {
            sys::Close(held);
            return nullptr;
        }
        facts.linked = info.nNumberOfLinks > 1;
        facts.extendedAttributes = (attributes & ~kPlainAttributes) || HasNamedStreams(file);
    }

    // Whether a new file can be made beside it, and made like the old one,
    // is found out by making the one a rename save would use.
    std::string temp;
    FileHandle tempFile = CreateTemporary(target, facts.exists, temp);
    facts.folderWritable = tempFile != NO_FILE;
    if (facts.exists && facts.folderWritable) {
        facts.ownerMismatch = !MadeLike(Handle(tempFile), Handle(held), attributes);
    }

    const WriteMethod method = ChooseWriteMethod(facts);
    if (method == WriteMethod::ReplaceByRename) {
        why = OutputFile::Opened::Ready;
        return MakeRenameSave(tempFile, temp, target, length, held);
    }
    if (tempFile != NO_FILE) {
        sys::Close(tempFile);
        sys::RemoveFile(temp);
    }
    if (method == WriteMethod::WriteInPlace) return BeginInPlaceSave(target, held, length, why);
    sys::Close(held);
    return nullptr;
}

}  // namespace files
