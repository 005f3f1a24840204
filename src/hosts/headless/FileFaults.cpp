#include "hosts/headless/FileFaults.h"

#include "files/FileConditions.h"

namespace headless {
namespace {

/// Counts one call down; true when it is the one chosen to fail.
bool FaultFires(int& countdown) { return countdown > 0 && --countdown == 0; }

class InjectedFaults : public files::FileConditions {
public:
    bool ReadFails() override { return FaultFires(readFailIn); }
    bool WriteFails() override { return FaultFires(writeFailIn); }
    bool BackupFails() override { return FaultFires(backupFailIn); }
    size_t IoBlockSize() override { return ioBlockSize; }

    int readFailIn = 0;
    int writeFailIn = 0;
    int backupFailIn = 0;
    size_t ioBlockSize = 0;
};

/// Put in force at its first use; disarmed, it behaves as the program's own.
InjectedFaults& Faults() {
    static InjectedFaults faults;
    files::SetFileConditions(&faults);
    return faults;
}

}  // namespace

void InjectReadFailure(int n) { Faults().readFailIn = n; }
void InjectWriteFailure(int n) { Faults().writeFailIn = n; }
void InjectBackupFailure(int n) { Faults().backupFailIn = n; }
void SetIoBlockSize(size_t bytes) { Faults().ioBlockSize = bytes; }

}  // namespace headless
