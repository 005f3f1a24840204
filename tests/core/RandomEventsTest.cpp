// Thousands of random user actions over small images. After every step the
// view must agree with the plain model of the rules in tests/model: the
// image, the selection and caret, the modes, the panel's input, the
// clipboard and the history of edits, each worked out from the state the
// step began in; with undo and redo among the actions, a small bound on the
// history, and allocations of the image and the history failing now and
// then.
#include <cstdio>
#include <random>

#include "InteractFixture.h"
#include "model/ViewModel.h"

using namespace platform;
using Pointer = model::Model::Pointer;

class RandomEventsTest : public InteractTest {
protected:
    void RandomClipboard(std::mt19937& rng) {
        static const char* texts[] = {"41 42", "0a 1B\r\nff", "ABC", "hello",         "",
                                      " \r\n", "zz",          "-1",  "00 11 22 33 44"};
        if (rng() % 4 == 0) {
            std::string text(rng() % 6, ' ');
            for (char& c : text) c = char(rng());
            host.Clipboard() = text;
        } else if (rng() % 8 == 0) {
            host.Clipboard().reset();
        } else {
            host.Clipboard() = texts[rng() % (sizeof texts / sizeof *texts)];
        }
        m.s.clipboard = host.Clipboard();
    }

    /// A point on a byte's cell (perhaps past the end), or anywhere.
    struct Aim {
        Point point;
        std::optional<uint32_t> offset;
        bool chars = false;
    };
    Aim RandomAim(std::mt19937& rng) {
        const uint32_t offset = rng() % (std::max<uint32_t>(view.m_nFileSize, 1) + 4);
        Aim aim;
        switch (rng() % 3) {
            case 0: aim.point = HexPoint(offset); break;
            case 1: aim.point = CharPoint(offset), aim.chars = true; break;
            default: return {{int(rng() % 800), int(rng() % 600)}, std::nullopt, false};
        }
        if (aim.point.y >= view.m_nCellWidth) aim.offset = offset;
        return aim;
    }

    void PointerMessage(Pointer kind, const Aim& aim, int delta = WHEEL_NOTCH) {
        const int32_t anchor = view.m_nDragAnchor;
        switch (kind) {
            case Pointer::Press: host.LButtonDown(aim.point); break;
            case Pointer::Move: host.MoveMouse(aim.point); break;
            case Pointer::Release: host.LButtonUp(aim.point); break;
            case Pointer::Wheel: host.Wheel(delta); break;
        }
        EXPECT_EQ(m.TakePointer(kind, view, anchor, aim.offset, aim.chars), "");
    }

    void Check(const std::string& where) {
        ASSERT_EQ(model::WellFormed(view), "") << where;
        ASSERT_EQ(model::Difference(m.s, model::Observe(view, host)), "") << where;
    }

    model::Model m;
};

TEST_F(RandomEventsTest, EveryStepFollowsThePlainModel) {
    const unsigned seed = 20240611;
    std::printf("random event sequence seed: %u\n", seed);
    std::mt19937 rng(seed);
    const char typed[] = "0123456789abcdefABCDEFxyz G~01";
    host.Clipboard() = "41";

    for (int step = 0; step < 8000; ++step) {
        if (step % 500 == 0 || (view.m_pData == nullptr && rng() % 4 == 0)) {
            const size_t n = rng() % 70;
            std::vector<uint8_t> bytes(n);
            for (auto& byte : bytes) byte = uint8_t(rng());
            host.PressKey(vk::Escape);
            SetImage(bytes);
            view.m_nDragAnchor = view.m_nHoverOffset = -1;  // as a load leaves them
            // A bound that long runs of steps pass, or one they hardly meet.
            m.limit = rng() % 2 ? 24 : 400;
            view.m_history.SetLimit(m.limit);
            m.Forget();
            m.s = model::Observe(view, host);
        }
        const unsigned action = rng() % 112;
        // A failed allocation of the image, or of the history where nothing
        // else takes temporary memory (typing, DELETE, ENTER, undo, redo),
        // for one step.
        const bool usesOnlyHistory =
            action >= 100 || (action >= 50 && action < 75) || (action >= 80 && action < 87);
        const bool failImage = rng() % 25 == 0;
        const bool failHistory = usesOnlyHistory && rng() % 8 == 0;
        host.Allocator().FailCall(failImage ? 1 : 0);
        host.Allocator().FailTemporary(failHistory ? 1 : 0);
        m.failAllocation = failImage;
        m.failTemporary = failHistory;
        const int temporaryFailures = host.Allocator().TemporaryFailures();
        std::string what;
        if (action >= 100) {
            const bool back = action < 106;
            what = back ? "undo" : "redo";
            if (back) {
                host.PressCtrl('z');
            } else if (rng() % 2) {
                host.PressCtrl('y');
            } else {
                host.KeyDown(vk::Shift);
                host.PressCtrl('z');
                host.KeyUp(vk::Shift);
            }
            m.Char(back ? ctl::Undo : ctl::Redo);
        } else if (action < 12) {
            what = "click";
            const Aim aim = RandomAim(rng);
            PointerMessage(Pointer::Move, aim);
            PointerMessage(Pointer::Press, aim);
            PointerMessage(Pointer::Release, aim);
        } else if (action < 20) {
            what = "drag";
            PointerMessage(Pointer::Press, RandomAim(rng));
            PointerMessage(Pointer::Move, RandomAim(rng));
            PointerMessage(Pointer::Release, RandomAim(rng));
        } else if (action < 25) {
            what = "press and move";
            PointerMessage(Pointer::Press, RandomAim(rng));
            PointerMessage(Pointer::Move, RandomAim(rng));
        } else if (action < 30) {
            what = "move";
            PointerMessage(Pointer::Move, RandomAim(rng));
        } else if (action < 33) {
            what = "release";
            PointerMessage(Pointer::Release, RandomAim(rng));
        } else if (action < 37) {
            what = "wheel";
            PointerMessage(Pointer::Wheel, {}, rng() % 2 ? WHEEL_NOTCH : -WHEEL_NOTCH);
        } else if (action < 50) {
            what = "arrow";
            const unsigned key = vk::Left + rng() % 4;
            host.PressKey(key);
            m.Arrow(key);
        } else if (action < 75) {
            const char ch = rng() % 10 ? typed[rng() % (sizeof typed - 1)] : char(rng());
            what = std::string("type ") + std::to_string(int(static_cast<unsigned char>(ch)));
            host.TypeChar(ch);
            m.Char(static_cast<unsigned char>(ch));
        } else if (action < 78) {
            what = "backspace";
            host.PressKey(vk::Back);
            m.Backspace();
        } else if (action < 80) {
            what = "insert";
            host.PressKey(vk::Insert);
            m.ToggleInsert();
        } else if (action < 83) {
            what = "delete";
            host.PressKey(vk::Delete);
            m.DeleteKey();
        } else if (action < 87) {
            what = "enter";
            host.PressKey(vk::Return);
            m.Enter();
        } else if (action < 89) {
            what = "escape";
            host.PressKey(vk::Escape);
            m.Escape();
        } else if (action < 91) {
            what = "bit edit";
            Command(ID_EDIT_BITS);
            m.Command(ID_EDIT_BITS);
        } else if (action < 92) {
            static const unsigned panels[] = {ID_SEARCH_HEX, ID_SEARCH_TEXT,
                                              ID_SEARCH_UNICODE_NOCASE, ID_JUMP_TO_OFFSET};
            what = "panel";
            const unsigned id = panels[rng() % 4];
            Command(id);
            m.Command(id);
        } else if (action < 93) {
            what = "columns";
            const bool fewer = rng() % 2;
            host.PressKey(fewer ? vk::F5 : vk::F6);
            m.Columns(fewer ? -1 : +1);
        } else if (action < 94) {
            what = "scroll selection into view";
            Command(ID_SCROLL_SELECTION_INTO_VIEW);
            m.Seal();
        } else if (action < 95) {
            what = "find next";
            host.PressKey(vk::F3);
            m.FindNext();
        } else if (action < 96) {
            what = "copy";
            host.PressCtrl('c');
            m.Char(3);
            const unsigned id = ID_COPY_HEX_STRING + rng() % 2;
            Command(id);
            m.Command(id);
        } else if (action < 98) {
            what = "ctrl+v";
            RandomClipboard(rng);
            host.PressCtrl('v');
            m.Char(22);
        } else if (action < 99) {
            what = "menu paste";
            RandomClipboard(rng);
            const unsigned id = rng() % 2 ? ID_INSERT_FROM_CLIPBOARD : ID_OVERWRITE_FROM_CLIPBOARD;
            Command(id);
            m.Command(id);
        } else {
            what = "menu delete";
            Command(ID_DELETE_SELECTION);
            m.Command(ID_DELETE_SELECTION);
        }
        // Where an edit met the history's failure is the history's affair:
        // it forgot every step, which the model takes from the view.
        if (host.Allocator().TemporaryFailures() != temporaryFailures && m.failTemporary &&
            view.m_history.StepCount() == 0) {
            m.Forget();
        }
        host.Allocator().FailCall(0);
        host.Allocator().FailTemporary(0);
        m.failAllocation = m.failTemporary = false;
        Check("step " + std::to_string(step) + " (" + what + ")");
        if (HasFatalFailure()) return;
    }
}
