// Saving as an ordinary user, where today's tests (run as root, which may
// write anything) cannot look: a writable file in a folder the user may not
// write, another user's writable file in a sticky folder or an open one.
// Each save runs in a forked child that has dropped to an unprivileged user
// and reports what happened through its exit status.
#ifndef _WIN32
#include <cstdlib>

#include "ChildProcess.h"
#include "FileFixture.h"

namespace {

enum Outcome : int {
    kSaved = 0,  // true, and no message
    kRefusedCannotWrite = 1,
    kRefusedWriteFailed = 2,
    kSomethingElse = 3,
};

}  // namespace

class SaveAsUserTest : public FileTest {
protected:
    void SetUp() override {
        FileTest::SetUp();
        if (::geteuid() != 0) GTEST_SKIP() << "only root can set up the files of two users";
        ASSERT_EQ(::chmod(dir.c_str(), 0755), 0);
        image = Bytes(5 * 4096 + 100, 2);
        SetImage(image);
    }

    std::string Folder(const std::string& name, mode_t mode, uid_t owner = 0) {
        const std::string path = Path(name);
        std::filesystem::create_directory(path);
        EXPECT_EQ(::chown(path.c_str(), owner, owner), 0);
        EXPECT_EQ(::chmod(path.c_str(), mode), 0);
        return path;
    }
    void MakeFile(const std::string& path, uid_t owner, mode_t mode) {
        WriteFile(path, old);
        ASSERT_EQ(::chown(path.c_str(), owner, owner), 0);
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    }

    /// Saves the image to path as the unprivileged user, whose temporary
    /// folder is temporaryFolder.
    int SaveAsNobody(const std::string& path, const std::string& temporaryFolder) {
        return RunInChild(
            [&] {
                ::setenv("TMPDIR", temporaryFolder.c_str(), 1);
                const bool saved = view.SaveToFile(path);
                const auto texts = MessageTexts();
                if (saved && texts.empty()) return kSaved;
                if (!saved && texts == std::vector<std::string>{kCreateFailed})
                    return kRefusedCannotWrite;
                if (!saved && texts == std::vector<std::string>{kWriteFailed})
                    return kRefusedWriteFailed;
                return kSomethingElse;
            },
            true);
    }

    const std::vector<uint8_t> old = Bytes(3000, 1);
    std::vector<uint8_t> image;
};

TEST_F(SaveAsUserTest, AFileInAFolderTheUserMayNotWriteIsWrittenInPlaceBackedUpElsewhere) {
    const std::string folder = Folder("locked", 0755);
    const std::string file = folder + "/f.bin";
    MakeFile(file, kNobody, 0644);
    const Identity before = IdentityOf(file);
    const std::string temporary = Folder("tmp", 0700, kNobody);

    EXPECT_EQ(SaveAsNobody(file, temporary), kSaved);
    EXPECT_EQ(ReadFile(file), image);
    EXPECT_EQ(IdentityOf(file), before);
    EXPECT_EQ(Names(folder), (std::set<std::string>{"f.bin"}));
    EXPECT_TRUE(Names(temporary).empty()) << "the backup is removed";
}

TEST_F(SaveAsUserTest, WithNowhereToPutABackupTheFileIsNotTouched) {
    const std::string folder = Folder("locked", 0755);
    const std::string file = folder + "/f.bin";
    MakeFile(file, kNobody, 0644);
    const std::string temporary = Folder("tmp", 0755);  // not the user's either

    EXPECT_EQ(SaveAsNobody(file, temporary), kRefusedWriteFailed);
    EXPECT_EQ(ReadFile(file), old);
    EXPECT_EQ(Names(folder), (std::set<std::string>{"f.bin"}));
    EXPECT_TRUE(Names(temporary).empty());
}

TEST_F(SaveAsUserTest, AKilledSaveLeavesItsBackupInTheTemporaryFolderWhereItIsFound) {
    const std::string folder = Folder("locked", 0755);
    const std::string file = folder + "/f.bin";
    MakeFile(file, kNobody, 0644);
    const std::string temporary = Folder("tmp", 0700, kNobody);
    const int killed = RunInChild(
        [&] {
            ::setenv("TMPDIR", temporary.c_str(), 1);
            host.OnPump([](int n) {
                if (n == 3) ::_exit(0);  // after the backup, while writing
            });
            view.SaveToFile(file);
            return 1;
        },
        true);
    ASSERT_EQ(killed, 0);
    const std::set<std::string> left = Names(temporary);
    ASSERT_EQ(left.size(), 1u);
    const std::string backup = temporary + "/" + *left.begin();
    EXPECT_EQ(ReadFile(backup), old);

    // Another user sharing that temporary folder is not told of it.
    const char* own = std::getenv("TMPDIR");
    const std::string ownTemporary = own ? own : "";
    ::setenv("TMPDIR", temporary.c_str(), 1);
    const bool loaded = view.LoadFile(file);
    if (own) ::setenv("TMPDIR", ownTemporary.c_str(), 1);
    else ::unsetenv("TMPDIR");
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(host.MessageBoxes().empty());

    // The same user loads the file: told where the old contents are; a
    // completed save then removes them.
    const int told = RunInChild(
        [&] {
            ::setenv("TMPDIR", temporary.c_str(), 1);
            if (!view.LoadFile(file) || !view.SaveToFile(file)) return 1;
            return MessageTexts() == std::vector<std::string>(2, InterruptedSaveMessage(backup))
                       ? 0
                       : 2;
        },
        true);
    EXPECT_EQ(told, 0);
    EXPECT_TRUE(Names(temporary).empty());
}

TEST_F(SaveAsUserTest, AKilledSaveNamesItsBackupOnlyOnceTheCopyIsWhole) {
    // Pumps of a save of this image over this file: one per piece of the
    // backup, one between the pieces written, one per piece put back.
    const auto before = Bytes(3 * 4096 + 10, 1);
    const int copied = 4;
    enum Kill { kCopying, kWriting, kRestoring };
    int round = 0;
    for (const bool beside : {true, false}) {
        for (const Kill kill : {kCopying, kWriting, kRestoring}) {
            const std::string context = (beside ? "beside, " : "away, ") + std::to_string(kill);
            const std::string n = std::to_string(round++);
            // Beside: a linked file in the user's folder; away: a file in a
            // folder the user may not write.
            const std::string folder = Folder("f" + n, 0755, beside ? kNobody : 0);
            const std::string file = folder + "/f.bin";
            WriteFile(file, before);
            ASSERT_EQ(::chown(file.c_str(), kNobody, kNoGroup), 0);
            if (beside) std::filesystem::create_hard_link(file, folder + "/g.bin");
            const std::string temporary = Folder("t" + n, 0700, kNobody);

            const int killed = RunInChild(
                [&] {
                    ::setenv("TMPDIR", temporary.c_str(), 1);
                    host.OnPump([&](int pump) {
                        if (kill == kCopying && pump == 2) ::_exit(0);
                        if (kill == kWriting && pump == copied + 2) ::_exit(0);
                        if (kill == kRestoring && pump == copied + 2) view.LeaveAllModes();
                        if (kill == kRestoring && pump == copied + 3) ::_exit(0);
                    });
                    view.SaveToFile(file);
                    return 1;
                },
                true);
            ASSERT_EQ(killed, 0) << context;
            std::vector<std::string> backups;
            for (const std::string& name : Names(beside ? folder : temporary)) {
                if (name.find("bytewren-backup") != std::string::npos) {
                    backups.push_back((beside ? folder : temporary) + "/" + name);
                }
            }
            if (kill == kCopying) {
                EXPECT_TRUE(backups.empty()) << context << ": a part copy is no backup";
                EXPECT_EQ(ReadFile(file), before) << context;
            } else {
                ASSERT_EQ(backups.size(), 1u) << context;
                EXPECT_EQ(ReadFile(backups[0]), before) << context;
            }

            // Reopened by the user, only a whole backup is named, at the
            // load and at the start of the next save, which then leaves
            // nothing behind.
            const std::vector<std::string> named =
                backups.empty() ? std::vector<std::string>{}
                                : std::vector<std::string>{InterruptedSaveMessage(backups[0])};
            const int reopened = RunInChild(
                [&] {
                    ::setenv("TMPDIR", temporary.c_str(), 1);
                    if (!view.LoadFile(file) || MessageTexts() != named) return 1;
                    SetImage(image);
                    if (!view.SaveToFile(file) || MessageTexts().size() != 2 * named.size()) {
                        return 2;
                    }
                    return 0;
                },
                true);
            EXPECT_EQ(reopened, 0) << context;
            EXPECT_EQ(ReadFile(file), image) << context;
            const std::set<std::string> names =
                beside ? std::set<std::string>{"f.bin", "g.bin"} : std::set<std::string>{"f.bin"};
            EXPECT_EQ(Names(folder), names) << context;
            EXPECT_TRUE(Names(temporary).empty()) << context;
        }
    }
}

TEST_F(SaveAsUserTest, AnotherUsersWritableFileKeepsItsOwnerAndGroupStickyFolderOrNot) {
    const std::string temporary = Folder("tmp", 0700, kNobody);
    for (const mode_t mode : {mode_t(01777), mode_t(0777)}) {
        const std::string folder = Folder(mode == 0777 ? "open" : "sticky", mode);
        const std::string file = folder + "/f.bin";
        MakeFile(file, 0, 0666);
        const Identity before = IdentityOf(file);

        EXPECT_EQ(SaveAsNobody(file, temporary), kSaved) << folder;
        EXPECT_EQ(ReadFile(file), image) << folder;
        EXPECT_EQ(IdentityOf(file), before) << "still root's file, in " << folder;
        EXPECT_EQ(Names(folder), (std::set<std::string>{"f.bin"}));
    }
}

TEST_F(SaveAsUserTest, ASetIdFileWrittenInPlaceByItsOwnerKeepsItsMode) {
    const std::string folder = Folder("open", 0777);
    const std::string file = folder + "/f.bin";
    MakeFile(file, kNobody, 06755);
    std::filesystem::create_hard_link(file, folder + "/g.bin");
    const Identity before = IdentityOf(file);

    EXPECT_EQ(SaveAsNobody(file, Folder("tmp", 0700, kNobody)), kSaved);
    EXPECT_EQ(ReadFile(folder + "/g.bin"), image);
    EXPECT_EQ(IdentityOf(file), before) << "writing cleared the set-id bits";
}
#endif
