#include "platform/SaveLeftovers.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <climits>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "platform/PosixFiles.h"

namespace platform::posix {
namespace {

const char kTemporaryTag[] = ".bytewren-";
const char kBackupTag[] = ".bytewren-backup";
constexpr size_t kTemporaryDigits = 6;

/// The file name a save's own names start from, short enough that the
/// longest of them stays within the usual 255-byte limit.
std::string Stem(const std::string& target) { return BaseName(target).substr(0, 200); }

std::string TemporaryFolder() {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    return error ? std::string("/tmp") : folder.string();
}

/// Backups in the shared temporary folder carry a hash of the target's full
/// path, so that files of the same name in different folders differ.
std::string PathHash(const std::string& target) {
    std::string absolute = target;
    char folder[PATH_MAX];
    if (::realpath(DirName(target).c_str(), folder)) {
        absolute = std::string(folder) + "/" + BaseName(target);
    }
    uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (unsigned char c : absolute) hash = (hash ^ c) * 1099511628211ull;
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

/// A regular file that no running save holds; in a shared folder, only the
/// user's own files count.
bool IsLeftover(const std::string& path, bool ownFilesOnly) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    bool leftover = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                    (!ownFilesOnly || st.st_uid == ::geteuid()) &&
                    ::flock(fd, LOCK_SH | LOCK_NB) == 0;
    ::close(fd);
    return leftover;
}

std::vector<std::string> Leftovers(const std::string& folder, bool ownFilesOnly,
                                   bool (*matches)(const std::string&, const std::string&),
                                   const std::string& prefix) {
    std::vector<std::string> found;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return found;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (!matches(name, prefix)) continue;
        const std::string path = folder + "/" + name;
        if (IsLeftover(path, ownFilesOnly)) found.push_back(path);
    }
    ::closedir(dir);
    std::sort(found.begin(), found.end());
    return found;
}

std::string BackupPrefix(const std::string& target, bool inTemporaryFolder) {
    return inTemporaryFolder ? Stem(target) + "." + PathHash(target) + kBackupTag
                             : "." + Stem(target) + kBackupTag;
}

}  // namespace

std::string TemporaryName(const std::string& target) {
    static unsigned serial = 0;
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const unsigned long mix =
        (unsigned long)now.tv_nsec * 2654435761u ^ (unsigned long)::getpid() << 16 ^ ++serial;
    char suffix[kTemporaryDigits + 1];
    std::snprintf(suffix, sizeof suffix, "%06lx", mix & 0xFFFFFF);
    return DirName(target) + "/." + Stem(target) + kTemporaryTag + suffix;
}

std::string BackupName(const std::string& target, bool inTemporaryFolder, unsigned n) {
    const std::string folder = inTemporaryFolder ? TemporaryFolder() : DirName(target);
    std::string name = folder + "/" + BackupPrefix(target, inTemporaryFolder);
    if (n > 0) name += "-" + std::to_string(n + 1);
    return name;
}

std::vector<std::string> LeftoverTemporaries(const std::string& target) {
    return Leftovers(DirName(target), false, IsTemporaryName, "." + Stem(target) + kTemporaryTag);
}

std::vector<std::string> LeftoverBackups(const std::string& target) {
    std::vector<std::string> found =
        Leftovers(DirName(target), false, IsBackupName, BackupPrefix(target, false));
    const std::vector<std::string> away =
        Leftovers(TemporaryFolder(), true, IsBackupName, BackupPrefix(target, true));
    found.insert(found.end(), away.begin(), away.end());
    return found;
}

bool HoldForThisSave(int fd) { return ::flock(fd, LOCK_EX | LOCK_NB) == 0; }

}  // namespace platform::posix
