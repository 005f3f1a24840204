// A save that writes a complete new file beside the target and renames it
// over the target once it is on disk: the target keeps its old bytes until
// that moment, whatever happens before.
#include "files/FileConditions.h"
#include "files/GatheredWrites.h"
#include "files/SaveWriter.h"
#include "files/SystemFiles.h"

namespace files {
namespace {

class RenameSave final : public SaveWriter {
public:
    RenameSave(FileHandle file, std::string temp, std::string target, uint64_t length,
               FileHandle held)
        : m_file(file),
          m_held(held),
          m_temp(std::move(temp)),
          m_target(std::move(target)),
          m_length(length) {}
    ~RenameSave() override { Remove(); }

    bool InPlace() const override { return false; }
    Step PrepareNext(size_t) override { return Step::Done; }

    bool Write(const void* data, size_t size) override {
        return m_file != NO_FILE && !CurrentConditions().WriteFails() &&
               m_writes.Append(data, size);
    }

    bool Flush() override {
        return m_file != NO_FILE && !CurrentConditions().WriteFails() && m_writes.Drain() &&
               sys::SyncFile(m_file);
    }

    bool Commit() override {
        if (m_file == NO_FILE) return false;
        if (!sys::RenameOver(m_file, m_held, m_temp, m_target)) return false;
        m_temp.clear();
        return true;
    }

    Step UndoNext(size_t) override {
        Remove();
        return Step::Done;
    }

    uint64_t WorkDone() const override { return m_writes.Added(); }
    uint64_t WorkTotal() const override { return m_length; }

private:
    void Remove() {
        sys::Close(m_file);
        sys::Close(m_held);
        if (!m_temp.empty()) sys::RemoveFile(m_temp);
        m_temp.clear();
    }

    FileHandle m_file;
    FileHandle m_held;
    std::string m_temp;  // empty once renamed or removed
    std::string m_target;
    uint64_t m_length;
    GatheredWrites m_writes{m_file};
};

}  // namespace

std::unique_ptr<SaveWriter> MakeRenameSave(FileHandle file, std::string temp, std::string target,
                                           uint64_t length, FileHandle held) {
    return std::make_unique<RenameSave>(file, std::move(temp), std::move(target), length, held);
}

}  // namespace files
