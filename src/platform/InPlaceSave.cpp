// A save that overwrites the file itself, for files that a new file could
// not replace without losing something. The old contents are first copied
// to a backup that is on disk before the first byte of the file changes, and
// the new length is reserved; a save that does not complete copies the old
// bytes back and restores the old length. The backup is removed once the
// file holds either all the old or all the new bytes durably; if the old
// bytes cannot be put back it is kept as their only copy.
#include <fcntl.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/PosixFiles.h"
#include "platform/SaveLeftovers.h"
#include "platform/SaveWriter.h"

namespace platform {
namespace {

class InPlaceSave final : public SaveWriter {
public:
    InPlaceSave(int file, int backup, std::string backupPath, const struct stat& old,
                uint64_t length)
        : m_file(file),
          m_backup(backup),
          m_backupPath(std::move(backupPath)),
          m_mode(old.st_mode & 07777),
          m_oldLength(uint64_t(old.st_size)),
          m_length(length) {}
    ~InPlaceSave() override {
        while (UndoNext(kUndoPiece) == Step::More) {}
    }

    bool InPlace() const override { return true; }

    Step PrepareNext(size_t maxBytes) override {
        if (m_phase != Phase::Preparing) return Step::Failed;
        if (m_copied < m_oldLength) {
            const size_t n = size_t(std::min<uint64_t>(maxBytes, m_oldLength - m_copied));
            m_buffer.resize(n);
            if (posix::BackupFailureInjected() ||
                !posix::ReadAllAt(m_file, m_buffer.data(), n, m_copied) ||
                !posix::WriteAllAt(m_backup, m_buffer.data(), n, m_copied)) {
                return GiveUp();
            }
            m_copied += n;
            return Step::More;
        }
        if (::fsync(m_backup) != 0) return GiveUp();
        posix::SyncFolder(posix::DirName(m_backupPath));
        // Every block the new bytes need, holes of a sparse file included,
        // is allocated now, so that no write below can run out of space.
        if (::posix_fallocate(m_file, 0, off_t(m_length)) != 0) {
            struct stat st {};
            if (::fstat(m_file, &st) == 0 && uint64_t(st.st_size) != m_oldLength) {
                (void)::ftruncate(m_file, off_t(m_oldLength));  // drop any part it added
            }
            return GiveUp();
        }
        m_phase = Phase::Writing;
        return Step::Done;
    }

    bool Write(const void* data, size_t size) override {
        if (m_phase != Phase::Writing) return false;
        m_touched = std::max(m_touched, m_written + size);
        if (posix::WriteFailureInjected() || !posix::WriteAllAt(m_file, data, size, m_written)) {
            return false;
        }
        m_written += size;
        return true;
    }

    bool Flush() override {
        if (m_phase != Phase::Writing) return false;
        // Cutting the file short loses old bytes past the new end too.
        if (m_length < m_oldLength) m_touched = m_oldLength;
        if (::ftruncate(m_file, off_t(m_length)) != 0) return false;
        KeepMode();
        return !posix::WriteFailureInjected() && ::fsync(m_file) == 0;
    }

    bool Commit() override {
        if (m_phase != Phase::Writing) return false;
        posix::Close(m_file);
        RemoveBackup();
        m_phase = Phase::Finished;
        return true;
    }

    Step UndoNext(size_t maxBytes) override {
        switch (m_phase) {
            case Phase::Preparing:  // the file itself is untouched
                posix::Close(m_file);
                RemoveBackup();
                m_phase = Phase::Finished;
                return Step::Done;
            case Phase::Writing: m_phase = Phase::Undoing; return UndoNext(maxBytes);
            case Phase::Undoing: break;
            case Phase::Finished: return Step::Done;
            case Phase::BackupKept: return Step::Failed;
        }
        const uint64_t end = RestoreEnd();
        if (m_restored < end) {
            const size_t n = size_t(std::min<uint64_t>(maxBytes, end - m_restored));
            m_buffer.resize(n);
            if (!posix::ReadAllAt(m_backup, m_buffer.data(), n, m_restored) ||
                posix::WriteFailureInjected() ||
                !posix::WriteAllAt(m_file, m_buffer.data(), n, m_restored)) {
                return KeepBackup();
            }
            m_restored += n;
            return Step::More;
        }
        if (::ftruncate(m_file, off_t(m_oldLength)) != 0) return KeepBackup();
        KeepMode();
        if (::fsync(m_file) != 0) return KeepBackup();
        posix::Close(m_file);
        RemoveBackup();
        m_phase = Phase::Finished;
        return Step::Done;
    }

    std::string BackupPath() const override { return m_backupPath; }

    uint64_t WorkDone() const override {
        switch (m_phase) {
            case Phase::Preparing: return m_copied;
            case Phase::Undoing: return m_oldLength + (RestoreEnd() - m_restored);
            default: return m_oldLength + m_written;
        }
    }
    uint64_t WorkTotal() const override { return m_oldLength + m_length; }

private:
    enum class Phase { Preparing, Writing, Undoing, Finished, BackupKept };
    static constexpr size_t kUndoPiece = 1 << 20;

    /// The old bytes that writes (or the cut to a shorter length) may have
    /// changed end here.
    uint64_t RestoreEnd() const { return std::min(m_touched, m_oldLength); }

    /// Writing clears the set-id bits of a file when the writer could not
    /// have set them; its owner may set them again.
    void KeepMode() {
        struct stat st {};
        if (::fstat(m_file, &st) == 0 && (st.st_mode & 07777) != m_mode) {
            (void)::fchmod(m_file, m_mode);
        }
    }

    Step GiveUp() {
        posix::Close(m_file);
        RemoveBackup();
        m_phase = Phase::Finished;
        return Step::Failed;
    }

    Step KeepBackup() {
        posix::Close(m_file);
        posix::Close(m_backup);  // no longer held: it is a leftover now
        m_phase = Phase::BackupKept;
        return Step::Failed;
    }

    void RemoveBackup() {
        posix::Close(m_backup);
        ::unlink(m_backupPath.c_str());
    }

    int m_file;
    int m_backup;
    std::string m_backupPath;
    mode_t m_mode;
    uint64_t m_oldLength;
    uint64_t m_length;
    Phase m_phase = Phase::Preparing;
    uint64_t m_copied = 0;    // old bytes in the backup
    uint64_t m_written = 0;   // new bytes in the file
    uint64_t m_touched = 0;   // end of what the writes may have changed
    uint64_t m_restored = 0;  // old bytes put back
    std::vector<char> m_buffer;
};

/// Creates the backup file: in target's folder when possible, else in the
/// user's temporary folder; never over an existing file. -1 when neither
/// place takes it.
int CreateBackup(const std::string& target, std::string& path) {
    if (posix::BackupFailureInjected()) return -1;
    for (bool away : {false, true}) {
        for (unsigned n = 0; n < 100; ++n) {
            path = posix::BackupName(target, away, n);
            // Private: only the saving user, who could read the file, reads it.
            const int fd =
                ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
            if (fd >= 0) {
                posix::HoldForThisSave(fd);
                return fd;
            }
            if (errno != EEXIST) break;
        }
    }
    return -1;
}

}  // namespace

std::unique_ptr<SaveWriter> BeginInPlaceSave(const std::string& target, const struct stat& old,
                                             uint64_t length, OutputFile::Opened& why) {
    const int file = ::open(target.c_str(), O_RDWR | O_CLOEXEC);
    if (file < 0) {
        // It may be written but not read: then no backup can be made.
        why = errno == EACCES ? OutputFile::Opened::NoBackup : OutputFile::Opened::CannotWrite;
        return nullptr;
    }
    struct stat st {};
    if (::fstat(file, &st) != 0 || st.st_dev != old.st_dev || st.st_ino != old.st_ino) {
        ::close(file);  // replaced since it was examined
        why = OutputFile::Opened::CannotWrite;
        return nullptr;
    }
    std::string backupPath;
    const int backup = CreateBackup(target, backupPath);
    if (backup < 0) {
        ::close(file);
        why = OutputFile::Opened::NoBackup;
        return nullptr;
    }
    why = OutputFile::Opened::Ready;
    return std::make_unique<InPlaceSave>(file, backup, backupPath, st, length);
}

}  // namespace platform
