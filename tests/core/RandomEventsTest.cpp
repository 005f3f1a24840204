// Thousands of random user actions over small images. After every step the
// selection must be well-formed and the image must equal a plain vector to
// which the same edit rules were applied, from the state the step began in.
#include <cstdio>
#include <random>

#include "InteractFixture.h"
#include "commands/CommandIds.h"
#include "commands/HexText.h"

using namespace platform;

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return c - 'A' + 10;
}

bool IsHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

/// What the view looked like before a step: all the model needs to know.
struct Before {
    bool image;
    uint32_t size, start, end, caret;
    char pending;
    bool insert, charArea, bitEdit, panel;
    std::string bits;

    bool SelectionInImage() const { return image && start <= end && end < size; }
};

}  // namespace

class RandomEventsTest : public InteractTest {
protected:
    Before Snapshot() const {
        return {view.m_pData != nullptr, view.m_nFileSize, view.m_nSelStart, view.m_nSelEnd,
                view.m_nCaret, view.m_chPendingDigit, view.m_bInsertMode, view.m_bCharArea,
                view.m_bBitEdit, view.m_bInputPanel, view.m_szBits};
    }

    /// The typing rules applied to the model.
    void ModelType(const Before& b, unsigned char ch) {
        if (ch == 22 && b.SelectionInImage() && !b.bitEdit && !b.panel) {
            ModelPaste(b, b.insert);  // Ctrl+V arrives as a character
            return;
        }
        if (!b.SelectionInImage() || ch < 0x20 || ch > 0x7E) return;
        if (b.bitEdit || b.panel) return;
        if (b.caret < b.start || b.caret > b.end) return;
        uint8_t byte = ch;
        if (!b.charArea) {
            if (!IsHex(char(ch)) || b.pending == 0) return;
            byte = uint8_t(16 * HexValue(b.pending) + HexValue(char(ch)));
        }
        if (b.insert) model.insert(model.begin() + b.caret, byte);
        else model[b.caret] = byte;
    }

    void ModelEnter(const Before& b) {
        if (!b.bitEdit || b.bits.size() != 9 || !b.SelectionInImage()) return;
        unsigned v = 0;
        for (char c : b.bits) {
            if (c != ' ') v = v << 1 | unsigned(c == '1');
        }
        model[b.start] = uint8_t(v);
    }

    /// The clipboard's bytes as a paste reads them in the entry area of b.
    std::optional<std::vector<uint8_t>> Pasted(const Before& b) {
        if (!host.Clipboard()) return std::nullopt;
        const std::string text = host.Clipboard()->substr(0, host.Clipboard()->find('\0'));
        if (b.charArea) return std::vector<uint8_t>(text.begin(), text.end());
        const auto bytes = ParseHexBytes(text);
        if (!bytes) return std::nullopt;
        return std::vector<uint8_t>(bytes->begin(), bytes->end());
    }

    void ModelPaste(const Before& b, bool insert) {
        if (!b.SelectionInImage()) return;
        const auto bytes = Pasted(b);
        if (!bytes) return;
        if (insert) {
            model.insert(model.begin() + b.start, bytes->begin(), bytes->end());
        } else {
            const size_t count = std::min<size_t>(bytes->size(), b.size - b.start);
            std::copy_n(bytes->begin(), count, model.begin() + b.start);
        }
    }

    void RandomClipboard(std::mt19937& rng) {
        static const char* texts[] = {"41 42", "0a 1B\r\nff", "ABC", "hello", "", " \r\n",
                                      "zz", "-1", "00 11 22 33 44"};
        if (rng() % 4 == 0) {
            std::string text(rng() % 6, ' ');
            for (char& c : text) c = char(rng());
            host.Clipboard() = text;
        } else if (rng() % 8 == 0) {
            host.Clipboard().reset();
        } else {
            host.Clipboard() = texts[rng() % (sizeof texts / sizeof *texts)];
        }
    }

    void ModelDelete(const Before& b) {
        if (!b.SelectionInImage()) return;
        model.erase(model.begin() + b.start, model.begin() + b.end + 1);
    }

    Point RandomPoint(std::mt19937& rng) {
        const uint32_t n = std::max<uint32_t>(view.m_nFileSize, 1);
        const uint32_t offset = rng() % (n + 4);
        switch (rng() % 3) {
            case 0: return HexPoint(offset);
            case 1: return CharPoint(offset);
            default: return {int(rng() % 800), int(rng() % 600)};
        }
    }

    void CheckWellFormed(const std::string& where) {
        const uint32_t s = view.m_nSelStart, e = view.m_nSelEnd;
        if (view.m_pData && view.m_nFileSize) {
            ASSERT_TRUE((s == NONE && e == NONE) || (s <= e && e < view.m_nFileSize))
                << where << " " << Sel() << " size " << view.m_nFileSize;
        } else {
            ASSERT_TRUE(s <= e || (s == NONE && e == NONE)) << where << " " << Sel();
        }
        ASSERT_EQ(Image(), model) << where;
    }

    std::vector<uint8_t> model;
};

TEST_F(RandomEventsTest, SelectionStaysWellFormedAndEditsMatchAPlainVector) {
    const unsigned seed = 20240611;
    std::printf("random event sequence seed: %u\n", seed);
    std::mt19937 rng(seed);
    const char typed[] = "0123456789abcdefABCDEFxyz G~01";
    host.Clipboard() = "41";

    for (int step = 0; step < 6000; ++step) {
        if (step % 500 == 0 || view.m_pData == nullptr) {
            const size_t n = rng() % 70;
            std::vector<uint8_t> bytes(n);
            for (auto& byte : bytes) byte = uint8_t(rng());
            host.PressKey(vk::Escape);
            SetImage(bytes);
            view.m_nDragAnchor = view.m_nHoverOffset = -1;  // as a load leaves them
            model = bytes;
        }
        const Before b = Snapshot();
        const std::vector<uint8_t> old = Image();
        const unsigned action = rng() % 100;
        std::string what;
        if (action < 12) {
            what = "click";
            Click(RandomPoint(rng));
            if (view.AcceptsPointer()) {
                ASSERT_EQ(view.m_nSelStart, view.m_nSelEnd) << step;
                ASSERT_EQ(view.m_nCaret, view.m_nSelStart) << step;
            }
        } else if (action < 20) {
            what = "drag";
            host.Drag(RandomPoint(rng), RandomPoint(rng));
        } else if (action < 25) {
            what = "press and move";
            host.LButtonDown(RandomPoint(rng));
            host.MoveMouse(RandomPoint(rng));
        } else if (action < 30) {
            what = "move";
            host.MoveMouse(RandomPoint(rng));
        } else if (action < 33) {
            what = "release";
            host.LButtonUp(RandomPoint(rng));
        } else if (action < 37) {
            what = "wheel";
            host.Wheel(rng() % 2 ? WHEEL_NOTCH : -WHEEL_NOTCH);
        } else if (action < 50) {
            what = "arrow";
            host.PressKey(vk::Left + rng() % 4);
            if (view.m_nSelStart != b.start) {
                ASSERT_EQ(view.m_nSelEnd - view.m_nSelStart, b.end - b.start) << step;
                ASSERT_EQ(view.m_nCaret, view.m_nSelStart) << step;
            }
        } else if (action < 75) {
            const char ch = rng() % 10 ? typed[rng() % (sizeof typed - 1)] : char(rng());
            what = std::string("type ") + std::to_string(int(static_cast<unsigned char>(ch)));
            host.TypeChar(ch);
            ModelType(b, static_cast<unsigned char>(ch));
            if (Image() != old && ch >= 0x20 && ch <= 0x7E) {
                ASSERT_EQ(view.m_nCaret, b.caret + 1) << step;
            }
        } else if (action < 78) {
            what = "backspace";
            host.PressKey(vk::Back);
        } else if (action < 80) {
            what = "insert";
            host.PressKey(vk::Insert);
        } else if (action < 83) {
            what = "delete";
            host.PressKey(vk::Delete);
            if (!b.bitEdit && !b.panel) ModelDelete(b);
        } else if (action < 87) {
            what = "enter";
            host.PressKey(vk::Return);
            ModelEnter(b);
        } else if (action < 89) {
            what = "escape";
            host.PressKey(vk::Escape);
        } else if (action < 91) {
            what = "bit edit";
            Command(ID_EDIT_BITS);
        } else if (action < 92) {
            static const unsigned panels[] = {ID_SEARCH_HEX, ID_SEARCH_TEXT,
                                              ID_SEARCH_UNICODE_NOCASE, ID_JUMP_TO_OFFSET};
            what = "panel";
            Command(panels[rng() % 4]);
        } else if (action < 93) {
            what = "columns";
            host.PressKey(rng() % 2 ? vk::F5 : vk::F6);
        } else if (action < 94) {
            what = "scroll selection into view";
            Command(ID_SCROLL_SELECTION_INTO_VIEW);
        } else if (action < 95) {
            what = "find next";
            host.PressKey(vk::F3);
        } else if (action < 96) {
            what = "copy";
            host.PressCtrl('c');
            Command(ID_COPY_HEX_STRING + rng() % 2);
        } else if (action < 98) {
            what = "ctrl+v";
            RandomClipboard(rng);
            const Before now = Snapshot();
            host.PressCtrl('v');
            if (!now.bitEdit && !now.panel) ModelPaste(now, now.insert);
        } else if (action < 99) {
            what = "menu paste";
            RandomClipboard(rng);
            const bool insert = rng() % 2;
            Command(insert ? ID_INSERT_FROM_CLIPBOARD : ID_OVERWRITE_FROM_CLIPBOARD);
            ModelPaste(b, insert);
        } else {
            what = "menu delete";
            Command(ID_DELETE_SELECTION);
            ModelDelete(b);
        }
        CheckWellFormed("step " + std::to_string(step) + " (" + what + ")");
        if (HasFatalFailure()) return;
    }
}
