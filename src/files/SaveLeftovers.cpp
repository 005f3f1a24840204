#include "files/SaveLeftovers.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>

#include "files/FileConditions.h"
#include "files/SystemFiles.h"

namespace files {
namespace {

const char kTemporaryTag[] = ".bytewren-";
const char kBackupTag[] = ".bytewren-backup";
constexpr size_t kTemporaryDigits = 6;

/// Paths are UTF-8 in the file layer, whatever the system's code page.
std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}
std::string Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

/// The file name a save's own names start from, short enough that the
/// longest of them stays within the usual 255-byte limit.
std::string Stem(const std::string& target) { return sys::BaseName(target).substr(0, 200); }

std::string TemporaryFolder() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    return error ? std::string("/tmp") : Utf8(folder);
}

/// Backups in the shared temporary folder carry a hash of the target's full
/// path, so that files of the same name in different folders differ.
std::string PathHash(const std::string& target) {
    uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (unsigned char c : sys::AbsolutePath(target)) hash = (hash ^ c) * 1099511628211ull;
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", (unsigned long long)hash);
    return text;
}

bool IsLowerHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

template <class Test>
bool AllFrom(const std::string& text, size_t from, Test test) {
    return std::all_of(text.begin() + long(from), text.end(), test);
}

bool IsTemporaryName(const std::string& name, const std::string& prefix) {
    return name.size() == prefix.size() + kTemporaryDigits &&
           name.compare(0, prefix.size(), prefix) == 0 &&
           AllFrom(name, prefix.size(), IsLowerHexDigit);
}

bool IsBackupName(const std::string& name, const std::string& prefix) {
    if (name.compare(0, prefix.size(), prefix) != 0) return false;
    if (name.size() == prefix.size()) return true;
    return name.size() > prefix.size() + 1 && name[prefix.size()] == '-' &&
           AllFrom(name, prefix.size() + 1, IsDigit);
}

std::vector<std::string> Leftovers(const std::string& folder, bool ownFilesOnly,
                                   bool (*matches)(const std::string&, const std::string&),
                                   const std::string& prefix) {
    std::vector<std::string> found;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(PathOf(folder), error), end;
         !error && entry != end; entry.increment(error)) {
        const std::string name = Utf8(entry->path().filename());
        if (!matches(name, prefix)) continue;
        const std::string path = sys::JoinPath(folder, name);
        if (sys::IsLeftover(path, ownFilesOnly)) found.push_back(path);
    }
    std::sort(found.begin(), found.end());
    return found;
}

/// How the names of a save's files of the given kind start: hidden beside
/// target, or with the hash of its path in the shared temporary folder.
std::string Prefix(const std::string& target, bool inTemporaryFolder, const char* tag) {
    return inTemporaryFolder ? Stem(target) + "." + PathHash(target) + tag
                             : "." + Stem(target) + tag;
}

/// Files of one kind for target that no running save holds: beside it, and
/// the user's own in the temporary folder.
std::vector<std::string> LeftoversOf(const std::string& target,
                                     bool (*matches)(const std::string&, const std::string&),
                                     const char* tag) {
    std::vector<std::string> found =
        Leftovers(sys::DirName(target), false, matches, Prefix(target, false, tag));
    const std::vector<std::string> away =
        Leftovers(TemporaryFolder(), true, matches, Prefix(target, true, tag));
    found.insert(found.end(), away.begin(), away.end());
    return found;
}

std::string FolderFor(const std::string& target, bool inTemporaryFolder) {
    return inTemporaryFolder ? TemporaryFolder() : sys::DirName(target);
}

/// A fresh name for a temporary file of a save of target, beside it or in
/// the user's temporary folder.
std::string TemporaryName(const std::string& target, bool inTemporaryFolder) {
    static std::mt19937 random(std::random_device{}());
    char suffix[kTemporaryDigits + 1];
    std::snprintf(suffix, sizeof suffix, "%06lx", (unsigned long)(random() & 0xFFFFFF));
    return sys::JoinPath(FolderFor(target, inTemporaryFolder),
                         Prefix(target, inTemporaryFolder, kTemporaryTag) + suffix);
}

/// Creates a new temporary file for a save of target (see
/// sys::CreateNewFile for privateFile).
FileHandle CreateTemporaryIn(const std::string& target, bool inTemporaryFolder, bool privateFile,
                             std::string& path) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = TemporaryName(target, inTemporaryFolder);
        bool exists = false;
        const FileHandle file = sys::CreateNewFile(path, privateFile, exists);
        if (file != NO_FILE || !exists) return file;
    }
    return NO_FILE;
}

/// The n-th (from 0) candidate name of a backup of target, in its folder or
/// in the user's temporary folder.
std::string BackupName(const std::string& target, bool inTemporaryFolder, unsigned n) {
    std::string name = Prefix(target, inTemporaryFolder, kBackupTag);
    if (n > 0) name += "-" + std::to_string(n + 1);
    return sys::JoinPath(FolderFor(target, inTemporaryFolder), name);
}

}  // namespace

FileHandle CreateTemporary(const std::string& target, bool privateFile, std::string& path) {
    return CreateTemporaryIn(target, false, privateFile, path);
}

bool CreateBackup(const std::string& target, Backup& backup) {
    if (CurrentConditions().BackupFails()) return false;
    for (bool away : {false, true}) {
        // Private: only the saving user, who could read the file, reads it.
        backup.file = CreateTemporaryIn(target, away, true, backup.path);
        backup.away = away;
        if (backup.file != NO_FILE) return true;
    }
    return false;
}

bool NameBackup(const std::string& target, Backup& backup) {
    for (unsigned n = 0; n < 100; ++n) {
        const std::string name = BackupName(target, backup.away, n);
        bool exists = false;
        if (sys::RenameToNewName(backup.file, backup.path, name, exists)) {
            backup.path = name;
            sys::SyncFolder(sys::DirName(name));
            return true;
        }
        if (!exists) return false;
    }
    return false;
}

std::vector<std::string> LeftoverTemporaries(const std::string& target) {
    return LeftoversOf(target, IsTemporaryName, kTemporaryTag);
}

std::vector<std::string> LeftoverBackups(const std::string& target) {
    return LeftoversOf(target, IsBackupName, kBackupTag);
}

}  // namespace files
