// Saving: exact bytes, and a target that keeps its old bytes whatever goes
// wrong (cancel, quit, write failure, full disk), links, permissions and
// targets that must not be written.
#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "ChildProcess.h"
#endif

#include <algorithm>

#include "FileFixture.h"
#include "app/MainApp.h"

using namespace platform;
using namespace headless;

TEST_F(FileTest, SavesExactlyTheImageAndLeavesTheViewAsItWas) {
    WriteFile(Path("a.bin"), Bytes(50));
    ASSERT_TRUE(view.LoadFile(Path("a.bin")));
    for (size_t size : {1u, 4095u, 4096u, 4097u, 8192u}) {
        const auto bytes = Bytes(size, unsigned(size));
        SetImage(bytes);
        view.m_nSelStart = 2;
        view.m_nSelEnd = view.m_nCaret = 3;
        WriteFile(Path("t.bin"), Bytes(20000, 99));  // longer than the image
        ASSERT_TRUE(view.SaveToFile(Path("t.bin"))) << size;
        ASSERT_TRUE(view.SaveToFile(Path("new.bin"))) << size;
        EXPECT_EQ(ReadFile(Path("t.bin")), bytes) << size;
        EXPECT_EQ(ReadFile(Path("new.bin")), bytes) << size;
        EXPECT_EQ(Image(), bytes);
        EXPECT_EQ(view.m_nSelStart, 2u);
        EXPECT_EQ(view.m_nCaret, 3u);
        EXPECT_FALSE(view.m_bSaving);
    }
    EXPECT_EQ(view.m_strFilePath, Path("a.bin"));
    EXPECT_EQ(host.GetMainCaption(), "Bytewren - a.bin");
    EXPECT_EQ(Names(dir), (std::set<std::string>{"a.bin", "new.bin", "t.bin"}));
    EXPECT_TRUE(host.MessageBoxes().empty());
}

TEST_F(FileTest, CancellingASaveAtAnyChunkLeavesTheTargetIntact) {
    const auto old = Bytes(3000, 5);
    const auto image = Bytes(kSixChunks, 6);
    WriteFile(Path("t.bin"), old);
    SetImage(image);
    for (int k : {1, 3, 5}) {
        const int base = host.PumpCount();
        host.OnPump([&](int n) {
            if (n == base + k) view.LeaveAllModes();  // what ESC does
        });
        EXPECT_FALSE(view.SaveToFile(Path("t.bin"))) << k;
        EXPECT_EQ(ReadFile(Path("t.bin")), old) << k;
        EXPECT_EQ(Names(dir), (std::set<std::string>{"t.bin"})) << k;
        EXPECT_FALSE(view.m_bSaving);
        EXPECT_EQ(Image(), image);
        host.OnPump(nullptr);
    }
    EXPECT_TRUE(host.MessageBoxes().empty());
}

TEST_F(FileTest, QuittingMidSaveLeavesTheTargetIntact) {
    const auto old = Bytes(3000, 5);
    WriteFile(Path("t.bin"), old);
    SetImage(Bytes(kSixChunks, 6));
    host.OnPump([&](int n) {
        if (n == 2) host.PostQuit();
    });
    EXPECT_FALSE(view.SaveToFile(Path("t.bin")));
    EXPECT_TRUE(host.Quitting());
    EXPECT_EQ(ReadFile(Path("t.bin")), old);
    EXPECT_EQ(Names(dir), (std::set<std::string>{"t.bin"}));
}

TEST_F(FileTest, AWriteFailureAtAnyChunkIsReportedAndLosesNothing) {
    const auto old = Bytes(3000, 5);
    const auto image = Bytes(kSixChunks, 6);
    WriteFile(Path("t.bin"), old);
    SetImage(image);
    for (int k : {1, 3, 6}) {
        InjectWriteFailure(k);
        EXPECT_FALSE(view.SaveToFile(Path("t.bin"))) << k;
        EXPECT_EQ(ReadFile(Path("t.bin")), old) << k;
        EXPECT_EQ(Names(dir), (std::set<std::string>{"t.bin"})) << k;
        EXPECT_FALSE(view.m_bSaving);
        EXPECT_EQ(Image(), image);
    }
    InjectWriteFailure(2);
    EXPECT_FALSE(view.SaveToFile(Path("new.bin")));
    EXPECT_EQ(Names(dir), (std::set<std::string>{"t.bin"})) << "no half-written new file";
    EXPECT_EQ(MessageTexts(), std::vector<std::string>(4, kWriteFailed));
    EXPECT_EQ(host.MessageBoxes()[0].type, mb::Ok | mb::IconError);
}

// Full disks, links, special files, permissions, owners, file-size limits
// and killed saves, as POSIX systems have them; Windows has its own in
// WindowsFilesTest.cpp.
#ifndef _WIN32
TEST_F(FileTest, AFullDiskIsReportedAndLosesNothing) {
    if (::geteuid() != 0) GTEST_SKIP() << "mounting a small tmpfs needs root";
    const std::string small = Path("small");
    std::filesystem::create_directory(small);
    if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0) {
        GTEST_SKIP() << "no tmpfs can be mounted here: " << std::strerror(errno);
    }
    struct Unmount {
        std::string at;
        ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
    } unmount{small};

    const auto old = Bytes(8192, 5);
    WriteFile(small + "/t.bin", old);
    SetImage(Bytes(256 * 1024, 6));
    EXPECT_FALSE(view.SaveToFile(small + "/t.bin"));
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{kWriteFailed});
    EXPECT_EQ(ReadFile(small + "/t.bin"), old);
    EXPECT_EQ(Names(small), (std::set<std::string>{"t.bin"}));
}

TEST_F(FileTest, SavingThroughALinkReplacesTheFileItPointsTo) {
    std::filesystem::create_directory(Path("sub"));
    WriteFile(Path("real.bin"), Bytes(100, 1));
    std::filesystem::create_symlink("../real.bin", Path("sub/link.bin"));
    std::filesystem::create_symlink("../later.bin", Path("sub/dangling.bin"));
    const auto image = Bytes(5000, 2);
    SetImage(image);

    ASSERT_TRUE(view.SaveToFile(Path("sub/link.bin")));
    EXPECT_TRUE(std::filesystem::is_symlink(Path("sub/link.bin")));
    EXPECT_EQ(std::filesystem::read_symlink(Path("sub/link.bin")), "../real.bin");
    EXPECT_EQ(ReadFile(Path("real.bin")), image);

    ASSERT_TRUE(view.SaveToFile(Path("sub/dangling.bin")));
    EXPECT_TRUE(std::filesystem::is_symlink(Path("sub/dangling.bin")));
    EXPECT_EQ(ReadFile(Path("later.bin")), image);
    EXPECT_EQ(Names(dir), (std::set<std::string>{"later.bin", "real.bin", "sub"}));
}

TEST_F(FileTest, ALinkPutInTheLoadedFilesPlaceIsNotFollowed) {
    WriteFile(Path("victim.bin"), Bytes(100, 1));
    WriteFile(Path("s.bin"), Bytes(5000, 2));
    ASSERT_TRUE(view.LoadFile(Path("s.bin")));
    view.OverwriteBytes(0, Bytes(16, 3).data(), 16);
    std::filesystem::remove(Path("s.bin"));
    std::filesystem::create_symlink("victim.bin", Path("s.bin"));

    EXPECT_FALSE(view.SaveToFile(view.m_strFilePath));
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{kCreateFailed});
    EXPECT_EQ(ReadFile(Path("victim.bin")), Bytes(100, 1));
    EXPECT_TRUE(std::filesystem::is_symlink(Path("s.bin")));
    EXPECT_EQ(Names(dir), (std::set<std::string>{"s.bin", "victim.bin"}));

    // A path that was a link when it was loaded is saved through it.
    ASSERT_TRUE(view.LoadFile(Path("s.bin")));
    view.OverwriteBytes(0, Bytes(16, 4).data(), 16);
    ASSERT_TRUE(view.SaveToFile(view.m_strFilePath));
    EXPECT_EQ(ReadFile(Path("victim.bin")), Image());
    EXPECT_TRUE(std::filesystem::is_symlink(Path("s.bin")));
}

TEST_F(FileTest, TargetsThatAreNotRegularFilesAreRefusedUntouched) {
    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
    std::filesystem::create_directory(Path("folder"));
    std::filesystem::create_symlink("folder", Path("link-to-folder"));
    std::vector<std::string> targets = {Path("folder"), Path("fifo"), Path("link-to-folder"),
                                        Path("missing/t.bin")};
    std::set<std::string> names = {"fifo", "folder", "link-to-folder"};
    // A device node of our own (a copy of /dev/null), where one may be made:
    // never a system path, which a faulty save would replace.
    if (::mknod(Path("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
        targets.push_back(Path("null"));
        names.insert("null");
    }
    SetImage(Bytes(5000));
    for (const std::string& path : targets) {
        EXPECT_FALSE(view.SaveToFile(path)) << path;
        EXPECT_FALSE(view.m_bSaving);
    }
    EXPECT_EQ(MessageTexts(), std::vector<std::string>(targets.size(), kCreateFailed));
    EXPECT_TRUE(std::filesystem::is_fifo(Path("fifo")));
    EXPECT_TRUE(std::filesystem::is_empty(Path("folder")));
    EXPECT_EQ(Names(dir), names);
}

TEST_F(FileTest, AReadOnlyTargetIsRefusedEvenInAWritableFolder) {
    // rename() would happily replace a read-only file in a writable folder;
    // the save must refuse instead. Root may write anything, so the save
    // runs with the effective user id of an unprivileged user.
    const uid_t nobody = 65534;
    const bool root = ::geteuid() == 0;
    ASSERT_EQ(::chmod(dir.c_str(), 0777), 0);
    const auto old = Bytes(100, 1);
    WriteFile(Path("ro.bin"), old);
    ASSERT_EQ(::chmod(Path("ro.bin").c_str(), 0444), 0);
    SetImage(Bytes(5000, 2));

    if (root && ::seteuid(nobody) != 0) GTEST_SKIP() << "cannot drop to an unprivileged user";
    const bool saved = view.SaveToFile(Path("ro.bin"));
    if (root) {
        ASSERT_EQ(::seteuid(0), 0);
    }

    EXPECT_FALSE(saved);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{kCreateFailed});
    EXPECT_EQ(ReadFile(Path("ro.bin")), old);
    EXPECT_EQ(Names(dir), (std::set<std::string>{"ro.bin"}));
}

TEST_F(FileTest, TheReplacementKeepsPermissionsAndNewFilesFollowTheUmask) {
    WriteFile(Path("t.bin"), Bytes(10));
    ASSERT_EQ(::chmod(Path("t.bin").c_str(), 0640), 0);
    SetImage(Bytes(5000));
    ASSERT_TRUE(view.SaveToFile(Path("t.bin")));
    struct stat st {};
    ASSERT_EQ(::stat(Path("t.bin").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    const mode_t previous = ::umask(027);
    const bool saved = view.SaveToFile(Path("new.bin"));
    ::umask(previous);
    ASSERT_TRUE(saved);
    ASSERT_EQ(::stat(Path("new.bin").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(FileTest, TheReplacementKeepsTheOwnerWhereAllowed) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root may give a file to another owner";
    WriteFile(Path("t.bin"), Bytes(10));
    ASSERT_EQ(::chown(Path("t.bin").c_str(), 65534, 65534), 0);
    SetImage(Bytes(5000));
    ASSERT_TRUE(view.SaveToFile(Path("t.bin")));
    struct stat st {};
    ASSERT_EQ(::stat(Path("t.bin").c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
}

TEST_F(FileTest, AFileSizeLimitIsAWriteFailureThatLosesNothing) {
    const auto old = Bytes(3000, 1);
    WriteFile(Path("t.bin"), old);  // replaced by rename
    WriteFile(Path("a.bin"), old);  // written in place: it has a second name
    std::filesystem::create_hard_link(Path("a.bin"), Path("b.bin"));
    SetImage(Bytes(256 * 1024, 2));

    const int status = RunInChild([&] {
        // The program's own start-up, as every front end runs it.
        headless::HeadlessHost appHost;
        CMainApp().InitInstance(appHost);
        const rlimit limit{64 * 1024, 64 * 1024};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
        // The file written in place is refused before its first byte changes.
        bool written = false;
        host.OnPump([&](int) { written |= ReadFile(Path("b.bin")) != old; });
        const bool saved = view.SaveToFile(Path("t.bin")) || view.SaveToFile(Path("a.bin"));
        if (written) return 3;
        return !saved && MessageTexts() == std::vector<std::string>(2, kWriteFailed) ? 0 : 1;
    });
    EXPECT_EQ(status, 0) << "a negative status is the signal that ended the program";
    EXPECT_EQ(ReadFile(Path("t.bin")), old);
    EXPECT_EQ(ReadFile(Path("a.bin")), old);
    EXPECT_EQ(Names(dir), (std::set<std::string>{"a.bin", "b.bin", "t.bin"}));
}

TEST_F(FileTest, TheTemporaryFileOfAKilledSaveIsRemovedByTheNextSaveOfThatFile) {
    WriteFile(Path("t.bin"), Bytes(100, 1));
    SetImage(Bytes(kSixChunks, 2));
    const int status = RunInChild([&] {
        host.OnPump([](int n) {
            if (n == 2) ::_exit(0);
        });
        view.SaveToFile(Path("t.bin"));
        return 1;
    });
    ASSERT_EQ(status, 0) << "the save was killed mid-way";
    const std::set<std::string> names = Names(dir);
    ASSERT_EQ(names.size(), 2u) << "the killed save left its temporary file";
    const std::string leftover = *std::find_if(names.begin(), names.end(),
                                               [](const std::string& n) { return n != "t.bin"; });
    EXPECT_EQ(leftover.rfind(".t.bin.bytewren-", 0), 0u) << leftover;

    // Alike but not leftovers of t.bin: another file's, and one that a
    // running save holds.
    WriteFile(Path(".u.bin.bytewren-abc123"), {});
    WriteFile(Path(".t.bin.bytewren-00beef"), {});
    const int held = ::open(Path(".t.bin.bytewren-00beef").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    ASSERT_TRUE(view.SaveToFile(Path("t.bin")));
    ::close(held);
    EXPECT_EQ(ReadFile(Path("t.bin")), Image());
    EXPECT_EQ(Names(dir),
              (std::set<std::string>{"t.bin", ".u.bin.bytewren-abc123", ".t.bin.bytewren-00beef"}));
}
#endif
