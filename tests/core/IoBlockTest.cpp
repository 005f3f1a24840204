// The file layer meets the file in large blocks while loads and saves go
// chunk by chunk: a load gets exactly the file, and sees it shrink; what
// reaches a saved file is exactly what was written, in order; and a save
// that stops at any point, with part of the new bytes written and part
// still gathered, leaves the old file as it was.
#include "FileFixture.h"
#include "files/GatheredWrites.h"
#include "files/IoBlock.h"
#include "files/SystemFiles.h"

using namespace platform;
using namespace files;
using namespace headless;

namespace {

constexpr size_t kMiB = size_t(1) << 20;
constexpr int kChunksPerBlock = int(kDefaultIoBlockSize / CHexView::CHUNK_SIZE);

int Chunks(size_t length) {
    return int((length + CHexView::CHUNK_SIZE - 1) / CHexView::CHUNK_SIZE);
}

}  // namespace

class IoBlockTest : public FileTest {
protected:
    void SetUp() override {
        FileTest::SetUp();
        SetIoBlockSize(0);  // the blocks a user's loads and saves have
    }

    /// Opens a new file for a GatheredWrites; closed by TearDown.
    FileHandle& NewFile(const std::string& name) {
        bool exists = false;
        m_file = sys::CreateNewFile(Path(name), true, exists);
        EXPECT_NE(m_file, NO_FILE);
        return m_file;
    }
    void TearDown() override {
        sys::Close(m_file);
        FileTest::TearDown();
    }

    FileHandle m_file = NO_FILE;
};

TEST_F(IoBlockTest, ReadsOfAnySizeGetExactlyTheFileThroughTheBlocksAhead) {
    std::mt19937 random(5);
    for (const size_t block : {size_t(1000), kDefaultIoBlockSize}) {
        SetIoBlockSize(block);
        const auto bytes = Bytes(3 * block + 17, unsigned(block));
        WriteFile(Path("r.bin"), bytes);
        InputFile file;
        ASSERT_TRUE(file.Open(Path("r.bin")));
        std::vector<uint8_t> got;
        for (;;) {
            // Mostly small reads, now and then one of a block or more.
            const size_t asked = random() % 8 ? random() % 5000 + 1 : block + random() % 3;
            std::vector<uint8_t> piece(asked);
            const int64_t n = file.Read(piece.data(), asked);
            ASSERT_GE(n, 0);
            ASSERT_LE(size_t(n), asked);
            if (n == 0) break;
            got.insert(got.end(), piece.begin(), piece.begin() + n);
        }
        EXPECT_EQ(got, bytes) << block;
    }
}

TEST_F(IoBlockTest, ReadsIntoTheReadAreaGetExactlyTheFileAndWriteNothingPastIt) {
    std::mt19937 random(6);
    for (const size_t block : {size_t(1000), kDefaultIoBlockSize}) {
        SetIoBlockSize(block);
        const auto bytes = Bytes(3 * block + 17, unsigned(block) + 1);
        WriteFile(Path("a.bin"), bytes);
        InputFile file;
        ASSERT_TRUE(file.Open(Path("a.bin")));
        // An area for all but the file's last bytes (it grew after the area
        // was sized), then memory that is not part of it.
        const size_t areaSize = bytes.size() - 500;
        std::vector<uint8_t> memory(areaSize + 64, 0xEE);
        file.SetReadArea(memory.data(), areaSize);
        std::vector<uint8_t> got;
        for (;;) {
            // Mostly in order into the area, as a load reads; now and then,
            // and past the area, into memory of the caller's elsewhere.
            const size_t done = got.size();
            const bool inArea = done < areaSize && random() % 4 != 0;
            const size_t asked = inArea ? std::min<size_t>(random() % 5000 + 1, areaSize - done)
                                        : random() % 5000 + 1;
            std::vector<uint8_t> elsewhere(asked);
            uint8_t* to = inArea ? &memory[done] : elsewhere.data();
            const int64_t n = file.Read(to, asked);
            ASSERT_GE(n, 0);
            if (n == 0) break;
            got.insert(got.end(), to, to + n);
        }
        EXPECT_EQ(got, bytes) << block;
        EXPECT_EQ(std::count(memory.begin() + areaSize, memory.end(), 0xEE), 64) << block;
    }
}

TEST_F(IoBlockTest, ALoadGetsTheFileAndSeesItShrinkPastTheBlockReadAhead) {
    const auto bytes = Bytes(2 * kMiB + 300, 4);
    WriteFile(Path("b.bin"), bytes);
    ASSERT_TRUE(view.LoadFile(Path("b.bin")));
    EXPECT_EQ(Image(), bytes);
#ifndef _WIN32  // Windows lets no other program write a file while it loads
    // Cut to half a block while the first block is being handed out.
    const int base = host.PumpCount();
    host.OnPump([&](int n) {
        if (n == base + 2) std::filesystem::resize_file(Path("b.bin"), kMiB / 2);
    });
    EXPECT_FALSE(view.LoadFile(Path("b.bin")));
    EXPECT_FALSE(view.HasBytes());
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{kReadFailed});
#endif
}

TEST_F(IoBlockTest, TheFileGetsExactlyTheBytesAddedInWholeGatherings) {
    std::mt19937 random(7);
    for (const size_t gathering : {size_t(1000), size_t(4096), kDefaultIoBlockSize}) {
        SetIoBlockSize(gathering);
        const std::string name = "g" + std::to_string(gathering);
        GatheredWrites writes(NewFile(name));
        std::vector<uint8_t> added;
        while (added.size() < 3 * gathering + 17) {
            const auto piece = Bytes(random() % (2 * gathering + 1), unsigned(added.size()));
            ASSERT_TRUE(writes.Append(piece.data(), piece.size()));
            added.insert(added.end(), piece.begin(), piece.end());
            EXPECT_EQ(writes.Added(), added.size());
            EXPECT_EQ(writes.Issued() % gathering, 0u);
            EXPECT_LT(added.size() - writes.Issued(), gathering) << "a full gathering is written";
#ifndef _WIN32  // Windows shares no file a save holds open
            EXPECT_EQ(ReadFile(Path(name)),
                      std::vector<uint8_t>(added.begin(), added.begin() + long(writes.Issued())));
#endif
        }
        ASSERT_TRUE(writes.Drain());
        EXPECT_EQ(writes.Issued(), added.size());
        sys::Close(m_file);
        EXPECT_EQ(ReadFile(Path(name)), added) << gathering;
    }
}

TEST_F(IoBlockTest, AFailedWriteIsReportedAndCountsAsIssued) {
    SetIoBlockSize(100);
    GatheredWrites writes(NewFile("f.bin"));
    const auto bytes = Bytes(150);
    ASSERT_TRUE(writes.Append(bytes.data(), 50));
    sys::Close(m_file);  // every write from now on fails
    EXPECT_TRUE(writes.Append(bytes.data(), 40)) << "still gathered";
    EXPECT_FALSE(writes.Append(bytes.data(), 60));
    EXPECT_EQ(writes.Issued(), 100u) << "the failed write may have changed the file";
    ASSERT_TRUE(writes.Append(bytes.data(), 10));
    EXPECT_FALSE(writes.Drain());
    EXPECT_EQ(writes.Issued(), 110u);
}

TEST_F(IoBlockTest, ASaveStoppedWithBytesWrittenAndGatheredLeavesTheOldFile) {
    struct Sizes {
        size_t old;
        size_t image;
    };
    int failures = 0;
    // Each over several gatherings, growing and shrinking.
    for (const Sizes s :
         {Sizes{2 * kMiB + 300, 3 * kMiB + 5000}, Sizes{3 * kMiB + 5000, 2 * kMiB + 300}}) {
#ifdef _WIN32
        const bool inPlaceKinds[] = {false};
#else
        const bool inPlaceKinds[] = {false, true};  // a second name makes it write in place
#endif
        for (const bool inPlace : inPlaceKinds) {
            const auto old = Bytes(s.old, 1);
            const auto image = Bytes(s.image, 2);
            const int backupPumps = inPlace ? Chunks(s.old) : 0;
            const int writePumps = Chunks(s.image) - 1;
            const auto prepare = [&] {
                std::filesystem::remove(Path("a.bin"));
                std::filesystem::remove(Path("b.bin"));
                WriteFile(Path("a.bin"), old);
                if (inPlace) std::filesystem::create_hard_link(Path("a.bin"), Path("b.bin"));
                SetImage(image);
            };
            const std::set<std::string> names =
                inPlace ? std::set<std::string>{"a.bin", "b.bin"} : std::set<std::string>{"a.bin"};

            // ESC before and after the first gathering reached the file,
            // and at the last chunk, with the rest still gathered.
            for (int k : {1, backupPumps + 1, backupPumps + kChunksPerBlock + 3,
                          backupPumps + writePumps}) {
                const std::string context = std::to_string(s.old) + (inPlace ? " in place" : "") +
                                            ", ESC at " + std::to_string(k);
                prepare();
                const int base = host.PumpCount();
                bool writtenWhenStopped = false;
                host.OnPump([&](int n) {
                    if (n != base + k) return;
                    // The old bytes, whatever length the file has by now.
                    auto now = ReadFile(Path("a.bin"));
                    now.resize(old.size());
                    writtenWhenStopped = now != old;
                    view.LeaveAllModes();  // what ESC does
                });
                EXPECT_FALSE(view.SaveToFile(Path("a.bin"))) << context;
                host.OnPump(nullptr);
#ifndef _WIN32  // Windows lets no other program read a file while it is saved
                EXPECT_EQ(writtenWhenStopped, inPlace && k > backupPumps + kChunksPerBlock)
                    << context;
#endif
                EXPECT_EQ(ReadFile(Path("a.bin")), old) << context;
                EXPECT_EQ(Names(dir), names) << context;
            }

            // A write failing when a gathering goes out, and the flush failing.
            for (int k : {kChunksPerBlock, 2 * kChunksPerBlock + 1, Chunks(s.image) + 1}) {
                const std::string context = std::to_string(s.old) + (inPlace ? " in place" : "") +
                                            ", failure at " + std::to_string(k);
                prepare();
                InjectWriteFailure(k);
                EXPECT_FALSE(view.SaveToFile(Path("a.bin"))) << context;
                ++failures;
                EXPECT_EQ(ReadFile(Path("a.bin")), old) << context;
                EXPECT_EQ(Names(dir), names) << context;
            }

            prepare();
            ASSERT_TRUE(view.SaveToFile(Path("a.bin")));
            EXPECT_EQ(ReadFile(Path("a.bin")), image);
            if (inPlace) {
                EXPECT_EQ(ReadFile(Path("b.bin")), image);
            }
            EXPECT_EQ(Names(dir), names);
        }
    }
    EXPECT_EQ(MessageTexts(), std::vector<std::string>(size_t(failures), kWriteFailed));
}
