// Failures of the file layer on demand, for tests and fuzzing, where the
// real failure cannot be provoked: the n-th call of a kind from now fails as
// the real failure would. 0 disarms. Single-threaded, like the core.
#pragma once

#include <cstddef>

namespace headless {

/// The n-th InputFile::Read fails as an I/O error would.
void InjectReadFailure(int n);
/// The n-th write to a saved file (OutputFile::Write, Flush, or a piece of
/// old bytes put back) fails as a full disk would.
void InjectWriteFailure(int n);
/// The n-th step of making a backup (its creation, then each piece copied
/// into it) fails as a full disk would.
void InjectBackupFailure(int n);
/// The file layer reads a loaded file ahead, and gathers a save's writes and
/// the copying of its backup, in system calls of this many bytes (0: the
/// usual megabyte). With the core's chunk size, every chunk meets the file
/// itself at once.
void SetIoBlockSize(size_t bytes);

}  // namespace headless
