// A view with an image, driven as a user drives it: clicks, drags, keys,
// characters and commands through the headless host's message queue.
#pragma once

#include <ostream>

#include "ViewFixture.h"

/// The selection and caret, compared as one value.
struct SelectionState {
    uint32_t start;
    uint32_t end;
    uint32_t caret;
    friend bool operator==(const SelectionState&, const SelectionState&) = default;
    friend std::ostream& operator<<(std::ostream& os, const SelectionState& s) {
        return os << "{start " << int64_t(int32_t(s.start)) << ", end " << int64_t(int32_t(s.end))
                  << ", caret " << int64_t(int32_t(s.caret)) << "}";
    }
};

constexpr uint32_t NONE = NO_OFFSET;

class InteractTest : public ViewTest {
protected:
    InteractTest(int width = 800, int height = 600) : ViewTest(width, height) {}

    SelectionState Sel() const { return {view.m_nSelStart, view.m_nSelEnd, view.m_nCaret}; }

    /// A click as a user makes it: the pointer arrives, then the button goes
    /// down and up (the release extends the selection to the hovered byte).
    void Click(platform::Point p) {
        host.MoveMouse(p);
        host.Click(p);
    }
    /// Drags over the hex (or character) cells from one byte to another.
    void SelectHex(uint32_t from, uint32_t to) { host.Drag(HexPoint(from), HexPoint(to)); }
    void SelectChars(uint32_t from, uint32_t to) { host.Drag(CharPoint(from), CharPoint(to)); }
    /// A point in the offset column: hits no byte.
    platform::Point OffsetColumn(int row = 0) const {
        return {2 * view.m_nCellWidth, view.m_nCellWidth + row * view.m_nRowHeight + 3};
    }

    /// A context-menu command as its message arrives.
    void Command(unsigned id) {
        host.PostViewMessage(platform::msg::Command, id, 0);
        host.RunUntilIdle();
    }

    static std::vector<uint8_t> Iota(size_t n) {
        std::vector<uint8_t> v(n);
        for (size_t i = 0; i < n; ++i) v[i] = uint8_t(i);
        return v;
    }
};
