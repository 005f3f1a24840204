// A save that writes a complete new file beside the target and renames it
// over the target once it is on disk: the target keeps its old bytes until
// that moment, whatever happens before.
#include <fcntl.h>
#include <unistd.h>
#include <cerrno>

#include "platform/PosixFiles.h"
#include "platform/SaveLeftovers.h"
#include "platform/SaveWriter.h"

namespace platform {
namespace {

class RenameSave final : public SaveWriter {
public:
    RenameSave(int fd, std::string temp, std::string target, uint64_t length)
        : m_fd(fd), m_temp(std::move(temp)), m_target(std::move(target)), m_length(length) {}
    ~RenameSave() override { Remove(); }

    bool InPlace() const override { return false; }
    Step PrepareNext(size_t) override { return Step::Done; }

    bool Write(const void* data, size_t size) override {
        if (m_fd < 0 || posix::WriteFailureInjected()) return false;
        if (!posix::WriteAllAt(m_fd, data, size, m_written)) return false;
        m_written += size;
        return true;
    }

    bool Flush() override {
        return m_fd >= 0 && !posix::WriteFailureInjected() && ::fsync(m_fd) == 0;
    }

    bool Commit() override {
        if (m_fd < 0 || ::rename(m_temp.c_str(), m_target.c_str()) != 0) return false;
        m_temp.clear();
        posix::Close(m_fd);
        // Make the new name itself durable; the data already is.
        posix::SyncFolder(posix::DirName(m_target));
        return true;
    }

    Step UndoNext(size_t) override {
        Remove();
        return Step::Done;
    }

    uint64_t WorkDone() const override { return m_written; }
    uint64_t WorkTotal() const override { return m_length; }

private:
    void Remove() {
        posix::Close(m_fd);
        if (!m_temp.empty()) ::unlink(m_temp.c_str());
        m_temp.clear();
    }

    int m_fd;
    std::string m_temp;  // empty once renamed or removed
    std::string m_target;
    uint64_t m_length;
    uint64_t m_written = 0;
};

}  // namespace

std::unique_ptr<SaveWriter> BeginRenameSave(const std::string& target, const struct stat* old,
                                            uint64_t length, bool& ownerMismatch) {
    ownerMismatch = false;
    // An existing file's contents must never be readable by more people
    // than before, even briefly: its replacement starts private.
    const mode_t createMode = old ? 0600 : 0666;
    int fd = -1;
    std::string temp;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = posix::TemporaryName(target);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, createMode);
        if (fd < 0 && errno != EEXIST) return nullptr;
    }
    if (fd < 0) return nullptr;
    auto save = std::make_unique<RenameSave>(fd, temp, target, length);
    posix::HoldForThisSave(fd);
    if (!old) return save;

    // The new file must end up as the old one was: owner, group and mode
    // (set-id bits included, which a change of owner would clear).
    struct stat mine {};
    ownerMismatch = ::fchown(fd, old->st_uid, old->st_gid) != 0 ||
                    ::fchmod(fd, old->st_mode & 07777) != 0 || ::fstat(fd, &mine) != 0 ||
                    mine.st_uid != old->st_uid || mine.st_gid != old->st_gid ||
                    (mine.st_mode & 07777) != (old->st_mode & 07777);
    return save;
}

}  // namespace platform
