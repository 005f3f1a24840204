// A hex view with a private temporary folder for real files, and helpers
// to write, read and list them.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "ViewFixture.h"
#include "platform/FileIO.h"

class FileTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        std::string pattern = (std::filesystem::temp_directory_path() / "bytewren-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        platform::InjectReadFailure(0);
        platform::InjectWriteFailure(0);
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }

    std::string Path(const std::string& name) const { return dir + "/" + name; }

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
    /// What an in-place save must leave as it was.
    struct Identity {
        ino_t inode = 0;
        nlink_t links = 0;
        uid_t uid = 0;
        gid_t gid = 0;
        mode_t mode = 0;
        bool operator==(const Identity&) const = default;
    };
    static Identity IdentityOf(const std::string& path) {
        struct stat st {};
        EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
        return {st.st_ino, st.st_nlink, st.st_uid, st.st_gid, mode_t(st.st_mode & 07777)};
    }
    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : host.MessageBoxes()) texts.push_back(box.text);
        return texts;
    }

    std::string dir;
};

inline const std::string kOpenFailed = "Could not open file, it may be in use by another process.";
inline const std::string kTooLarge = "Files over 2.14GB are not supported.";
inline const std::string kCreateFailed =
    "Could not write file, it may be in use by another process.";
inline const std::string kWriteFailed =
    "Failed during file write process, you may be out of diskspace.";
/// The copy of a file's old contents an in-place save makes beside it.
inline std::string BackupOf(const std::string& name) { return "." + name + ".bytewren-backup"; }
inline std::string InterruptedSaveMessage(const std::string& backups) {
    return "A previous save of this file did not finish, its old contents are kept in " + backups +
           " until the file is saved again.";
}
