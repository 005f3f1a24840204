#include "platform/SaveLeftovers.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>

#include "platform/SystemFiles.h"

namespace platform {
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

std::string TemporaryPrefix(const std::string& target) {
    return "." + Stem(target) + kTemporaryTag;
}

std::string BackupPrefix(const std::string& target, bool inTemporaryFolder) {
    return inTemporaryFolder ? Stem(target) + "." + PathHash(target) + kBackupTag
                             : "." + Stem(target) + kBackupTag;
}

/// A fresh name for a rename save's temporary file beside target.
std::string TemporaryName(const std::string& target) {
    static std::mt19937 random(std::random_device{}());
    char suffix[kTemporaryDigits + 1];
    std::snprintf(suffix, sizeof suffix, "%06lx", (unsigned long)(random() & 0xFFFFFF));
    return sys::JoinPath(sys::DirName(target), TemporaryPrefix(target) + suffix);
}

/// The n-th (from 0) candidate name of a backup of target, in its folder or
/// in the user's temporary folder.
std::string BackupName(const std::string& target, bool inTemporaryFolder, unsigned n) {
    const std::string folder = inTemporaryFolder ? TemporaryFolder() : sys::DirName(target);
    std::string name = BackupPrefix(target, inTemporaryFolder);
    if (n > 0) name += "-" + std::to_string(n + 1);
    return sys::JoinPath(folder, name);
}

}  // namespace

FileHandle CreateTemporary(const std::string& target, bool privateFile, std::string& path) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = TemporaryName(target);
        bool exists = false;
        const FileHandle file = sys::CreateNewFile(path, privateFile, exists);
        if (file != NO_FILE || !exists) return file;
    }
    return NO_FILE;
}

FileHandle CreateBackup(const std::string& target, std::string& path) {
    if (sys::BackupFailureInjected()) return NO_FILE;
    for (bool away : {false, true}) {
        for (unsigned n = 0; n < 100; ++n) {
            path = BackupName(target, away, n);
            // Private: only the saving user, who could read the file, reads it.
            bool exists = false;
            const FileHandle file = sys::CreateNewFile(path, true, exists);
            if (file != NO_FILE) return file;
            if (!exists) break;
        }
    }
    return NO_FILE;
}

std::vector<std::string> LeftoverTemporaries(const std::string& target) {
    return Leftovers(sys::DirName(target), false, IsTemporaryName, TemporaryPrefix(target));
}

std::vector<std::string> LeftoverBackups(const std::string& target) {
    std::vector<std::string> found =
        Leftovers(sys::DirName(target), false, IsBackupName, BackupPrefix(target, false));
    const std::vector<std::string> away =
        Leftovers(TemporaryFolder(), true, IsBackupName, BackupPrefix(target, true));
    found.insert(found.end(), away.begin(), away.end());
    return found;
}

}  // namespace platform
