// The File menu's handlers, the command-line open and dropped files.
#include "FileFixture.h"
#include "app/MainDlg.h"
#include "app/Resources.h"

using namespace platform;

TEST_F(FileTest, NewMakesThreeZeroRowsAtTheCurrentWidth) {
    WriteFile(Path("a.bin"), Bytes(100));
    ASSERT_TRUE(view.LoadFile(Path("a.bin")));
    view.m_nSelStart = 4;
    view.m_nSelEnd = view.m_nCaret = 6;
    view.m_bBitEdit = true;
    std::memcpy(view.m_szBits, "011", 3);
    host.ScrollBar()->EnableWindow(false);

    view.OnFileNew();
    EXPECT_EQ(Image(), std::vector<uint8_t>(48, 0));
    EXPECT_EQ(host.GetMainCaption(), "Bytewren - Untitled");
    EXPECT_EQ(view.m_strFilePath, "");
    EXPECT_EQ(view.m_nSelStart, 0u);
    EXPECT_EQ(view.m_nSelEnd, 0u);
    EXPECT_EQ(view.m_nCaret, 0u);
    EXPECT_FALSE(view.m_bBitEdit);
    EXPECT_EQ(std::string(view.m_szBits, 10), std::string(10, '\0'));
    EXPECT_TRUE(host.ScrollBar()->IsWindowEnabled());
    EXPECT_FALSE(view.OnFileReload()) << "New forgets the path";

    view.m_nBytesPerRow = 5;
    view.OnFileNew();
    EXPECT_EQ(Image(), std::vector<uint8_t>(15, 0));
}

TEST_F(FileTest, NewWithoutMemoryLeavesNoImageAndSaysSo) {
    host.Allocator().FailCall(1);
    view.OnFileNew();
    EXPECT_EQ(view.m_pData, nullptr);
    EXPECT_EQ(host.GetMainCaption(), "Bytewren");
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Not enough memory to create a new file."});
}

TEST_F(FileTest, SaveAfterNewAsksForANameEveryTime) {
    view.OnFileNew();
    host.QueueFileDialogAnswer(Path("named.bin"));
    ASSERT_TRUE(view.OnFileSave());
    ASSERT_EQ(host.FileDialogs().size(), 1u);
    EXPECT_TRUE(host.FileDialogs()[0].save);
    EXPECT_EQ(host.FileDialogs()[0].request.initialName, "");
    EXPECT_EQ(ReadFile(Path("named.bin")), std::vector<uint8_t>(48, 0));
    EXPECT_EQ(host.GetMainCaption(), "Bytewren - Untitled");
    EXPECT_FALSE(view.OnFileReload());

    EXPECT_FALSE(view.OnFileSave()) << "the dialog is cancelled this time";
    EXPECT_EQ(host.FileDialogs().size(), 2u);
    EXPECT_TRUE(host.MessageBoxes().empty()) << "no overwrite question without a path";
}

TEST_F(FileTest, SaveAsWritesACopyAndSaveStillWritesTheLoadedFile) {
    const auto original = Bytes(5000, 1);
    WriteFile(Path("a.bin"), original);
    ASSERT_TRUE(view.LoadFile(Path("a.bin")));
    host.QueueFileDialogAnswer(Path("copy.bin"));
    ASSERT_TRUE(view.OnFileSaveAs());
    const FileDialogRequest& request = host.FileDialogs().back().request;
    EXPECT_EQ(request.initialName, Path("a.bin"));
    EXPECT_EQ(request.filter, "All Files (*.*)|*.*||");
    EXPECT_EQ(request.flags, ofn::HideReadOnly | ofn::OverwritePrompt | ofn::PathMustExist |
                                 ofn::NoReadOnlyReturn);
    EXPECT_EQ(ReadFile(Path("copy.bin")), original);
    EXPECT_EQ(view.m_strFilePath, Path("a.bin"));
    EXPECT_EQ(host.GetMainCaption(), "Bytewren - a.bin");

    FlipBits(view, 0, 0xFF);
    const auto edited = Image();
    host.QueueMessageBoxAnswer(mb::IdNo);
    EXPECT_FALSE(view.OnFileSave());
    EXPECT_EQ(ReadFile(Path("a.bin")), original);
    host.QueueMessageBoxAnswer(mb::IdYes);
    ASSERT_TRUE(view.OnFileSave());
    EXPECT_EQ(ReadFile(Path("a.bin")), edited);
    EXPECT_EQ(ReadFile(Path("copy.bin")), original);

    ASSERT_EQ(host.MessageBoxes().size(), 2u);
    EXPECT_EQ(host.MessageBoxes()[1].text, "Are you sure you want to overwrite the original file?");
    EXPECT_EQ(host.MessageBoxes()[1].caption, "Overwrite Warning");
    EXPECT_EQ(host.MessageBoxes()[1].type, mb::YesNo | mb::IconExclamation);
}

TEST_F(FileTest, OpenShowsTheOpenDialogAndLoadsTheChoice) {
    WriteFile(Path("a.bin"), Bytes(70));
    EXPECT_FALSE(view.OnFileOpen()) << "dialog cancelled";
    host.QueueFileDialogAnswer(Path("a.bin"));
    ASSERT_TRUE(view.OnFileOpen());
    EXPECT_EQ(Image(), Bytes(70));
    ASSERT_EQ(host.FileDialogs().size(), 2u);
    const headless::ShownFileDialog& shown = host.FileDialogs()[1];
    EXPECT_FALSE(shown.save);
    EXPECT_EQ(shown.request.initialName, "");
    EXPECT_EQ(shown.request.filter, "All Files (*.*)|*.*||");
    EXPECT_EQ(shown.request.flags,
              ofn::HideReadOnly | ofn::PathMustExist | ofn::FileMustExist | ofn::NoReadOnlyReturn);
}

TEST_F(FileTest, ReloadReadsTheFileAfreshAndNeedsAPath) {
    EXPECT_FALSE(view.OnFileReload());
    EXPECT_TRUE(host.MessageBoxes().empty());
    WriteFile(Path("a.bin"), Bytes(70, 1));
    ASSERT_TRUE(view.LoadFile(Path("a.bin")));
    WriteFile(Path("a.bin"), Bytes(90, 2));
    ASSERT_TRUE(view.OnFileReload());
    EXPECT_EQ(Image(), Bytes(90, 2));
}

TEST_F(FileTest, OnlyTheFirstDroppedFileIsLoadedHoweverLongItsName) {
    // A path well past the 260 characters of a classic fixed buffer.
    std::string folder;
    for (int i = 0; i < 6; ++i) folder += std::string(50, char('a' + i)) + "/";
    std::filesystem::create_directories(Path(folder));
    const std::string first = Path(folder + "first.bin");
    ASSERT_GT(first.size(), 300u);
    WriteFile(first, Bytes(30, 1));
    WriteFile(Path("second.bin"), Bytes(40, 2));

    host.DropFiles({first, Path("second.bin")});
    EXPECT_EQ(Image(), Bytes(30, 1));
    EXPECT_EQ(view.m_strFilePath, first);
    EXPECT_EQ(host.GetMainCaption(), "Bytewren - first.bin");

    host.DropFiles({Path("missing.bin")});
    EXPECT_EQ(view.m_strFilePath, first) << "a failed drop keeps the path";
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{kOpenFailed});
}

TEST_F(FileTest, TheCommandLineFileIsOpenedOnceTheWindowRunsOrForgotten) {
    WriteFile(Path("a b.bin"), Bytes(64));
    {
        headless::HeadlessHost h;
        h.SetCommandLine(
            CommandLine::FromLine("\"/usr/bin/bytewren\" \"" + Path("a b.bin") + "\""));
        CHexView v;
        ASSERT_TRUE(v.Create(h));
        EXPECT_EQ(v.m_pData, nullptr) << "not before the message loop runs";
        h.RunUntilIdle();
        EXPECT_EQ(v.m_nFileSize, 64u);
        EXPECT_EQ(v.m_strFilePath, Path("a b.bin"));
        EXPECT_EQ(h.GetMainCaption(), "Bytewren - a b.bin");
    }
    headless::HeadlessHost h;
    h.SetCommandLine(CommandLine::FromArguments({Path("none.bin")}));
    CHexView v;
    ASSERT_TRUE(v.Create(h));
    h.RunUntilIdle();
    EXPECT_EQ(v.m_pData, nullptr);
    EXPECT_EQ(v.m_strFilePath, "");
    ASSERT_EQ(h.MessageBoxes().size(), 1u);
    EXPECT_EQ(h.MessageBoxes()[0].text, kOpenFailed);
}

#ifndef _WIN32  // a Windows file name cannot hold a quote
// A quote in a POSIX argument is part of the name: my"file.bin is opened,
// not myfile.bin, and a later Save writes only the file that was named.
TEST_F(FileTest, AnArgumentWithAQuoteOpensThatVeryFile) {
    const std::string quoted = Path("my\"file.bin");
    WriteFile(quoted, Bytes(40, 1));
    WriteFile(Path("myfile.bin"), Bytes(50, 2));
    headless::HeadlessHost h;
    h.SetCommandLine(CommandLine::FromArguments({quoted}));
    CHexView v;
    ASSERT_TRUE(v.Create(h));
    h.RunUntilIdle();
    ASSERT_EQ(v.m_nFileSize, 40u);
    EXPECT_EQ(std::vector<uint8_t>(v.m_pData, v.m_pData + 40), Bytes(40, 1));
    EXPECT_EQ(v.m_strFilePath, quoted);
    EXPECT_EQ(h.GetMainCaption(), "Bytewren - my\"file.bin");

    FlipBits(v, 0, 0xFF);
    h.QueueMessageBoxAnswer(mb::IdYes);
    ASSERT_TRUE(v.OnFileSave());
    auto saved = Bytes(40, 1);
    saved[0] ^= 0xFF;
    EXPECT_EQ(ReadFile(quoted), saved);
    EXPECT_EQ(ReadFile(Path("myfile.bin")), Bytes(50, 2));
}
#endif

TEST_F(FileTest, TheMainWindowForwardsEveryFileCommand) {
    WriteFile(Path("a.bin"), Bytes(70, 1));
    headless::HeadlessHost main;
    CMainDlg dlg;
    ASSERT_TRUE(main.OpenDialog(dlg));
    CHexView& v = dlg.m_hexView;

    main.ChooseMenuCommand(IDM_FILE_NEW);
    EXPECT_EQ(v.m_nFileSize, 48u);
    main.QueueFileDialogAnswer(Path("a.bin"));
    main.ChooseMenuCommand(IDM_FILE_OPEN);
    EXPECT_EQ(v.m_strFilePath, Path("a.bin"));
    main.QueueFileDialogAnswer(Path("copy.bin"));
    main.ChooseMenuCommand(IDM_FILE_SAVEAS);
    EXPECT_EQ(ReadFile(Path("copy.bin")), Bytes(70, 1));
    FlipBits(v, 0, 1);
    main.QueueMessageBoxAnswer(mb::IdYes);
    main.ChooseMenuCommand(IDM_FILE_SAVE);
    const auto saved = ReadFile(Path("a.bin"));
    EXPECT_NE(saved, Bytes(70, 1));
    FlipBits(v, 1, 1);
    main.ChooseMenuCommand(IDM_FILE_RELOAD);
    EXPECT_EQ(std::vector<uint8_t>(v.m_pData, v.m_pData + v.m_nFileSize), saved);
}
