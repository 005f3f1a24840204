// The test seams of the file layer: the n-th call of a kind fails as the
// real failure would.
#include "platform/FileIO.h"
#include "platform/SystemFiles.h"

namespace platform {
namespace {

int g_readFailIn = 0;
int g_writeFailIn = 0;
int g_backupFailIn = 0;

/// Counts one call down; true when it is the one chosen to fail.
bool FaultFires(int& countdown) { return countdown > 0 && --countdown == 0; }

}  // namespace

void InjectReadFailure(int n) { g_readFailIn = n; }
void InjectWriteFailure(int n) { g_writeFailIn = n; }
void InjectBackupFailure(int n) { g_backupFailIn = n; }

bool sys::ReadFailureInjected() { return FaultFires(g_readFailIn); }
bool sys::WriteFailureInjected() { return FaultFires(g_writeFailIn); }
bool sys::BackupFailureInjected() { return FaultFires(g_backupFailIn); }

}  // namespace platform
