// A save that overwrites the file itself, for files that a new file could
// not replace without losing something. The old contents are first copied
// to a backup, which is on disk and named as one before the first byte of
// the file changes, and the new length is reserved; a save that does not complete copies the old
// bytes back and restores the old length. The backup is removed once the
// file holds either all the old or all the new bytes durably; if the old
// bytes cannot be put back it is kept as their only copy.
#include <algorithm>
#include <new>
#include <vector>

#include "files/FileConditions.h"
#include "files/GatheredWrites.h"
#include "files/IoBlock.h"
#include "files/SaveWriter.h"
#include "files/SystemFiles.h"

namespace files {
namespace {

class InPlaceSave final : public SaveWriter {
public:
    InPlaceSave(std::string target, FileHandle file, FileHandle held, Backup backup, unsigned mode,
                uint64_t oldLength, uint64_t length)
        : m_target(std::move(target)),
          m_file(file),
          m_held(held),
          m_backup(std::move(backup)),
          m_mode(mode),
          m_oldLength(oldLength),
          m_length(length) {}
    ~InPlaceSave() override {
        while (UndoNext(kUndoPiece) == Step::More) {}
    }

    bool InPlace() const override { return true; }

    Step PrepareNext(size_t maxBytes) override {
        if (m_phase != Phase::Preparing) return Step::Failed;
        if (m_copied < m_oldLength) {
            // The copying goes in large blocks, the progress in pieces.
            if (CurrentConditions().BackupFails() || (m_copied == m_blockEnd && !CopyBlock())) {
                return GiveUp();
            }
            m_copied = std::min<uint64_t>(m_copied + maxBytes, m_blockEnd);
            return Step::More;
        }
        // Only a whole copy, on disk, is named as the old contents: until
        // then a killed save leaves a temporary file, which the next save of
        // the file removes.
        if (!sys::SyncFile(m_backup.file) || !NameBackup(m_target, m_backup)) return GiveUp();
        // Every block the new bytes need, holes of a sparse file included,
        // is allocated now, so that no write below can run out of space.
        if (!sys::ReserveSpace(m_file, m_length)) return GiveUp();
        m_phase = Phase::Writing;
        return Step::Done;
    }

    bool Write(const void* data, size_t size) override {
        return m_phase == Phase::Writing && !CurrentConditions().WriteFails() &&
               m_writes.Append(data, size);
    }

    bool Flush() override {
        if (m_phase != Phase::Writing || !m_writes.Drain()) return false;
        // Cutting the file short loses old bytes past the new end too.
        m_cut = m_length < m_oldLength;
        if (!sys::SetLength(m_file, m_length)) return false;
        sys::KeepMode(m_file, m_mode);
        return !CurrentConditions().WriteFails() && sys::SyncFile(m_file);
    }

    bool Commit() override {
        if (m_phase != Phase::Writing) return false;
        CloseFile();
        RemoveBackup();
        m_phase = Phase::Finished;
        return true;
    }

    Step UndoNext(size_t maxBytes) override {
        switch (m_phase) {
            case Phase::Preparing:  // the file itself is untouched
                CloseFile();
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
            if (!sys::ReadAllAt(m_backup.file, m_buffer.data(), n, m_restored) ||
                CurrentConditions().WriteFails() ||
                !sys::WriteAllAt(m_file, m_buffer.data(), n, m_restored)) {
                return KeepBackup();
            }
            m_restored += n;
            return Step::More;
        }
        if (!sys::SetLength(m_file, m_oldLength)) return KeepBackup();
        sys::KeepMode(m_file, m_mode);
        if (!sys::SyncFile(m_file)) return KeepBackup();
        CloseFile();
        RemoveBackup();
        m_phase = Phase::Finished;
        return Step::Done;
    }

    std::string BackupPath() const override { return m_backup.path; }

    uint64_t WorkDone() const override {
        switch (m_phase) {
            case Phase::Preparing: return m_copied;
            case Phase::Undoing: return m_oldLength + (RestoreEnd() - m_restored);
            default: return m_oldLength + m_writes.Added();
        }
    }
    uint64_t WorkTotal() const override { return m_oldLength + m_length; }

private:
    enum class Phase { Preparing, Writing, Undoing, Finished, BackupKept };
    static constexpr size_t kUndoPiece = 1 << 20;

    /// The old bytes that writes (or the cut to a shorter length) may have
    /// changed end here.
    uint64_t RestoreEnd() const {
        return m_cut ? m_oldLength : std::min(m_writes.Issued(), m_oldLength);
    }

    /// Copies the next block of the old contents into the backup.
    bool CopyBlock() {
        const size_t n = size_t(std::min<uint64_t>(IoBlockSize(), m_oldLength - m_blockEnd));
        try {
            m_buffer.resize(n);
        } catch (const std::bad_alloc&) {
            return false;
        }
        if (!sys::ReadAllAt(m_file, m_buffer.data(), n, m_blockEnd) ||
            !sys::WriteAllAt(m_backup.file, m_buffer.data(), n, m_blockEnd)) {
            return false;
        }
        m_blockEnd += n;
        return true;
    }

    Step GiveUp() {
        CloseFile();
        RemoveBackup();
        m_phase = Phase::Finished;
        return Step::Failed;
    }

    Step KeepBackup() {
        CloseFile();
        sys::Close(m_backup.file);  // no longer held: it is a leftover now
        m_phase = Phase::BackupKept;
        return Step::Failed;
    }

    /// Closes the file, letting other saves of it in.
    void CloseFile() {
        sys::Close(m_file);
        sys::Close(m_held);
    }

    void RemoveBackup() {
        sys::Close(m_backup.file);
        sys::RemoveFile(m_backup.path);
    }

    std::string m_target;
    FileHandle m_file;
    FileHandle m_held;
    Backup m_backup;
    unsigned m_mode;
    uint64_t m_oldLength;
    uint64_t m_length;
    Phase m_phase = Phase::Preparing;
    uint64_t m_copied = 0;    // old bytes counted as in the backup
    uint64_t m_blockEnd = 0;  // old bytes in the backup
    GatheredWrites m_writes{m_file};
    bool m_cut = false;       // the file was cut short of its old length
    uint64_t m_restored = 0;  // old bytes put back
    std::vector<char> m_buffer;
};

}  // namespace

std::unique_ptr<SaveWriter> MakeInPlaceSave(std::string target, FileHandle file, FileHandle held,
                                            Backup backup, unsigned mode, uint64_t oldLength,
                                            uint64_t length) {
    return std::make_unique<InPlaceSave>(std::move(target), file, held, std::move(backup), mode,
                                         oldLength, length);
}

}  // namespace files
