// Gives a benchmark's view an image the way a user gets one: the bytes are
// written to a temporary file, loaded, and the file removed again.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "view/HexView.h"

namespace bench {

inline bool LoadBytes(CHexView& view, const std::vector<uint8_t>& bytes) {
    const std::string path =
        (std::filesystem::temp_directory_path() / "bytewren-bench-image.bin").string();
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool loaded = std::fclose(file) == 0 && written && view.LoadFile(path);
    std::filesystem::remove(path);
    return loaded;
}

}  // namespace bench
