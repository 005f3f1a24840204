// The size of the file layer's system calls: it reads a loaded file ahead,
// and gathers a save's writes, in blocks of this many bytes, while the
// core hands it small pieces so that it can pump messages between them.
// Internal to the file layer; tests change it through FileConditions.
#pragma once

#include <cstddef>

namespace files {

constexpr size_t kDefaultIoBlockSize = size_t(1) << 20;

size_t IoBlockSize();

}  // namespace files
