// Undo and redo, driven by keys as a user presses them: what one step is,
// what each restores, what refuses them, what clears the history, its bound
// and its failures to get memory.
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <set>

#include "FileFixture.h"
#include "InteractFixture.h"
#include "document/EditHistory.h"
#include "rules/CommandIds.h"

using namespace platform;

namespace {

/// The image and the selection and caret, compared as one value.
struct Snapshot {
    bool image;
    std::vector<uint8_t> bytes;
    SelectionState sel;
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Snapshot& s) {
        return os << (s.image ? "" : "no image, ") << s.bytes.size() << " bytes, " << s.sel;
    }
};

}  // namespace

class UndoTest : public InteractTest {
protected:
    Snapshot Now() const { return {view.m_pData != nullptr, Image(), Sel()}; }
    void Undo() { host.PressCtrl('z'); }
    void Redo() { host.PressCtrl('y'); }
    void RedoWithShift() {
        host.KeyDown(vk::Shift);
        host.PressCtrl('z');
        host.KeyUp(vk::Shift);
    }
};

TEST_F(UndoTest, EachEditIsOneStepThatUndoAndRedoRestoreWithItsSelection) {
    SetImage(Iota(64));
    // What each edit found and left: undo goes back to the one, redo on to
    // the other.
    std::vector<std::pair<Snapshot, Snapshot>> steps;
    auto edit = [&](const std::function<void()>& act) {
        const Snapshot before = Now();
        act();
        steps.emplace_back(before, Now());
    };
    // A typed run of four bytes, in overwrite mode; a command ends a run.
    SelectHex(4, 11);
    edit([&] { host.TypeText("DEADBEEF"); });
    host.PressCtrl('c');
    edit([&] { host.TypeText("0102"); });
    // Characters in insert mode.
    host.PressKey(vk::Insert);
    Click(CharPoint(20));
    edit([&] { host.TypeText("xyz"); });
    // A bit edit, a deletion and both pastes.
    Click(HexPoint(30));
    Command(ID_EDIT_BITS);
    host.TypeText("10100101");
    edit([&] { host.PressKey(vk::Return); });
    SelectHex(40, 45);
    edit([&] { host.PressKey(vk::Delete); });
    host.Clipboard() = "0A0B0C";
    edit([&] { Command(ID_INSERT_FROM_CLIPBOARD); });
    host.Clipboard() = "FFEE";
    edit([&] { Command(ID_OVERWRITE_FROM_CLIPBOARD); });
    ASSERT_EQ(view.m_history.StepCount(), steps.size());

    for (size_t i = steps.size(); i-- > 0;) {
        Undo();
        ASSERT_EQ(Now(), steps[i].first) << "undo of step " << i;
    }
    Undo();
    EXPECT_EQ(Now(), steps.front().first) << "nothing left to undo";
    for (size_t i = 0; i < steps.size(); ++i) {
        if (i % 2) Redo();
        else RedoWithShift();
        ASSERT_EQ(Now(), steps[i].second) << "redo of step " << i;
    }
    Redo();
    EXPECT_EQ(Now(), steps.back().second) << "nothing left to redo";

    // A new edit after undoing drops what could have been redone.
    Undo();
    Undo();
    Click(HexPoint(2));
    host.TypeText("ff");
    const Snapshot edited = Now();
    Redo();
    EXPECT_EQ(Now(), edited);
    Undo();
    EXPECT_EQ(Image(), steps[steps.size() - 3].second.bytes);
    EXPECT_TRUE(host.MessageBoxes().empty());
}

TEST_F(UndoTest, UndoDropsAPendingDigitRecalculatesAndScrollsTheSelectionIntoView) {
    SetImage(Iota(16 * 500));
    view.ScrollToRow(10);
    SelectHex(16 * 10, 16 * 12 - 1);
    host.PressKey(vk::Delete);
    EXPECT_EQ(RangeMax(), 500 - 2 - view.m_nPageRows / 2);
    view.ScrollToRow(400);
    host.TypeChar('4');  // outside the selection's rows: pending only
    ASSERT_NE(view.m_chPendingDigit, 0);
    Undo();
    EXPECT_EQ(Image(), Iota(16 * 500));
    EXPECT_EQ(Sel(), (SelectionState{160, 191, 160}));
    EXPECT_EQ(view.m_chPendingDigit, 0);
    EXPECT_EQ(RangeMax(), 500 - view.m_nPageRows / 2);
    EXPECT_EQ(view.ScrollPos(), 10) << "the selection's row at the top";
    // A selection in view stays where it is shown.
    view.ScrollToRow(8);
    Redo();
    EXPECT_EQ(view.ScrollPos(), 8);
}

TEST_F(UndoTest, RefusedWhileTheImageMayNotChangeAndWithNothingToTake) {
    SetImage(Iota(64));
    Undo();
    Redo();
    EXPECT_EQ(Now(), (Snapshot{true, Iota(64), {0, 0, 0}}));
    SelectHex(0, 3);
    host.TypeText("aabb");
    const Snapshot typed = Now();

    Command(ID_EDIT_BITS);
    Undo();
    EXPECT_EQ(Now(), typed) << "in bit edit";
    EXPECT_TRUE(view.m_bBitEdit);
    host.PressKey(vk::Escape);
    Command(ID_SEARCH_HEX);
    Undo();
    EXPECT_EQ(Now(), typed) << "with the panel shown";
    host.PressKey(vk::Escape);
    // In a search's pumps.
    SetImage(std::vector<uint8_t>(4 << 20, 1));
    SelectHex(0, 1);
    host.TypeText("0203");
    const Snapshot searched = Now();
    host.OnPump([&](int) { host.PressCtrl('z'); });
    Command(ID_SEARCH_HEX);
    host.TypeText("77");
    host.PressKey(vk::Return);
    host.OnPump(nullptr);
    EXPECT_EQ(Now().bytes, searched.bytes) << "during a search";
    host.PressKey(vk::Escape);
    Undo();
    EXPECT_EQ(Image(), std::vector<uint8_t>(4 << 20, 1));
    EXPECT_TRUE(host.MessageBoxes().empty());
}

TEST_F(UndoTest, TheBoundDropsTheOldestStepsAndAStepAboveItClearsTheHistory) {
    SetImage(Iota(200));
    view.m_history.SetLimit(100);
    for (uint32_t at : {0u, 40u, 80u}) {
        SelectHex(at, at + 39);
        host.PressKey(vk::Delete);  // keeps the 40 bytes removed
    }
    const std::vector<uint8_t> afterAll = Image();
    Undo();
    Undo();
    Undo();
    std::vector<uint8_t> firstOnly = Iota(200);
    firstOnly.erase(firstOnly.begin(), firstOnly.begin() + 40);
    EXPECT_EQ(Image(), firstOnly) << "the oldest step went";
    Redo();
    Redo();
    EXPECT_EQ(Image(), afterAll);

    // Inserted bytes are in the image: their step keeps none.
    SelectHex(0, 0);
    host.PressKey(vk::Insert);
    host.TypeText("abcd");
    EXPECT_EQ(view.m_history.StepCount(), 3u);
    EXPECT_EQ(view.m_history.KeptBytes(), 80u);
    // A step above the bound: the edit happens, and no step is kept.
    view.m_history.SetLimit(10);
    SelectHex(0, 25);
    host.PressKey(vk::Delete);
    EXPECT_EQ(view.m_nFileSize, afterAll.size() + 2 - 26) << "the edit happened";
    EXPECT_FALSE(view.m_history.CanUndo());
    EXPECT_EQ(view.m_history.KeptBytes(), 0u);
    EXPECT_TRUE(host.MessageBoxes().empty());
}

TEST_F(UndoTest, WithoutMemoryAnEditStillHappensAndAnUndoChangesNothingButSaysSo) {
    SetImage(Iota(64));
    // No memory for the record: the edit, and no history.
    SelectHex(0, 3);
    host.Allocator().FailTemporary(1);
    host.PressKey(vk::Delete);
    EXPECT_EQ(view.m_nFileSize, 60u);
    EXPECT_FALSE(view.m_history.CanUndo());

    // An undo that must grow the image, and one that must keep the bytes
    // of an insertion: nothing changes, and both can be tried again.
    SelectHex(10, 13);
    host.PressKey(vk::Delete);
    host.Clipboard() = "0A0B";
    Command(ID_INSERT_FROM_CLIPBOARD);
    const Snapshot edited = Now();
    host.Allocator().FailTemporary(1);
    Undo();
    EXPECT_EQ(Now(), edited);
    Undo();
    const Snapshot pastedBack = Now();
    host.Allocator().FailCall(1);
    Undo();
    EXPECT_EQ(Now(), pastedBack);
    const std::string message = "Memory Reallocation Failed, the file in memory was not changed.";
    EXPECT_EQ(host.MessageBoxes().size(), 2u);
    for (const auto& box : host.MessageBoxes()) EXPECT_EQ(box.text, message);
    Undo();
    std::vector<uint8_t> first = Iota(64);
    first.erase(first.begin(), first.begin() + 4);
    EXPECT_EQ(Image(), first);
}

class UndoFileTest : public FileTest {};

TEST_F(UndoFileTest, TheHistoryLivesWithTheImageAndOutlastsASave) {
    const auto old = Bytes(300);
    WriteFile(Path("a.bin"), old);
    ASSERT_TRUE(view.LoadFile(Path("a.bin")));
    // Every byte deleted: the welcome screen, with nothing selected.
    view.m_nSelEnd = view.m_nFileSize - 1;
    host.PressKey(vk::Delete);
    host.RunUntilIdle();
    EXPECT_EQ(view.m_pData, nullptr);
    EXPECT_EQ(host.GetMainCaption(), "Bytewren");
    host.PressCtrl('z');
    EXPECT_EQ(Image(), old);
    EXPECT_EQ(host.GetMainCaption(), "Bytewren - a.bin");
    EXPECT_EQ(view.m_nSelEnd, 299u);

    // Saved, then undone and saved again: the file is the original.
    FlipBits(view, 7, 0xFF);
    ASSERT_TRUE(view.SaveToFile(Path("a.bin")));
    host.PressCtrl('z');
    EXPECT_EQ(Image(), old);
    ASSERT_TRUE(view.SaveToFile(Path("a.bin")));
    EXPECT_EQ(ReadFile(Path("a.bin")), old);

    // A load, New and Reload each start afresh.
    auto clears = [&](const char* what, const std::function<void()>& act) {
        FlipBits(view, 0, 1);
        act();
        const auto before = Image();
        host.PressCtrl('z');
        EXPECT_EQ(Image(), before) << what;
        EXPECT_FALSE(view.m_history.CanRedo()) << what;
    };
    clears("load", [&] { ASSERT_TRUE(view.LoadFile(Path("a.bin"))); });
    clears("reload", [&] { ASSERT_TRUE(view.OnFileReload()); });
    clears("new", [&] { view.OnFileNew(); });
    EXPECT_TRUE(host.MessageBoxes().empty());
}

#ifndef _WIN32
// Every change of the image's bytes is an edit of document/, where each is
// recorded: the record's m_pData is read-only, and only document/ calls the
// image's edits.
TEST(ImageWriters, OnlyTheDocumentChangesTheImage) {
    const std::regex edit(
        R"(m_image\s*\.\s*(Insert|Overwrite|Exchange|Erase|Fill|Allocate|Release)\b)");
    std::vector<std::string> found;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(BYTEWREN_SOURCE_DIR "/src")) {
        const std::string path = entry.path().generic_string();
        if (!entry.is_regular_file() || path.find("/src/document/") != std::string::npos) continue;
        std::ifstream in(path);
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        if (std::regex_search(text, edit)) found.push_back(path);
    }
    EXPECT_EQ(found, std::vector<std::string>{});
    static_assert(std::is_same_v<decltype(CHexView::m_pData), const uint8_t* const&>);
}
#endif

namespace {

/// Memory that knows every block it gave and is still owed.
class TrackedMemory : public std::pmr::memory_resource {
public:
    std::set<void*> live;
    int foreign = 0;  // blocks handed back that it never gave

private:
    void* do_allocate(size_t bytes, size_t align) override {
        void* p = std::pmr::new_delete_resource()->allocate(bytes, align);
        live.insert(p);
        return p;
    }
    void do_deallocate(void* p, size_t bytes, size_t align) override {
        if (live.erase(p) == 0) {
            ++foreign;
            return;  // not ours to free: leaked rather than freed twice
        }
        std::pmr::new_delete_resource()->deallocate(p, bytes, align);
    }
    bool do_is_equal(const memory_resource& other) const noexcept override {
        return this == &other;
    }
};

}  // namespace

// The history keeps its steps, not only their bytes, in the memory it is
// given, and gives back to each memory only what came from it.
TEST(EditHistoryMemory, StepsLiveInTheMemoryGivenAndReturnToIt) {
    TrackedMemory first, second;
    ByteImage image(DefaultAllocator());
    ASSERT_TRUE(image.Allocate(64));
    {
        EditHistory history;
        for (TrackedMemory* memory : {&first, &second}) {
            history.SetMemory(*memory);
            const size_t before = memory->live.size();
            for (uint32_t i = 0; i < 64; ++i) {
                history.Begin(EditHistory::Kind::Other, {i, i + 1, i});
                history.WillOverwrite(image, i, 1, {i, i + 1, i});
                history.Seal({i, i + 1, i});
            }
            ASSERT_EQ(history.StepCount(), 64u);
            // One block of bytes per step, and the deque's own blocks.
            EXPECT_GT(memory->live.size(), before + 64);
        }
        EXPECT_TRUE(first.live.empty());
    }
    EXPECT_TRUE(second.live.empty());
    EXPECT_EQ(first.foreign + second.foreign, 0);
}
