// OutputFile: finds the file a save writes, clears what killed saves of it
// left, and forwards each phase to the save that the system chose for it.
#include "files/SaveLeftovers.h"
#include "files/SaveWriter.h"
#include "files/SystemFiles.h"

namespace files {

OutputFile::OutputFile() = default;
OutputFile::~OutputFile() = default;

OutputFile::Opened OutputFile::Open(const std::string& path, uint64_t length, bool followLink) {
    Abandon();
    std::string target;
    if (path.empty() || !sys::SaveTarget(path, followLink, target)) return Opened::CannotWrite;
    for (const std::string& leftover : LeftoverTemporaries(target)) sys::RemoveFile(leftover);
    m_target = target;
    Opened why = Opened::CannotWrite;
    m_writer = BeginSave(target, length, why);
    return why;
}

bool OutputFile::InPlace() const { return m_writer && m_writer->InPlace(); }

OutputFile::Step OutputFile::PrepareNext(size_t maxBytes) {
    return m_writer ? m_writer->PrepareNext(maxBytes) : Step::Failed;
}

bool OutputFile::Write(const void* data, size_t size) {
    return m_writer && m_writer->Write(data, size);
}

bool OutputFile::Flush() { return m_writer && m_writer->Flush(); }

bool OutputFile::Commit() {
    if (!m_writer || !m_writer->Commit()) return false;
    m_writer.reset();
    // The file now holds what the user saved: copies of older contents
    // left by killed saves have served their purpose.
    for (const std::string& leftover : LeftoverBackups(m_target)) sys::RemoveFile(leftover);
    return true;
}

OutputFile::Step OutputFile::UndoNext(size_t maxBytes) {
    return m_writer ? m_writer->UndoNext(maxBytes) : Step::Done;
}

// Each kind of save undoes what remains of itself when it ends uncommitted.
void OutputFile::Abandon() { m_writer.reset(); }

std::string OutputFile::BackupPath() const {
    return m_writer ? m_writer->BackupPath() : std::string();
}

uint64_t OutputFile::WorkDone() const { return m_writer ? m_writer->WorkDone() : 0; }
uint64_t OutputFile::WorkTotal() const { return m_writer ? m_writer->WorkTotal() : 0; }

std::vector<std::string> FindInterruptedSaveBackups(const std::string& path) {
    std::string target;
    if (path.empty() || !sys::SaveTarget(path, true, target)) return {};
    return LeftoverBackups(target);
}

bool IsSymbolicLink(const std::string& path) { return sys::IsLink(path); }

}  // namespace files
