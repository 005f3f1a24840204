// Saving by writing into the file itself, for files that a new file renamed
// over them would lose something of (here a second name or an extended
// attribute): exactly the image's bytes at its length in the same inode with
// the same links, owner, group, mode and attributes; and the old bytes and
// length back, with no backup left, whenever the save does not complete.
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/xattr.h>

#include <cerrno>
#include <cstring>

#include "ChildProcess.h"
#endif

#include "FileFixture.h"
#include "app/MainDlg.h"

using namespace platform;
using namespace headless;

namespace {

constexpr size_t kChunk = 4096;

/// Pieces a length is copied or written in; a save pumps after each piece
/// of the backup and between the pieces it writes.
int Pieces(size_t length) { return int((length + kChunk - 1) / kChunk); }

struct Sizes {
    size_t old;
    size_t image;
};
/// Growing and shrinking, each over several chunks.
constexpr Sizes kGrowAndShrink[] = {{3 * kChunk + 10, 5 * kChunk + 100},
                                    {5 * kChunk + 100, 3 * kChunk + 10}};

}  // namespace

class InPlaceSaveTest : public FileTest {
protected:
    /// a.bin with the given bytes, and b.bin as its second name.
    void MakeLinkedFile(const std::vector<uint8_t>& bytes) {
        std::filesystem::remove(Path("a.bin"));
        std::filesystem::remove(Path("b.bin"));
        WriteFile(Path("a.bin"), bytes);
        std::filesystem::create_hard_link(Path("a.bin"), Path("b.bin"));
    }
    std::set<std::string> LinkedNames() const { return {"a.bin", "b.bin"}; }
};

// Owners, modes, symbolic links and extended attributes, as POSIX systems
// have them; Windows has its own in WindowsFilesTest.cpp.
#ifndef _WIN32
TEST_F(InPlaceSaveTest, BothNamesOfALinkedFileGetTheImageAtItsLengthInTheSameInode) {
    for (const Sizes s : {Sizes{3000, 20000}, Sizes{20000, 3000}, Sizes{4096, 4096}}) {
        MakeLinkedFile(Bytes(s.old, 1));
        ASSERT_EQ(::chmod(Path("a.bin").c_str(), 0604), 0);
        if (::geteuid() == 0) {
            ASSERT_EQ(::chown(Path("a.bin").c_str(), kNobody, kNoGroup), 0);
        }
        const Identity before = IdentityOf(Path("a.bin"));
        const auto image = Bytes(s.image, 2);
        SetImage(image);

        ASSERT_TRUE(view.SaveToFile(Path("a.bin"))) << s.old;
        EXPECT_EQ(ReadFile(Path("a.bin")), image) << s.old;
        EXPECT_EQ(ReadFile(Path("b.bin")), image) << s.old;
        EXPECT_EQ(IdentityOf(Path("a.bin")), before) << s.old;
        EXPECT_EQ(Names(dir), LinkedNames()) << "no backup is left";
    }

    // Through a symbolic link, the file it points to is judged and written.
    std::filesystem::create_symlink("a.bin", Path("link"));
    const Identity before = IdentityOf(Path("a.bin"));
    SetImage(Bytes(7000, 3));
    ASSERT_TRUE(view.SaveToFile(Path("link")));
    EXPECT_EQ(ReadFile(Path("b.bin")), Image());
    EXPECT_EQ(IdentityOf(Path("a.bin")), before);
    EXPECT_TRUE(std::filesystem::is_symlink(Path("link")));
    EXPECT_TRUE(host.MessageBoxes().empty());
}

TEST_F(InPlaceSaveTest, AnExtendedAttributeSurvivesWithItsFile) {
    WriteFile(Path("a.bin"), Bytes(3000, 1));
    if (::setxattr(Path("a.bin").c_str(), "user.bytewren-test", "kept", 4, 0) != 0) {
        GTEST_SKIP() << "this file system refuses extended attributes: " << std::strerror(errno);
    }
    const Identity before = IdentityOf(Path("a.bin"));
    SetImage(Bytes(9000, 2));

    ASSERT_TRUE(view.SaveToFile(Path("a.bin")));
    EXPECT_EQ(ReadFile(Path("a.bin")), Image());
    EXPECT_EQ(IdentityOf(Path("a.bin")), before);
    char value[16] = {};
    EXPECT_EQ(::getxattr(Path("a.bin").c_str(), "user.bytewren-test", value, sizeof value), 4);
    EXPECT_STREQ(value, "kept");
    EXPECT_EQ(Names(dir), (std::set<std::string>{"a.bin"}));
}
#endif

TEST_F(InPlaceSaveTest, EscapeACloseRequestOrQuittingAtAnyPointPutsTheOldBytesBack) {
    enum class Stop { Escape, Close, Quit };
    for (const Sizes s : kGrowAndShrink) {
        const int backupPumps = Pieces(s.old);
        const int writePumps = Pieces(s.image) - 1;
        for (Stop stop : {Stop::Escape, Stop::Close, Stop::Quit}) {
            for (int k : {1, backupPumps, backupPumps + 1, backupPumps + writePumps}) {
                const std::string context = "old " + std::to_string(s.old) + ", stop " +
                                            std::to_string(int(stop)) + " at " + std::to_string(k);
                const auto old = Bytes(s.old, 1);
                MakeLinkedFile(old);
                WriteFile(Path("image.bin"), Bytes(s.image, 2));
                const Identity before = IdentityOf(Path("a.bin"));

                headless::HeadlessHost main;
                CMainDlg dlg;
                ASSERT_TRUE(main.OpenDialog(dlg));
                CHexView& v = dlg.m_hexView;
                ASSERT_TRUE(v.LoadFile(Path("image.bin")));
                const int base = main.PumpCount();
                bool writtenWhenStopped = false;
                main.OnPump([&](int n) {
                    if (n != base + k) return;
                    writtenWhenStopped = ReadFile(Path("a.bin")) != old;
                    if (stop == Stop::Escape) main.PostViewMessage(msg::KeyDown, vk::Escape, 1);
                    if (stop == Stop::Close) main.RequestClose();
                    if (stop == Stop::Quit) main.PostQuit();
                });

                EXPECT_FALSE(v.SaveToFile(Path("a.bin"))) << context;
#ifndef _WIN32  // Windows lets no other program read a file while it is saved
                EXPECT_EQ(writtenWhenStopped, k > backupPumps) << context;
#endif
                EXPECT_EQ(ReadFile(Path("a.bin")), old) << context;
                EXPECT_EQ(IdentityOf(Path("a.bin")), before) << context;
                EXPECT_EQ(Names(dir), (std::set<std::string>{"a.bin", "b.bin", "image.bin"}))
                    << context;
                EXPECT_FALSE(v.m_bWritingInPlace) << context;
                EXPECT_EQ(std::vector<uint8_t>(v.m_pData, v.m_pData + v.m_nFileSize),
                          ReadFile(Path("image.bin")))
                    << context;
                EXPECT_TRUE(main.MessageBoxes().empty()) << context;
            }
        }
    }
}

TEST_F(InPlaceSaveTest, ASecondSaveOfAFileBeingSavedIsRefusedBeforeItWritesAnything) {
    // In place (two names) and by rename (one), the second save comes from
    // another window while the first writes.
    for (const bool linked : {true, false}) {
        const auto old = Bytes(3 * kChunk, 1);
        if (linked) {
            MakeLinkedFile(old);
        } else {
            std::filesystem::remove(Path("b.bin"));
            WriteFile(Path("a.bin"), old);
        }
        const auto image = Bytes(6 * kChunk, 2);
        SetImage(image);
        headless::HeadlessHost other;
        CMainDlg dlg;
        ASSERT_TRUE(other.OpenDialog(dlg));
        dlg.m_hexView.OnFileNew();

        bool refused = false;
        std::vector<uint8_t> before, after;
        const int base = host.PumpCount();
        host.OnPump([&](int n) {
            if (n != base + Pieces(old.size()) + 2) return;
            before = ReadFile(Path("a.bin"));
            refused = !dlg.m_hexView.SaveToFile(Path("a.bin"));
            after = ReadFile(Path("a.bin"));
        });
        ASSERT_TRUE(view.SaveToFile(Path("a.bin"))) << linked;
        EXPECT_TRUE(refused) << linked;
        EXPECT_EQ(after, before) << linked;
        std::vector<std::string> texts;
        for (const auto& box : other.MessageBoxes()) texts.push_back(box.text);
        EXPECT_EQ(texts, std::vector<std::string>{kCreateFailed}) << linked;
        EXPECT_EQ(ReadFile(Path("a.bin")), image) << linked;
        const std::set<std::string> names = linked ? LinkedNames() : std::set<std::string>{"a.bin"};
        EXPECT_EQ(Names(dir), names) << linked;
        if (linked) {
            EXPECT_EQ(ReadFile(Path("b.bin")), image);
        }
        host.OnPump(nullptr);
    }
    EXPECT_TRUE(host.MessageBoxes().empty());
}

TEST_F(InPlaceSaveTest, PuttingTheOldBytesBackShowsThePanelAndCannotBeStoppedOrInterrupted) {
    const auto old = Bytes(6 * kChunk, 1);
    MakeLinkedFile(old);
    WriteFile(Path("other.bin"), Bytes(10, 3));
    const auto image = Bytes(6 * kChunk, 2);
    SetImage(image);
    view.m_strFilePath = Path("other.bin");
    host.QueueFileDialogAnswer(Path("other.bin"));

    // ESC after four chunks are written; then, while the old bytes go back,
    // every way of ending the restore, changing the image or starting
    // another file operation.
    const int cancelAt = Pieces(old.size()) + 4;
    int restorePumps = 0;
    int paintsBeforeCancel = 0;
    bool onlyThePanelShown = true;
    std::vector<bool> results;
    host.OnPump([&](int n) {
        if (n == cancelAt) {
            paintsBeforeCancel = host.PaintCount();
            host.PostViewMessage(msg::KeyDown, vk::Escape, 1);
        }
        if (n <= cancelAt) return;
        ++restorePumps;
        onlyThePanelShown &=
            host.PaintCount() > paintsBeforeCancel && LastFrameHas(" Saving Memory to File...");
        host.PostViewMessage(msg::KeyDown, vk::Escape, 1);
        host.PostViewMessage(msg::Char, 'A', 1);
        host.PostViewMessage(msg::Char, 'B', 1);
        host.PostViewMessage(msg::KeyUp, vk::Delete, 0xC0000001);
        results.push_back(view.OnFileOpen());
        results.push_back(view.OnFileReload());
        results.push_back(view.OnFileSave());
        results.push_back(view.LoadFile(Path("other.bin")));
        results.push_back(view.SaveToFile(Path("other.bin")));
        view.OnFileNew();
        host.DropFiles({Path("other.bin")});
    });

    EXPECT_FALSE(view.SaveToFile(Path("a.bin")));
    EXPECT_EQ(restorePumps, 4) << "one pump per chunk put back";
    EXPECT_TRUE(onlyThePanelShown);
    EXPECT_EQ(results, std::vector<bool>(5 * restorePumps, false));
    EXPECT_EQ(ReadFile(Path("a.bin")), old);
    EXPECT_EQ(Names(dir), (std::set<std::string>{"a.bin", "b.bin", "other.bin"}));
    EXPECT_EQ(Image(), image);
    EXPECT_EQ(view.m_strFilePath, Path("other.bin"));
    EXPECT_TRUE(host.FileDialogs().empty());
    EXPECT_TRUE(host.MessageBoxes().empty());
    EXPECT_FALSE(view.IsBusy());
}

TEST_F(InPlaceSaveTest, AWriteFailurePutsTheOldBytesBackAndIsReported) {
    int failures = 0;
    for (const Sizes s : kGrowAndShrink) {
        // The last is the flush: the file has its new length by then.
        for (int k : {2, 3, Pieces(s.image), Pieces(s.image) + 1}) {
            const auto old = Bytes(s.old, 1);
            MakeLinkedFile(old);
            SetImage(Bytes(s.image, 2));
            bool otherNameChanged = false;  // the save really wrote in place
            host.OnPump([&](int) { otherNameChanged |= ReadFile(Path("b.bin")) != old; });
            InjectWriteFailure(k);
            EXPECT_FALSE(view.SaveToFile(Path("a.bin"))) << k;
            ++failures;
            EXPECT_TRUE(otherNameChanged) << k;
            EXPECT_EQ(ReadFile(Path("a.bin")), old) << k;
            EXPECT_EQ(Names(dir), LinkedNames()) << k;
            EXPECT_FALSE(view.IsBusy()) << k;
        }
    }
    EXPECT_EQ(MessageTexts(), std::vector<std::string>(size_t(failures), kWriteFailed));
}

TEST_F(InPlaceSaveTest, OldBytesThatCannotBePutBackStayInTheBackupWhoseNameIsGiven) {
    const auto old = Bytes(6 * kChunk, 1);
    MakeLinkedFile(old);
    SetImage(Bytes(6 * kChunk, 2));
    // ESC after four chunks; the second piece put back fails.
    const int cancelAt = Pieces(old.size()) + 4;
    host.OnPump([&](int n) {
        if (n == cancelAt) host.PostViewMessage(msg::KeyDown, vk::Escape, 1);
        if (n == cancelAt + 1) InjectWriteFailure(1);
    });
    EXPECT_FALSE(view.SaveToFile(Path("a.bin")));
    const std::string backup = Path(BackupOf("a.bin"));
    EXPECT_EQ(
        MessageTexts(),
        std::vector<std::string>{
            "Could not put the old contents back into the file, they are kept in " + backup + "."});
    EXPECT_EQ(ReadFile(backup), old);
    EXPECT_FALSE(view.IsBusy());

    // It is now the copy of an interrupted save.
    host.OnPump(nullptr);
    ASSERT_TRUE(view.LoadFile(Path("a.bin")));
    EXPECT_EQ(MessageTexts().back(), InterruptedSaveMessage(backup));
}

TEST_F(InPlaceSaveTest, WithoutRoomForTheBackupNothingIsWritten) {
    const auto old = Bytes(3 * kChunk + 10, 1);
    const int steps = 1 + Pieces(old.size());  // creating the backup, then each piece
    for (int k : {1, 2, steps}) {
        MakeLinkedFile(old);
        const auto before = std::filesystem::last_write_time(Path("a.bin"));
        SetImage(Bytes(5 * kChunk, 2));
        InjectBackupFailure(k);
        EXPECT_FALSE(view.SaveToFile(Path("a.bin"))) << k;
        EXPECT_EQ(ReadFile(Path("a.bin")), old) << k;
        EXPECT_EQ(std::filesystem::last_write_time(Path("a.bin")), before) << "not written at all";
        EXPECT_EQ(Names(dir), LinkedNames()) << k;
    }
    EXPECT_EQ(MessageTexts(), std::vector<std::string>(3, kWriteFailed));
}

#ifndef _WIN32
TEST_F(InPlaceSaveTest,
       TheBackupOfAKilledSaveIsReportedNeverOverwrittenAndRemovedByACompletedSave) {
    const auto old = Bytes(3 * kChunk + 10, 1);
    MakeLinkedFile(old);
    SetImage(Bytes(5 * kChunk, 2));
    const int killAt = Pieces(old.size()) + 2;  // two chunks written
    const int status = RunInChild([&] {
        host.OnPump([&](int n) {
            if (n == killAt) ::_exit(0);
        });
        view.SaveToFile(Path("a.bin"));
        return 1;
    });
    ASSERT_EQ(status, 0) << "the save was killed mid-way";
    const std::string backup = Path(BackupOf("a.bin"));
    ASSERT_NE(ReadFile(Path("a.bin")), old);
    ASSERT_EQ(ReadFile(backup), old);
    EXPECT_EQ(IdentityOf(backup).mode, 0600u) << "no one but its owner may read the copy";

    // Loading the file says where its old contents are.
    ASSERT_TRUE(view.LoadFile(Path("a.bin")));
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{InterruptedSaveMessage(backup)});

    // So does the start of a save; one that is cancelled keeps the copy as
    // it was and makes its own backup under another name.
    SetImage(Bytes(4 * kChunk, 3));
    bool ownBackupSeen = false;
    const int base = host.PumpCount();
    host.OnPump([&](int n) {
        ownBackupSeen |= Names(dir).count(BackupOf("a.bin") + "-2") == 1;
        if (n == base + killAt) view.LeaveAllModes();
    });
    EXPECT_FALSE(view.SaveToFile(Path("a.bin")));
    EXPECT_TRUE(ownBackupSeen);
    EXPECT_EQ(ReadFile(backup), old);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>(2, InterruptedSaveMessage(backup)));

    // A completed save removes it.
    host.OnPump(nullptr);
    ASSERT_TRUE(view.SaveToFile(Path("a.bin")));
    EXPECT_EQ(ReadFile(Path("b.bin")), Image());
    EXPECT_EQ(Names(dir), LinkedNames());
    ASSERT_TRUE(view.LoadFile(Path("a.bin")));
    EXPECT_EQ(MessageTexts().size(), 3u) << "told at the start of the last save, not since";
}
#endif

TEST_F(InPlaceSaveTest, OnlyBackupsThatNoRunningSaveHoldsAreReportedAndRemoved) {
    MakeLinkedFile(Bytes(100, 1));
    const std::string held = Path(BackupOf("a.bin"));
    const std::string left = Path(BackupOf("a.bin") + "-3");
    WriteFile(held, Bytes(100, 1));
    WriteFile(left, Bytes(100, 1));
    WriteFile(Path(BackupOf("a.bin") + "-x"), {});  // not a backup's name
    {
        const HeldFile running(held);
        ASSERT_TRUE(running.IsHeld());
        ASSERT_TRUE(view.LoadFile(Path("a.bin")));
        EXPECT_EQ(MessageTexts(), std::vector<std::string>{InterruptedSaveMessage(left)});
        ASSERT_TRUE(view.SaveToFile(Path("a.bin")));
    }
    EXPECT_EQ(Names(dir), (std::set<std::string>{"a.bin", "b.bin", BackupOf("a.bin"),
                                                 BackupOf("a.bin") + "-x"}));
}
