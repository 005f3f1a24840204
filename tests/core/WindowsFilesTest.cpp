// The file layer where Windows differs: files held open by other programs,
// read-only and hidden files, hard links, full paths for replacing, and
// the leftovers of killed saves.
#ifdef _WIN32
#include "FileFixture.h"

using namespace platform;

TEST_F(FileTest, AFileThatAnotherProgramWritesCannotBeSavedOrLoaded) {
    const auto old = Bytes(3000, 1);
    WriteFile(Path("t.bin"), old);
    SetImage(Bytes(5000, 2));
    {
        const HeldFile writer(Path("t.bin"));
        ASSERT_TRUE(writer.IsHeld());
        EXPECT_FALSE(view.SaveToFile(Path("t.bin")));
        EXPECT_FALSE(view.LoadFile(Path("t.bin")));
    }
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{kCreateFailed, kOpenFailed}));
    EXPECT_EQ(ReadFile(Path("t.bin")), old);
    EXPECT_EQ(Names(dir), (std::set<std::string>{"t.bin"}));

    // Released, it loads; while it loads, no other program writes it.
    WriteFile(Path("t.bin"), Bytes(kSixChunks, 3));
    int writable = 0;
    host.OnPump([&](int) { writable += HeldFile(Path("t.bin")).IsHeld(); });
    ASSERT_TRUE(view.LoadFile(Path("t.bin")));
    EXPECT_EQ(Image(), Bytes(kSixChunks, 3));
    EXPECT_GT(host.PumpCount(), 0);
    EXPECT_EQ(writable, 0);
}

TEST_F(FileTest, NoOtherProgramOpensTheTargetWhileItIsSaved) {
    WriteFile(Path("t.bin"), Bytes(3000, 1));  // replaced by rename
    WriteFile(Path("a.bin"), Bytes(3000, 1));  // written in place: it has a second name
    std::filesystem::create_hard_link(Path("a.bin"), Path("b.bin"));
    SetImage(Bytes(kSixChunks, 2));
    for (const char* name : {"t.bin", "a.bin"}) {
        int readable = 0;
        host.OnPump([&](int) { readable += CanBeRead(Path(name)); });
        ASSERT_TRUE(view.SaveToFile(Path(name))) << name;
        EXPECT_GT(host.PumpCount(), 0);
        EXPECT_EQ(readable, 0) << name;
        EXPECT_TRUE(CanBeRead(Path(name))) << "released at the end";
        EXPECT_EQ(ReadFile(Path(name)), Image()) << name;
    }
    EXPECT_EQ(ReadFile(Path("b.bin")), Image());
}

TEST_F(FileTest, AReadOnlyFileIsRefusedBeforeAnythingIsWritten) {
    const auto old = Bytes(100, 1);
    WriteFile(Path("ro.bin"), old);
    SetAttributes(Path("ro.bin"), kReadOnly);
    const Identity before = IdentityOf(Path("ro.bin"));
    SetImage(Bytes(5000, 2));
    EXPECT_FALSE(view.SaveToFile(Path("ro.bin")));
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{kCreateFailed});
    EXPECT_EQ(ReadFile(Path("ro.bin")), old);
    EXPECT_EQ(IdentityOf(Path("ro.bin")), before);
    EXPECT_EQ(Names(dir), (std::set<std::string>{"ro.bin"}));
    SetAttributes(Path("ro.bin"), kArchive);  // so that it can be removed
}

TEST_F(FileTest, AReplacedFileKeepsItsAttributes) {
    WriteFile(Path("t.bin"), Bytes(100, 1));
    SetAttributes(Path("t.bin"), kHidden | kSystem | kArchive);
    const Identity before = IdentityOf(Path("t.bin"));
    SetImage(Bytes(5000, 2));
    ASSERT_TRUE(view.SaveToFile(Path("t.bin")));
    EXPECT_EQ(ReadFile(Path("t.bin")), Image());
    EXPECT_NE(IdentityOf(Path("t.bin")).file, before.file) << "a new file took its place";
    EXPECT_EQ(IdentityOf(Path("t.bin")).mode, kHidden | kSystem | kArchive);
    EXPECT_EQ(Names(dir), (std::set<std::string>{"t.bin"}));
}

TEST_F(FileTest, AFileWithASecondNameIsWrittenInPlaceAndKeepsBoth) {
    for (const size_t oldSize : {3000u, 20000u}) {
        std::filesystem::remove(Path("a.bin"));
        std::filesystem::remove(Path("b.bin"));
        WriteFile(Path("a.bin"), Bytes(oldSize, 1));
        std::filesystem::create_hard_link(Path("a.bin"), Path("b.bin"));
        SetAttributes(Path("a.bin"), kHidden | kArchive);
        const Identity before = IdentityOf(Path("a.bin"));
        ASSERT_EQ(before.links, 2u);
        SetImage(Bytes(23000 - oldSize, 2));
        // The copy of the old bytes, under a temporary name until it is whole.
        bool backedUp = false;
        host.OnPump([&](int) { backedUp |= Names(dir).size() > 2; });

        ASSERT_TRUE(view.SaveToFile(Path("a.bin"))) << oldSize;
        EXPECT_TRUE(backedUp) << oldSize;
        EXPECT_EQ(ReadFile(Path("a.bin")), Image()) << oldSize;
        EXPECT_EQ(ReadFile(Path("b.bin")), Image()) << oldSize;
        EXPECT_EQ(IdentityOf(Path("a.bin")), before) << oldSize;
        EXPECT_EQ(Names(dir), (std::set<std::string>{"a.bin", "b.bin"})) << "no backup is left";
    }
}

TEST_F(FileTest, RelativeAndSlashedPathsAreSavedAsFullPaths) {
    WriteFile(Path("rel.bin"), Bytes(100, 1));
    WriteFile(Path("slashed.bin"), Bytes(100, 1));
    SetImage(Bytes(5000, 2));
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    const bool relative = view.SaveToFile("rel.bin");
    const bool fresh = view.SaveToFile("fresh.bin");
    std::filesystem::current_path(previous);
    std::string slashed = Path("slashed.bin");
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    const bool slashes = view.SaveToFile(slashed);

    EXPECT_TRUE(relative);
    EXPECT_TRUE(fresh);
    EXPECT_TRUE(slashes);
    for (const char* name : {"rel.bin", "fresh.bin", "slashed.bin"}) {
        EXPECT_EQ(ReadFile(Path(name)), Image()) << name;
    }
    EXPECT_EQ(Names(dir), (std::set<std::string>{"rel.bin", "fresh.bin", "slashed.bin"}));
    EXPECT_TRUE(host.MessageBoxes().empty());
}

TEST_F(FileTest, NamesInAnyScriptAreLoadedAndSaved) {
    // UTF-8 in the core, UTF-16 at the system: "Ünïcode 日本.bin". (Under
    // wine, whose file names follow the locale, the ANSI code page is UTF-8.)
    const std::string name =
        "\xc3\x9cn\xc3\xaf"
        "code \xe6\x97\xa5\xe6\x9c\xac.bin";
    const std::u8string wide(name.begin(), name.end());
    {
        std::ofstream out(std::filesystem::path(dir) / std::filesystem::path(wide),
                          std::ios::binary);
        out << "old";
    }
    ASSERT_TRUE(view.LoadFile(Path(name)));
    EXPECT_EQ(Image(), (std::vector<uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(host.GetMainCaption(), "Bytewren - " + name);
    SetImage(Bytes(5000, 2));
    ASSERT_TRUE(view.SaveToFile(Path(name)));
    std::ifstream in(std::filesystem::path(dir) / std::filesystem::path(wide), std::ios::binary);
    EXPECT_EQ(std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {}), Image());
    EXPECT_EQ(Names(dir).size(), 1u) << "no temporary file is left";
}

TEST_F(FileTest, FoldersDevicesAndMissingFoldersAreNeitherLoadedNorSaved) {
    std::filesystem::create_directory(Path("folder"));
    SetImage(Bytes(5000));
    const std::vector<std::string> paths = {Path("folder"), Path("missing\\t.bin"), "NUL"};
    for (const std::string& path : paths) {
        EXPECT_FALSE(view.SaveToFile(path)) << path;
    }
    EXPECT_EQ(MessageTexts(), std::vector<std::string>(paths.size(), kCreateFailed));
    for (const std::string& path : paths) {
        EXPECT_FALSE(view.LoadFile(path)) << path;
    }
    EXPECT_EQ(MessageTexts().back(), kOpenFailed);
    EXPECT_TRUE(std::filesystem::is_empty(Path("folder")));
    EXPECT_EQ(Names(dir), (std::set<std::string>{"folder"}));
}

TEST_F(FileTest, TheNextSaveRemovesTheTemporaryFilesOfKilledSavesOnly) {
    WriteFile(Path("t.bin"), Bytes(100, 1));
    // Left by killed saves of t.bin, of another file, and one that a running
    // save holds.
    WriteFile(Path(".t.bin.bytewren-abc123"), Bytes(10));
    WriteFile(Path(".u.bin.bytewren-abc123"), {});
    WriteFile(Path(".t.bin.bytewren-00beef"), {});
    SetImage(Bytes(kSixChunks, 2));
    {
        const HeldFile running(Path(".t.bin.bytewren-00beef"));
        ASSERT_TRUE(running.IsHeld());
        ASSERT_TRUE(view.SaveToFile(Path("t.bin")));
    }
    EXPECT_EQ(ReadFile(Path("t.bin")), Image());
    EXPECT_EQ(Names(dir),
              (std::set<std::string>{"t.bin", ".u.bin.bytewren-abc123", ".t.bin.bytewren-00beef"}));
}
#endif
