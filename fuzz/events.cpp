// Sequences of user actions on the main window and its view, decoded from
// the fuzz input and delivered through the headless host's messages: keys,
// typed characters, clicks, drags, the wheel, context-menu and raw commands,
// clipboard contents, the File commands on real files in a temporary folder
// with scripted dialogs and message boxes, allocation, read, write and backup
// failures armed for one step, and actions delivered inside the pumps of a
// load, a save or a search. After every step the view must agree with a
// plain model of the rules (tests/model/ViewModel.h), and a save must leave
// its file either as it was or holding exactly the image.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "FuzzInput.h"
#include "app/MainDlg.h"
#include "app/Resources.h"
#include "hosts/headless/FileFaults.h"
#include "model/ViewModel.h"
#include "platform/Message.h"

using namespace platform;
using namespace headless;
using model::Model;
using Pointer = model::Model::Pointer;

namespace {

namespace fs = std::filesystem;

/// The files a session works on: "b.link" is a second name of "b", so saving
/// either of them overwrites the file in place after a backup; "big" takes
/// several chunks, so loading and saving it pump messages; "dir" is a
/// folder and "missing" does not exist.
const char* const kNames[] = {"a", "b", "b.link", "big", "new", "dir", "missing", "missing/x"};
constexpr int kNameCount = sizeof kNames / sizeof *kNames;

const unsigned kKeys[] = {vk::Left,   vk::Up,   vk::Right, vk::Down,   vk::Insert,
                          vk::Delete, vk::Back, vk::Tab,   vk::Escape, vk::Return,
                          vk::F3,     vk::F5,   vk::F6};
const char kTyped[] = "0123456789abcdefABCDEF 01xG~z";

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "\n==== rule broken: %s\n", what.c_str());
    std::abort();
}

/// The session's folder, made once per process, in memory where possible
/// (saves flush their files to disk).
const std::string& Folder() {
    static const std::string* folder = [] {
        std::error_code error;
        const fs::path base =
            fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
        auto* made = new std::string((base / "bytewren-fuzz-XXXXXX").string());
        if (::mkdtemp(made->data()) == nullptr) Fail("no temporary folder");
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(*folder, ignored);
        });
        return made;
    }();
    return *folder;
}

std::string PathOf(const std::string& name) { return Folder() + "/" + name; }

/// A regular file's bytes, or none.
std::optional<std::vector<uint8_t>> ReadFile(const std::string& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

/// A point to press, move to or click on, and the byte it was placed on.
struct Aim {
    Point point;
    std::optional<uint32_t> offset;  // set when placed on a byte cell below the header
    bool chars = false;
};

class Session {
public:
    explicit Session(FuzzInput& input) : in(input) {}

    void Run() {
        MakeFiles();
        // The first file is opened from the File menu.
        const std::string first = PathOf(kNames[in.Range(0, 3)]);
        if (!host.OpenDialog(dlg)) Fail("the main window did not open");
        host.QueueFileDialogAnswer(first);
        host.ChooseMenuCommand(IDM_FILE_OPEN);
        m.Load(first, ReadFile(first), 0);
        Check("start");

        for (step = 1; step <= 120 && !in.Empty(); ++step) Step();
        InjectReadFailure(0);
        InjectWriteFailure(0);
        InjectBackupFailure(0);
    }

private:
    void MakeFiles() {
        std::error_code ignored;
        for (const auto& entry : fs::directory_iterator(Folder()))
            fs::remove_all(entry.path(), ignored);
        WriteFile(PathOf("a"), in.Bytes(48));
        WriteFile(PathOf("b"), in.Bytes(40));
        fs::create_hard_link(PathOf("b"), PathOf("b.link"), ignored);
        std::vector<uint8_t> big(2 * CHexView::CHUNK_SIZE + in.Byte() * 29);
        uint32_t x = in.Byte() | 1;
        for (auto& byte : big) byte = uint8_t((x = x * 1103515245u + 12345u) >> 24);
        WriteFile(PathOf("big"), big);
        fs::create_directory(PathOf("dir"), ignored);
    }

    // ---- Checks ---------------------------------------------------------------

    void Check(const std::string& what) {
        const std::string where = "step " + std::to_string(step) + " (" + what + ")";
        if (const std::string broken = model::WellFormed(view); !broken.empty())
            Fail(where + ": " + broken);
        const std::string difference = model::Difference(m.s, model::Observe(view, host));
        if (!difference.empty()) Fail(where + ", view and model differ:\n" + difference);
    }

    // ---- Points ---------------------------------------------------------------

    Aim TakeAim() {
        Aim aim;
        const int kind = in.Range(0, 3);
        if (kind <= 1) {
            const uint32_t offset = in.Range<uint32_t>(0, uint32_t(m.s.bytes.size()) + 3);
            aim.chars = kind == 1;
            aim.point = aim.chars ? model::CharPoint(view, offset) : model::HexPoint(view, offset);
            // A point that a pointer message cannot carry (a row too far
            // down) arrives cut off, so it aims at no byte.
            const bool deliverable = PointFromLParam(LParamFromPoint(aim.point)) == aim.point;
            if (aim.point.y >= view.m_nCellWidth && deliverable) aim.offset = offset;
        } else if (kind == 2) {
            aim.point = {in.Range(-4, 820), in.Range(-4, 620)};
        } else {
            aim.point = {2 * view.m_nCellWidth, view.m_nCellWidth + 3};  // the offset column
        }
        return aim;
    }

    void PointerMessage(Pointer kind, const Aim& aim) {
        const int32_t anchor = view.m_nDragAnchor;
        switch (kind) {
            case Pointer::Press: host.LButtonDown(aim.point); break;
            case Pointer::Move: host.MoveMouse(aim.point); break;
            case Pointer::Release: host.LButtonUp(aim.point); break;
            case Pointer::Wheel: host.Wheel(in.Bool() ? WHEEL_NOTCH : -WHEEL_NOTCH); break;
        }
        const std::string broken = m.TakePointer(kind, view, anchor, aim.offset, aim.chars);
        if (!broken.empty()) Fail("step " + std::to_string(step) + ": " + broken);
    }

    // ---- Failures armed for one step -------------------------------------------

    struct Armed {
        bool allocation = false;
        int read = 0, write = 0, backup = 0;
        bool Any() const { return allocation || read || write || backup; }
    };

    void Arm(const Armed& a) {
        if (a.allocation) host.Allocator().FailCall(1);
        m.failAllocation = a.allocation;
        InjectReadFailure(a.read);
        InjectWriteFailure(a.write);
        InjectBackupFailure(a.backup);
    }

    void Disarm() {
        host.Allocator().FailCall(0);
        m.failAllocation = false;
        InjectReadFailure(0);
        InjectWriteFailure(0);
        InjectBackupFailure(0);
    }

    // ---- Actions inside a pump ---------------------------------------------------

    /// Actions to deliver at the n-th pump of the next step's load, save or
    /// search; they are decoded now and performed then.
    void ArmPumpActions() {
        const int at = in.Range(1, 3);
        std::vector<std::pair<int, uint8_t>> actions;
        for (int n = in.Range(1, 4); n > 0; --n) {
            actions.emplace_back(in.Range(0, 8), in.Byte());
        }
        host.OnPump([this, at, actions](int count) {
            if (pumped || count != pumpBase + at) return;
            pumped = true;
            for (const auto& [kind, value] : actions) PumpAction(kind, value);
        });
    }

    /// One action while an operation runs: the rules only say that it may not
    /// change the image under a save or a search, and what it may cancel.
    void PumpAction(int kind, uint8_t value) {
        const bool saving = view.m_bSaving;
        switch (kind) {
            case 0: host.PressKey(kKeys[value % std::size(kKeys)]); break;
            case 1: host.TypeChar(kTyped[value % (sizeof kTyped - 1)]); break;
            case 2: host.PressCtrl("cvfzy"[value % 5]); break;
            case 3: {
                const Point p = model::HexPoint(view, value % (view.m_nFileSize + 1));
                host.MoveMouse(p);
                host.Click(p);
                break;
            }
            case 4: host.Wheel(value % 2 ? WHEEL_NOTCH : -WHEEL_NOTCH); break;
            case 5: {
                const bool offered = !view.IsLoadingOrSaving() && view.m_pData != nullptr;
                const int shown = host.PopupMenusShown();
                if (offered) host.QueuePopupChoice(ID_COPY_HEX_STRING + value % 15);
                host.RightClick(model::HexPoint(view, 0));
                if ((host.PopupMenusShown() != shown) != offered) Fail("the context menu's gate");
                break;
            }
            case 6:
                host.PostViewMessage(msg::Command, ID_COPY_HEX_STRING + value % 15, 0);
                host.RunUntilIdle();
                break;
            case 7: {
                static const unsigned menu[] = {IDM_FILE_OPEN, IDM_FILE_SAVE, IDM_FILE_SAVEAS,
                                                IDM_FILE_RELOAD, IDM_FILE_NEW};
                const size_t dialogs = host.FileDialogs().size();
                host.ChooseMenuCommand(menu[value % 5]);
                if (host.FileDialogs().size() != dialogs) Fail("a file dialog opened while busy");
                break;
            }
            default: host.DropFiles({PathOf("a")}); break;
        }
        if (!loading && model::Observe(view, host).bytes != m.s.bytes) {
            Fail("step " + std::to_string(step) + ": the image changed while it was " +
                 (saving ? "being saved" : "searched"));
        }
    }

    // ---- File commands -------------------------------------------------------------

    /// Queues the file dialog's answer when the model expects the dialog.
    std::string DialogAnswer(bool expected) {
        const int pick = in.Range(0, kNameCount);
        const std::string path = pick == kNameCount ? "" : PathOf(kNames[pick]);
        if (expected) host.QueueFileDialogAnswer(path.empty() ? std::nullopt : std::optional(path));
        return path;
    }

    void Load(const std::string& path, int readFailsAt) {
        const auto bytes = ReadFile(path);
        loadedBytes = bytes;
        m.Load(path, bytes, readFailsAt);
    }

    /// What a save must leave: the file as it was, or exactly the image; a
    /// failure is reported and a success is not; no temporary file is left.
    void CheckSave(const std::string& path, const std::optional<std::vector<uint8_t>>& before,
                   size_t boxesBefore, bool mayFail) {
        const auto after = ReadFile(path);
        const std::vector<uint8_t>& image = m.s.bytes;
        bool reported = false, restoreFailed = false;
        const auto& boxes = host.MessageBoxes();
        for (size_t i = boxesBefore; i < boxes.size(); ++i) {
            if (boxes[i].text == model::kOverwriteQuestion ||
                boxes[i].text.rfind(model::kInterruptedSavePrefix, 0) == 0) {
                continue;
            }
            reported = true;
            restoreFailed |= boxes[i].text.rfind("Could not put the old contents back", 0) == 0;
        }
        const std::string where = "step " + std::to_string(step) + " (save to " + path + "): ";
        if (after && *after == image) {
            if (reported && before != after)
                Fail(where + "a save that completed was reported as failed");
        } else if (after == before) {
            if (!reported && !pumped) Fail(where + "a save that did not complete said nothing");
            if (!mayFail && !pumped) Fail(where + "a save failed without a cause");
        } else if (!restoreFailed) {
            Fail(where + "the file is neither what it was nor the image");
        }
        if (path == PathOf("b") || path == PathOf("b.link")) {
            if (ReadFile(PathOf("b")) != ReadFile(PathOf("b.link")))
                Fail(where + "the file lost its link");
        }
        for (const auto& entry : fs::directory_iterator(Folder())) {
            const std::string name = entry.path().filename().string();
            const bool known =
                std::find_if(std::begin(kNames), std::end(kNames),
                             [&](const char* n) { return name == n; }) != std::end(kNames);
            if (!known && !(restoreFailed && name.find(".bytewren-backup") != std::string::npos)) {
                Fail(where + "left " + name + " behind");
            }
        }
        m.s.messages = model::Observe(view, host).messages;
    }

    /// A save that the model expects to be attempted. It must complete
    /// unless a failure was armed, actions ran in its pumps or the path
    /// cannot be written (a folder, or in a missing folder).
    void SaveTo(const std::string& path, size_t boxesBefore, bool failureArmed,
                const std::function<void()>& perform) {
        const auto before = ReadFile(path);
        perform();
        std::error_code error;
        const bool writable =
            !fs::is_directory(path, error) && fs::is_directory(fs::path(path).parent_path(), error);
        CheckSave(path, before, boxesBefore, failureArmed || !writable);
    }

    // ---- One step -----------------------------------------------------------------

    void Step() {
        Armed armed;
        pumped = false;
        pumpBase = host.PumpCount();
        // Modifiers for the step that follows them.
        while (!in.Empty() && in.Range(0, 9) == 0) {
            switch (in.Range(0, 4)) {
                case 0: armed.allocation = true; break;
                case 1: armed.read = in.Range(1, 4); break;
                case 2: armed.write = in.Range(1, 6); break;
                case 3: armed.backup = in.Range(1, 3); break;
                default: ArmPumpActions(); break;
            }
        }
        Arm(armed);
        loadedBytes.reset();
        const std::string what = Act(armed);
        host.OnPump(nullptr);
        Disarm();
        if (pumped) TakeWhatPumpedActionsDid(what);
        if (trace)
            std::fprintf(stderr, "step %d: %s%s\n", step, what.c_str(),
                         pumped ? " (actions in a pump)" : "");
        Check(what);
    }

    /// After actions ran inside a pump, the model cannot say where the
    /// selection and modes ended; it checks the image and takes the rest.
    void TakeWhatPumpedActionsDid(const std::string& what) {
        const model::State got = model::Observe(view, host);
        const std::string where =
            "step " + std::to_string(step) + " (" + what + " with actions in a pump): ";
        if (loading) {
            if (got.image && (!loadedBytes || got.bytes != *loadedBytes))
                Fail(where + "the image is not the file");
        } else if (got.bytes != m.s.bytes || got.image != m.s.image) {
            Fail(where + "the image changed");
        }
        m.s = got;
    }

    std::string Act(const Armed& armed) {
        loading = false;
        switch (in.Range(0, 21)) {
            case 0: {
                const char ch =
                    in.Bool() ? kTyped[in.Range<size_t>(0, sizeof kTyped - 2)] : char(in.Byte());
                host.TypeChar(ch);
                m.Char(static_cast<unsigned char>(ch));
                return "type " + model::Quoted(std::string(1, ch));
            }
            case 1: {
                const std::string text = in.Text(12);
                for (char ch : text) {
                    host.TypeChar(ch);
                    m.Char(static_cast<unsigned char>(ch));
                }
                return "type " + model::Quoted(text);
            }
            case 2:
            case 3: {
                const unsigned key = kKeys[in.Range<size_t>(0, std::size(kKeys) - 1)];
                host.PressKey(key);
                switch (key) {
                    case vk::Escape: m.Escape(); break;
                    case vk::Return: m.Enter(); break;
                    case vk::Back: m.Backspace(); break;
                    case vk::Insert: m.ToggleInsert(); break;
                    case vk::Delete: m.DeleteKey(); break;
                    case vk::F3: m.FindNext(); break;
                    case vk::F5: m.Columns(-1); break;
                    case vk::F6: m.Columns(+1); break;
                    case vk::Tab: m.Seal(); break;  // its character ends a typed run
                    default: m.Arrow(key); break;
                }
                return "key " + std::to_string(key);
            }
            case 4: {
                const char letter = "cvf"[in.Range(0, 2)];
                host.PressCtrl(letter);
                m.Char(unsigned(letter - 'a' + 1));
                return std::string("ctrl+") + letter;
            }
            case 5: {
                const Aim aim = TakeAim();
                PointerMessage(Pointer::Move, aim);
                PointerMessage(Pointer::Press, aim);
                PointerMessage(Pointer::Release, aim);
                return "click";
            }
            case 6: {
                const Aim from = TakeAim();
                PointerMessage(Pointer::Press, from);
                PointerMessage(Pointer::Move, TakeAim());
                if (in.Bool()) PointerMessage(Pointer::Wheel, from);
                PointerMessage(Pointer::Release, TakeAim());
                return "drag";
            }
            case 7: {
                const int kind = in.Range(0, 3);
                PointerMessage(Pointer(kind), TakeAim());
                return "pointer " + std::to_string(kind);
            }
            case 8: {
                m.Seal();
                const unsigned id = in.Range<unsigned>(ID_COPY_HEX_STRING, ID_COPY_HEX_BLOCK);
                const bool offered = m.s.image;
                const int shown = host.PopupMenusShown();
                if (offered) host.QueuePopupChoice(id);
                host.RightClick(TakeAim().point);
                if ((host.PopupMenusShown() != shown) != offered) Fail("the context menu's gate");
                if (offered) m.Command(id);
                return "menu " + std::to_string(id);
            }
            case 9: {
                const unsigned id = in.Range<unsigned>(ID_COPY_HEX_STRING, ID_COPY_HEX_BLOCK);
                host.PostViewMessage(msg::Command, id, 0);
                host.RunUntilIdle();
                m.Command(id);
                return "command " + std::to_string(id);
            }
            case 10: {
                if (in.Range(0, 7) == 0) {
                    host.Clipboard().reset();
                } else {
                    host.Clipboard() = in.Text(40);
                }
                m.s.clipboard = host.Clipboard();
                return "clipboard " + (m.s.clipboard ? model::Quoted(*m.s.clipboard) : "none");
            }
            case 11:
                m.clipboardOpen = !m.clipboardOpen;
                host.SetClipboardAvailable(m.clipboardOpen);
                return "clipboard available";
            case 12: {
                m.Seal();
                const bool shown = !m.s.panel;
                const std::string path = DialogAnswer(shown);
                loading = true;
                const size_t dialogs = host.FileDialogs().size();
                host.ChooseMenuCommand(IDM_FILE_OPEN);
                if (host.FileDialogs().size() - dialogs != size_t(shown))
                    Fail("the Open dialog's gate");
                if (shown && !path.empty()) Load(path, armed.read);
                return "open " + path;
            }
            case 13: {
                m.Seal();
                const bool allowed = m.HasBytes() && !m.s.panel;
                const size_t boxes = host.MessageBoxes().size();
                if (allowed && !m.s.path.empty()) {
                    const std::string path = m.s.path;
                    m.s.messages.push_back(model::kOverwriteQuestion);
                    if (!in.Bool()) {
                        const auto before = ReadFile(path);
                        host.QueueMessageBoxAnswer(mb::IdNo);
                        host.ChooseMenuCommand(IDM_FILE_SAVE);
                        if (ReadFile(path) != before) Fail("a save answered no wrote the file");
                        return "save " + path + ", answered no";
                    }
                    host.QueueMessageBoxAnswer(mb::IdYes);
                    SaveTo(path, boxes, armed.Any(),
                           [&] { host.ChooseMenuCommand(IDM_FILE_SAVE); });
                    return "save " + path;
                }
                return SaveAs(IDM_FILE_SAVE, allowed, armed.Any());
            }
            case 14:
                m.Seal();
                return SaveAs(IDM_FILE_SAVEAS, m.HasBytes() && !m.s.panel, armed.Any());
            case 15: {
                m.Seal();
                loading = true;
                host.ChooseMenuCommand(IDM_FILE_RELOAD);
                if (!m.s.panel && !m.s.path.empty()) Load(m.s.path, armed.read);
                return "reload";
            }
            case 16:
                host.ChooseMenuCommand(IDM_FILE_NEW);
                if (!m.s.panel) m.New();
                return "new";
            case 17: {
                m.Seal();
                const std::string path = PathOf(kNames[in.Range(0, kNameCount - 1)]);
                loading = true;
                host.DropFiles({path, PathOf("a")});
                if (!m.s.panel) Load(path, armed.read);
                return "drop " + path;
            }
            case 18: {
                static const unsigned view[] = {IDM_VIEW_INCREASECOLUMN, IDM_VIEW_DECREASECOLUMN,
                                                IDM_VIEW_FADE_NORMAL,    IDM_VIEW_FADE_LESS,
                                                IDM_VIEW_FADE_NONE,      IDM_HELP_ABOUT};
                const unsigned id = view[in.Range(0, 5)];
                m.Seal();
                host.ChooseMenuCommand(id);
                if (id == IDM_VIEW_INCREASECOLUMN) m.Columns(+1);
                if (id == IDM_VIEW_DECREASECOLUMN) m.Columns(-1);
                return "menu " + std::to_string(id);
            }
            case 19: {
                m.Seal();
                static const unsigned codes[] = {sb::LineUp, sb::LineDown, sb::PageUp,
                                                 sb::PageDown};
                if (in.Bool()) host.DragThumb(in.Range(-2, 40));
                else host.ScrollBarAction(codes[in.Range(0, 3)]);
                return "scroll";
            }
            case 20: host.ResizeMainWindow(in.Range(1, 700), in.Range(1, 300)); return "resize";
            default: return UndoOrRedo();
        }
    }

    /// Ctrl+Z, Ctrl+Y or Ctrl+Shift+Z, perhaps with the history's memory
    /// failing; the history's bound is small now and then.
    std::string UndoOrRedo() {
        if (in.Range(0, 7) == 0) {
            m.limit = in.Bool() ? in.Range<uint64_t>(0, 64) : EditHistory::MIN_LIMIT;
            view.m_history.SetLimit(m.limit);
        }
        const bool failHistory = in.Range(0, 3) == 0;
        host.Allocator().FailTemporary(failHistory ? 1 : 0);
        m.failTemporary = failHistory;
        const int kind = in.Range(0, 2);
        if (kind == 2) host.KeyDown(vk::Shift);
        host.PressCtrl(kind == 0 ? 'z' : kind == 1 ? 'y' : 'z');
        if (kind == 2) host.KeyUp(vk::Shift);
        m.Char(kind == 0 ? ctl::Undo : ctl::Redo);
        host.Allocator().FailTemporary(0);
        m.failTemporary = false;
        return kind == 0 ? "undo" : "redo";
    }

    std::string SaveAs(unsigned command, bool allowed, bool failureArmed) {
        const size_t boxes = host.MessageBoxes().size();
        const std::string path = DialogAnswer(allowed);
        const size_t dialogs = host.FileDialogs().size();
        if (!allowed || path.empty()) {
            host.ChooseMenuCommand(command);
        } else {
            SaveTo(path, boxes, failureArmed, [&] { host.ChooseMenuCommand(command); });
        }
        if (host.FileDialogs().size() - dialogs != size_t(allowed))
            Fail("the Save As dialog's gate");
        return "save as " + path;
    }

    FuzzInput& in;
    headless::HeadlessHost host{640, 240};  // small, so that painting stays cheap
    CMainDlg dlg;
    CHexView& view = dlg.m_hexView;
    Model m;
    int step = 0;
    /// BYTEWREN_FUZZ_TRACE=1 lists the steps, to follow a crash's input.
    const bool trace = std::getenv("BYTEWREN_FUZZ_TRACE") != nullptr;
    int pumpBase = 0;
    bool pumped = false;   // actions ran inside a pump during this step
    bool loading = false;  // this step loads a file
    std::optional<std::vector<uint8_t>> loadedBytes;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    Session(input).Run();
    return 0;
}
