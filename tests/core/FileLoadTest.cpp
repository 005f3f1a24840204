// Loading files: sizes, refusals, read failures, cancel, close and busy
// refusals during a load, progress, and what a load resets.
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>

#include "FileFixture.h"
#include "app/MainDlg.h"

using namespace platform;
using namespace headless;

TEST_F(FileTest, LoadsFilesOfEverySizeAroundTheChunkSize) {
    for (size_t size : {1u, 4095u, 4096u, 4097u, 8192u, 3 * 4096u + 5}) {
        const auto bytes = Bytes(size, unsigned(size));
        WriteFile(Path("f.bin"), bytes);
        ASSERT_TRUE(view.LoadFile(Path("f.bin"))) << size;
        EXPECT_EQ(Image(), bytes) << size;
        EXPECT_FALSE(view.m_bLoading);
        EXPECT_EQ(view.m_strFilePath, Path("f.bin"));
    }
    EXPECT_TRUE(host.MessageBoxes().empty());
}

TEST_F(FileTest, AnEmptyFileLoadsAndIsNamedButCannotBeSaved) {
    WriteFile(Path("empty.bin"), {});
    ASSERT_TRUE(view.LoadFile(Path("empty.bin")));
    EXPECT_NE(view.m_pData, nullptr);
    EXPECT_EQ(view.m_nFileSize, 0u);
    EXPECT_EQ(host.GetMainCaption(), "Bytewren - empty.bin");
    EXPECT_EQ(host.PumpCount(), 0) << "one read of 0 bytes finishes the load";

    EXPECT_FALSE(view.OnFileSave());
    EXPECT_FALSE(view.OnFileSaveAs());
    EXPECT_FALSE(view.SaveToFile(Path("copy.bin")));
    EXPECT_TRUE(host.FileDialogs().empty());
    EXPECT_TRUE(host.MessageBoxes().empty());
    EXPECT_EQ(Names(dir), (std::set<std::string>{"empty.bin"}));
}

TEST_F(FileTest, TheCaptionShowsTheLastComponentOfANestedPath) {
    std::filesystem::create_directories(Path("a/b.d/c"));
    WriteFile(Path("a/b.d/c/dump.bin"), Bytes(10));
    ASSERT_TRUE(view.LoadFile(Path("a/b.d/c/dump.bin")));
    EXPECT_EQ(host.GetMainCaption(), "Bytewren - dump.bin");
}

TEST(FileNameFromPath, SplitsAtTheLastSeparator) {
#ifdef _WIN32
    const char separator = '\\', foreign = '/';
#else
    const char separator = '/', foreign = '\\';
#endif
    // The paths are written with "/" for the system's separator.
    auto with = [](char c, std::string path) {
        std::replace(path.begin(), path.end(), '/', c);
        return path;
    };
    auto name = [&](const std::string& path) {
        return CHexView::FileNameFromPath(with(separator, path));
    };
    EXPECT_EQ(name("/home/u/data/dump.bin"), "dump.bin");
    EXPECT_EQ(name("dump.bin"), "dump.bin");
    EXPECT_EQ(name("/home/u/data/"), "data");
    EXPECT_EQ(name("data//"), with(separator, "data//")) << "no separator before the name";
    EXPECT_EQ(name("/"), with(separator, "/"));
    // The other system's separator is part of a name: such a path is shown whole.
    const std::string other = with(foreign, "C:/data/dump.bin");
    EXPECT_EQ(CHexView::FileNameFromPath(other), other);
}

#ifndef _WIN32
TEST_F(FileTest, OnlyRegularFilesAreOpenedAndNothingBlocks) {
    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
    std::filesystem::create_directory(Path("folder"));
    for (const std::string& path : {Path("missing"), Path("folder"), Path("fifo"),
                                    std::string("/dev/null"), std::string("/dev/zero")}) {
        EXPECT_FALSE(view.LoadFile(path)) << path;
        EXPECT_EQ(view.m_pData, nullptr);
        EXPECT_FALSE(view.m_bLoading);
    }
    EXPECT_EQ(MessageTexts(), std::vector<std::string>(5, kOpenFailed));
    EXPECT_EQ(host.MessageBoxes()[0].caption, "");
    EXPECT_EQ(host.MessageBoxes()[0].type, mb::Ok | mb::IconError);
}
#endif

TEST_F(FileTest, FilesOverTheLimitAreRefusedBeforeAnyAllocation) {
    // 4,294,967,306 is 0x10000000A: its low 32 bits alone would read as 10.
    for (uint64_t length : {uint64_t(0x80000000), uint64_t(4294967306)}) {
        MakeSparse(Path("big.bin"), length);
        const int calls = host.Allocator().Calls();
        EXPECT_FALSE(view.LoadFile(Path("big.bin"))) << length;
        EXPECT_EQ(host.Allocator().Calls(), calls) << length;
        EXPECT_EQ(view.m_pData, nullptr);
        EXPECT_EQ(view.m_nFileSize, 0u);
        EXPECT_EQ(host.GetMainCaption(), "Bytewren");
    }
    EXPECT_EQ(MessageTexts(), std::vector<std::string>(2, kTooLarge));
}

TEST_F(FileTest, NoMemoryForTheImageIsReported) {
    WriteFile(Path("f.bin"), Bytes(100));
    host.Allocator().FailCall(1);
    EXPECT_FALSE(view.LoadFile(Path("f.bin")));
    EXPECT_EQ(view.m_pData, nullptr);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Not enough memory to load file."});
}

TEST_F(FileTest, AFileThatCannotBeLoadedLeavesTheImageAndItsEditsAlone) {
    WriteFile(Path("a.bin"), Bytes(40 * 16));
    ASSERT_TRUE(view.LoadFile(Path("a.bin")));
    // An unsaved edit, a selection, the caret and a scroll position to keep.
    view.m_bCharArea = true;
    view.m_nSelStart = view.m_nCaret = 100;
    view.m_nSelEnd = 120;
    view.OnCharacter('Z');
    view.ScrollToRow(3);
    const std::vector<uint8_t> edited = Image();
    ASSERT_EQ(edited[100], 'Z');

    std::filesystem::create_directory(Path("folder"));
    MakeSparse(Path("big.bin"), uint64_t(0x80000000));
    std::vector<std::pair<std::string, std::string>> refusals = {{Path("missing"), kOpenFailed},
                                                                 {Path("folder"), kOpenFailed},
                                                                 {Path("big.bin"), kTooLarge}};
#ifndef _WIN32
    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
    refusals.emplace_back(Path("fifo"), kOpenFailed);
#endif
    auto expectUnchanged = [&](const std::string& context) {
        EXPECT_EQ(Image(), edited) << context;
        EXPECT_EQ(view.m_strFilePath, Path("a.bin")) << context;
        EXPECT_EQ(host.GetMainCaption(), "Bytewren - a.bin") << context;
        EXPECT_EQ(view.m_nSelStart, 100u) << context;
        EXPECT_EQ(view.m_nSelEnd, 120u) << context;
        EXPECT_EQ(view.m_nCaret, 101u) << context;
        EXPECT_EQ(view.ScrollPos(), 3) << context;
    };
    std::vector<std::string> expected;
    for (const auto& [path, message] : refusals) {
        host.QueueFileDialogAnswer(path);
        EXPECT_FALSE(view.OnFileOpen()) << path;
        expectUnchanged("open " + path);
        host.DropFiles({path});
        expectUnchanged("drop " + path);
        expected.insert(expected.end(), 2, message);
    }
    // Reload of a file that has gone since.
    std::filesystem::rename(Path("a.bin"), Path("a.old"));
    EXPECT_FALSE(view.OnFileReload());
    expectUnchanged("reload");
    expected.push_back(kOpenFailed);
    EXPECT_EQ(MessageTexts(), expected);

    // The path is still the one to reload.
    std::filesystem::rename(Path("a.old"), Path("a.bin"));
    ASSERT_TRUE(view.OnFileReload());
    EXPECT_EQ(Image(), Bytes(40 * 16));
}

TEST_F(FileTest, AReadErrorEndsTheLoadLikeACancelAndSaysSo) {
    WriteFile(Path("a.bin"), Bytes(100));
    ASSERT_TRUE(view.LoadFile(Path("a.bin")));
    WriteFile(Path("b.bin"), Bytes(5 * 4096));
    InjectReadFailure(3);
    EXPECT_FALSE(view.LoadFile(Path("b.bin")));
    EXPECT_EQ(view.m_pData, nullptr);
    EXPECT_EQ(view.m_nFileSize, 0u);
    EXPECT_FALSE(view.m_bLoading);
    EXPECT_EQ(host.GetMainCaption(), "Bytewren");
    EXPECT_EQ(view.m_strFilePath, Path("a.bin"));
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{kReadFailed});
}

#ifndef _WIN32  // Windows lets no other program write a file while it loads
TEST_F(FileTest, AFileThatShrinksDuringTheLoadIsNotTakenAsComplete) {
    WriteFile(Path("b.bin"), Bytes(5 * 4096));
    host.OnPump([&](int n) {
        if (n == 2) std::filesystem::resize_file(Path("b.bin"), 4096 + 100);
    });
    EXPECT_FALSE(view.LoadFile(Path("b.bin")));
    EXPECT_EQ(view.m_pData, nullptr);
    EXPECT_FALSE(view.m_bLoading);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{kReadFailed});
}
#endif

TEST_F(FileTest, CancellingAtAnyChunkLeavesNoImageAndTheBaseCaption) {
    // Six chunks, so pumps 1 to 5 run between them.
    WriteFile(Path("f.bin"), Bytes(5 * 4096 + 100));
    WriteFile(Path("a.bin"), Bytes(10));
    for (int k : {1, 3, 5}) {
        ASSERT_TRUE(view.LoadFile(Path("a.bin")));
        const int base = host.PumpCount();
        // What ESC does: it leaves every mode.
        host.OnPump([&](int n) {
            if (n == base + k) view.LeaveAllModes();
        });
        EXPECT_FALSE(view.LoadFile(Path("f.bin"))) << k;
        EXPECT_EQ(host.PumpCount(), base + k);
        EXPECT_EQ(view.m_pData, nullptr);
        EXPECT_EQ(view.m_nFileSize, 0u);
        EXPECT_FALSE(view.m_bLoading);
        EXPECT_EQ(host.GetMainCaption(), "Bytewren");
        EXPECT_EQ(view.m_strFilePath, Path("a.bin")) << "a cancelled load is not bound";
        host.OnPump(nullptr);
    }
    EXPECT_TRUE(host.MessageBoxes().empty());
}

TEST_F(FileTest, ACloseRequestMidLoadStopsItAndClosesTheWindow) {
    WriteFile(Path("f.bin"), Bytes(10 * 4096));
    headless::HeadlessHost main;
    CMainDlg dlg;
    ASSERT_TRUE(main.OpenDialog(dlg));
    main.OnPump([&](int n) {
        if (n == 4) main.RequestClose();
    });
    EXPECT_FALSE(dlg.m_hexView.LoadFile(Path("f.bin")));
    EXPECT_EQ(main.PumpCount(), 4);
    EXPECT_TRUE(main.DialogClosed());
    EXPECT_EQ(dlg.m_hexView.m_pData, nullptr);
    EXPECT_FALSE(dlg.m_hexView.m_bLoading);
    EXPECT_EQ(main.GetMainCaption(), "Bytewren");
    EXPECT_TRUE(main.MessageBoxes().empty()) << "no question is asked";
}

TEST_F(FileTest, QuittingMidLoadStopsAtOnce) {
    WriteFile(Path("f.bin"), Bytes(4 * 4096));
    host.OnPump([&](int n) {
        if (n == 2) host.PostQuit();
    });
    EXPECT_FALSE(view.LoadFile(Path("f.bin")));
    EXPECT_EQ(host.PumpCount(), 2);
    EXPECT_TRUE(host.Quitting());
}

TEST_F(FileTest, FileCommandsAndDropsAreRefusedSilentlyWhileLoading) {
    const auto bytes = Bytes(6 * 4096);
    WriteFile(Path("f.bin"), bytes);
    WriteFile(Path("other.bin"), Bytes(10));
    view.m_strFilePath = Path("other.bin");
    std::vector<bool> results;
    host.QueueFileDialogAnswer(Path("other.bin"));
    host.OnPump([&](int n) {
        if (n != 2) return;
        results.push_back(view.OnFileOpen());
        results.push_back(view.OnFileReload());
        results.push_back(view.OnFileSave());
        results.push_back(view.OnFileSaveAs());
        results.push_back(view.LoadFile(Path("other.bin")));
        results.push_back(view.SaveToFile(Path("x.bin")));
        view.OnFileNew();
        host.DropFiles({Path("other.bin")});
        EXPECT_TRUE(view.m_bLoading);
    });
    ASSERT_TRUE(view.LoadFile(Path("f.bin")));
    EXPECT_EQ(results, std::vector<bool>(6, false));
    EXPECT_EQ(Image(), bytes);
    EXPECT_EQ(host.GetMainCaption(), "Bytewren - f.bin");
    EXPECT_TRUE(host.FileDialogs().empty());
    EXPECT_TRUE(host.MessageBoxes().empty());
    EXPECT_FALSE(std::filesystem::exists(Path("x.bin")));
}

TEST_F(FileTest, ALoadResetsTheViewAndEndsBitEdit) {
    WriteFile(Path("f.bin"), Bytes(300));
    SetImage(1000);
    view.m_nSelStart = 5;
    view.m_nSelEnd = 9;
    view.m_nCaret = 7;
    view.m_nDragAnchor = 3;
    view.m_nHoverOffset = 4;
    view.m_chPendingDigit = 'A';
    view.m_bBitEdit = true;
    std::memcpy(view.m_szBits, "0101", 4);
    host.ScrollBar()->EnableWindow(false);
    host.ScrollBar()->SetScrollPos(20, true);

    ASSERT_TRUE(view.LoadFile(Path("f.bin")));
    EXPECT_EQ(view.m_nSelStart, 0u);
    EXPECT_EQ(view.m_nSelEnd, 0u);
    EXPECT_EQ(view.m_nCaret, 0u);
    EXPECT_EQ(view.m_nDragAnchor, -1);
    EXPECT_EQ(view.m_nHoverOffset, -1);
    EXPECT_EQ(view.m_chPendingDigit, 0);
    EXPECT_FALSE(view.m_bBitEdit);
    EXPECT_EQ(std::string(view.m_szBits, 10), std::string(10, '\0'));
    EXPECT_TRUE(host.ScrollBar()->IsWindowEnabled());
    EXPECT_EQ(view.ScrollPos(), 0);
}

TEST_F(FileTest, ProgressRepaintsOnlyForImagesOverOneMebibyte) {
    for (uint32_t size : {CHexView::PROGRESS_MIN_SIZE, CHexView::PROGRESS_MIN_SIZE + 4096}) {
        WriteFile(Path("f.bin"), std::vector<uint8_t>(size, 1));
        host.RunUntilIdle();
        view.m_nFileProgress = 0;
        std::vector<int> shown;
        int repaints = 0;
        host.OnPump([&](int) {
            if (!host.InvalidRect().IsEmpty()) {
                ++repaints;
                shown.push_back(view.m_nFileProgress);
            }
        });
        ASSERT_TRUE(view.LoadFile(Path("f.bin")));
        host.OnPump(nullptr);
        if (size == CHexView::PROGRESS_MIN_SIZE) {
            EXPECT_EQ(repaints, 0);
            EXPECT_EQ(view.m_nFileProgress, 0);
        } else {
            // Once per whole percent, 1 to 99; the panel never shows 100.
            std::vector<int> expected;
            for (int p = 1; p <= 99; ++p) expected.push_back(p);
            EXPECT_EQ(shown, expected);
            EXPECT_EQ(view.m_nFileProgress, 99);
        }
    }
}

TEST_F(FileTest, ThePercentageIsTruncated) {
    EXPECT_EQ(CHexView::FileProgressPercent(1, 3), 33);
    EXPECT_EQ(CHexView::FileProgressPercent(2, 3), 66);
    EXPECT_EQ(CHexView::FileProgressPercent(0x7FFFF000, 0x7FFFFFFF), 99);
    EXPECT_EQ(CHexView::FileProgressPercent(4096, 0x7FFFFFFF), 0);
}
