// A hex view with a private temporary folder for real files, and helpers
// to write, read and list them.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "FileState.h"
#include "ViewFixture.h"
#include "files/FileIO.h"
#include "hosts/headless/FileFaults.h"

/// Six chunks of a load or save, so it pumps five times.
inline constexpr size_t kSixChunks = 5 * 4096 + 100;

class FileTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        // Each chunk a load reads or a save writes meets the file before
        // the next pump, so the tests see every step of a load or a save.
        headless::SetIoBlockSize(CHexView::CHUNK_SIZE);
        std::mt19937 random(std::random_device{}());
        for (int attempt = 0; attempt < 100 && dir.empty(); ++attempt) {
            const auto folder = std::filesystem::temp_directory_path() /
                                ("bytewren-" + std::to_string(random() % 1000000));
            if (std::filesystem::create_directory(folder)) dir = folder.string();
        }
        ASSERT_FALSE(dir.empty());
    }
    void TearDown() override {
        headless::InjectReadFailure(0);
        headless::InjectWriteFailure(0);
        headless::SetIoBlockSize(0);
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }

    /// A path in the folder, with the system's separator: name may use "/".
    std::string Path(std::string name) const {
#ifdef _WIN32
        std::replace(name.begin(), name.end(), '/', '\\');
        return dir + "\\" + name;
#else
        return dir + "/" + name;
#endif
    }

    static std::vector<uint8_t> Bytes(size_t n, unsigned seed = 1) {
        std::mt19937 random(seed);
        std::vector<uint8_t> v(n);
        for (auto& b : v) b = uint8_t(random());
        return v;
    }
    static void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        ASSERT_TRUE(out.good()) << path;
    }
    static std::vector<uint8_t> ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    /// The names in a folder, to see that no temporary file was left.
    static std::set<std::string> Names(const std::string& folder) {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }
    /// A sparse file of the given length.
    static void MakeSparse(const std::string& path, uint64_t length) {
        WriteFile(path, {});
        std::filesystem::resize_file(path, length);
    }
    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : host.MessageBoxes()) texts.push_back(box.text);
        return texts;
    }

    std::string dir;
};

/// Changes the byte at offset of v's image, as an edit would.
inline void FlipBits(CHexView& v, uint32_t offset, uint8_t bits) {
    const uint8_t byte = uint8_t(v.m_pData[offset] ^ bits);
    v.OverwriteBytes(offset, &byte, 1);
}

inline const std::string kOpenFailed = "Could not open file, it may be in use by another process.";
inline const std::string kTooLarge = "Files over 2.14GB are not supported.";
inline const std::string kCreateFailed =
    "Could not write file, it may be in use by another process.";
inline const std::string kWriteFailed =
    "Failed during file write process, you may be out of diskspace.";
inline const std::string kReadFailed =
    "Failed during file read process, the file may have changed or become unreadable.";
/// The copy of a file's old contents an in-place save makes beside it.
inline std::string BackupOf(const std::string& name) { return "." + name + ".bytewren-backup"; }
inline std::string InterruptedSaveMessage(const std::string& backups) {
    return "A previous save of this file did not finish, its old contents are kept in " + backups +
           " until the file is saved again.";
}
