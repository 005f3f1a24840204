#include "files/IoBlock.h"

#include "files/FileConditions.h"

namespace files {

size_t IoBlockSize() {
    const size_t bytes = CurrentConditions().IoBlockSize();
    return bytes > 0 ? bytes : kDefaultIoBlockSize;
}

}  // namespace files
