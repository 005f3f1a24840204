#include "platform/IoBlock.h"

#include "platform/FileIO.h"

namespace platform {
namespace {

size_t g_ioBlockSize = kDefaultIoBlockSize;

}  // namespace

size_t IoBlockSize() { return g_ioBlockSize; }

void SetIoBlockSize(size_t bytes) { g_ioBlockSize = bytes > 0 ? bytes : kDefaultIoBlockSize; }

}  // namespace platform
