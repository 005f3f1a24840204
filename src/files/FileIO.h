// Real file I/O: whole files read and written in chunks by the core.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace files {

/// An open file of the operating system: a descriptor, or a handle where the
/// system uses handles. NO_FILE when none is open.
using FileHandle = intptr_t;
constexpr FileHandle NO_FILE = -1;

/// An existing regular file opened for reading. Directories, FIFOs and
/// devices are refused at open without blocking on them.
class InputFile {
public:
    InputFile() = default;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile() { Close(); }

    bool Open(const std::string& path);
    bool IsOpen() const { return m_file != NO_FILE; }
    /// The file's length as it was when opened.
    uint64_t Length() const { return m_length; }
    /// Reads up to size bytes; returns the number read (0 at the end of the
    /// file) or -1 on a read error. The file is read ahead in large blocks,
    /// so that small reads do not cost a system call each.
    int64_t Read(void* buffer, size_t size);
    /// For a caller that reads the file into [area, area + size) in order:
    /// reads there read ahead straight into the area, up to a block past
    /// what they ask, so that the bytes land where they belong, and reads at
    /// the following positions then only count them. The caller leaves the
    /// area alone while it reads the file into it.
    void SetReadArea(void* area, size_t size);
    void Close();

private:
    /// One read call of the system's, with Read's results.
    int64_t ReadFromSystem(void* buffer, size_t size);
    /// Where the next block is read ahead for a read into `to`, and how
    /// large it may be: in the read area, or in a block of our own (null
    /// when there is no memory for one).
    char* AheadFor(char* to, size_t& size);

    FileHandle m_file = NO_FILE;
    uint64_t m_length = 0;
    std::unique_ptr<char[]> m_block;  // for reads ahead outside the read area
    size_t m_blockSize = 0;
    char* m_area = nullptr;
    size_t m_areaSize = 0;
    // Read from the file and not yet handed out: in m_block or the area.
    const char* m_next = nullptr;
    const char* m_end = nullptr;
};

class SaveWriter;

/// Writes a new version of a file so that a save which does not complete
/// loses nothing. Where a new file can take the old one's place without
/// losing anything it had (see ChooseWriteMethod), the bytes go to a
/// temporary file beside it that replaces it by rename once complete on
/// disk. Otherwise the old contents are first copied to a backup and the
/// file itself is overwritten, keeping its inode, links, owner, group, mode
/// and attributes; a save that does not complete puts the old bytes back.
/// Only one save of a file runs at a time: the file is held for it (locked
/// on POSIX, opened without sharing on Windows). Symbolic links are
/// followed where the caller allows it. The phases run piece by piece so
/// that the caller can keep its window alive between them:
///   Open, PrepareNext until Done, Write..., Flush, Commit;
///   UndoNext until it is no longer More, after a failure or a cancel.
class OutputFile {
public:
    enum class Opened {
        Ready,
        CannotWrite,  // no such folder, not a regular file, no permission
        NoBackup,     // it could only be written in place, and no backup can be made
    };
    enum class Step { More, Done, Failed };

    OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    /// Undoes a save that was not committed (Abandon).
    ~OutputFile();

    /// Chooses how to write path with length bytes and prepares it; also
    /// removes temporary files left by killed saves of the same file.
    /// Unless followLink, a path that is a symbolic link is refused
    /// (CannotWrite), and so is a file that another save holds. Nothing of
    /// the file has changed when it is not Ready.
    Opened Open(const std::string& path, uint64_t length, bool followLink);
    /// True when the file itself is overwritten (after a backup).
    bool InPlace() const;

    /// Copies the next at most maxBytes of the old contents to the backup;
    /// after the last piece, makes the backup durable and reserves the new
    /// length on disk. Done at once when there is nothing to prepare.
    /// Failed: no backup or no room; the file is as it was.
    Step PrepareNext(size_t maxBytes);
    /// Appends all of size bytes, which the file layer may hold back until
    /// a later Write or Flush; false on any failure so far.
    bool Write(const void* data, size_t size);
    /// Makes the written bytes durable at the new length; false when they
    /// may not have reached the disk (no space, I/O error).
    bool Flush();
    /// Completes the save (the rename, or the removal of the backup), then
    /// removes backups left by killed saves of the same file. False when the
    /// rename fails.
    bool Commit();

    /// Puts the file back as it was before the save, at most maxBytes per
    /// call: More while pieces remain, Done when the file is as it was,
    /// Failed when the old bytes could not be put back (the backup is then
    /// kept, see BackupPath).
    Step UndoNext(size_t maxBytes);
    /// Undoes all that remains at once.
    void Abandon();
    /// The copy of the old contents of an in-place save; empty otherwise.
    std::string BackupPath() const;

    /// The work of all phases, in bytes, for a progress display: Done grows
    /// while preparing and writing and shrinks again while undoing.
    uint64_t WorkDone() const;
    uint64_t WorkTotal() const;

private:
    std::unique_ptr<SaveWriter> m_writer;
    std::string m_target;  // the file written, links resolved
};

/// Backups of the file at path (links followed) left by in-place saves that
/// were killed: the only intact copy of its old contents until a save of it
/// completes. Backups held by a save still running are not listed.
std::vector<std::string> FindInterruptedSaveBackups(const std::string& path);

/// Whether the last component of path is a symbolic link (on Windows, any
/// reparse point).
bool IsSymbolicLink(const std::string& path);

/// Lets a write beyond the process's file-size limit fail with an error
/// instead of ending the program. Called once at start-up.
void InitFileWrites();

}  // namespace files
