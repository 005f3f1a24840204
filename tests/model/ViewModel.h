// A plain model of what the user's actions do to the view: the image as a
// std::vector, the selection and caret, the pending digit, the entry modes,
// the typed bits, the panel's input, the path and the clipboard. Each action
// is written out from the editing rules without calling the code it checks
// (hex pairs are read with strtol, searches are a naive scan). Used by the
// randomized core test and the event fuzz harness, which compare the view
// with the model after every step.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "hosts/headless/HeadlessHost.h"
#include "rules/CommandIds.h"
#include "view/HexView.h"

namespace model {

constexpr uint32_t NONE = NO_OFFSET;

inline const std::string kNotChanged =
    "Memory Reallocation Failed, the file in memory was not changed.";
inline const std::string kOpenFailed = "Could not open file, it may be in use by another process.";
inline const std::string kNoMemoryToLoad = "Not enough memory to load file.";
inline const std::string kReadFailed =
    "Failed during file read process, the file may have changed or become unreadable.";
inline const std::string kNoMemoryForNew = "Not enough memory to create a new file.";
inline const std::string kOverwriteQuestion =
    "Are you sure you want to overwrite the original file?";
/// Messages about backups that killed saves left on disk: they depend on
/// the disk, not on the view's rules, so the model leaves them out.
inline const std::string kInterruptedSavePrefix = "A previous save of this file did not finish";

// ---- Text forms ---------------------------------------------------------------

inline int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

/// Hex digit pairs with spaces, CRs and LFs anywhere; each pair read by
/// strtol in base 16, keeping the low 8 bits. None for an odd length.
inline std::optional<std::vector<uint8_t>> HexPairs(const std::string& text) {
    std::string packed;
    for (char c : text) {
        if (c != ' ' && c != '\r' && c != '\n') packed += c;
    }
    if (packed.size() % 2 != 0) return std::nullopt;
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < packed.size(); i += 2) {
        const char pair[3] = {packed[i], packed[i + 1], 0};
        bytes.push_back(uint8_t(std::strtol(pair, nullptr, 16)));
    }
    return bytes;
}

/// Even length and only hex digits once the spaces are gone.
inline bool IsHexPattern(const std::string& text) {
    size_t digits = 0;
    for (char c : text) {
        if (c == ' ') continue;
        if (HexValue(c) < 0) return false;
        ++digits;
    }
    return digits % 2 == 0;
}

inline std::string HexString(const uint8_t* data, size_t n) {
    std::string text;
    char cell[8];
    for (size_t i = 0; i < n; ++i) {
        std::snprintf(cell, sizeof cell, "%02X ", data[i]);
        text += cell;
    }
    return text;
}

inline std::string HexBlock(const uint8_t* data, size_t n, int perRow) {
    std::string text;
    char cell[8];
    int column = 0;
    for (size_t i = 0; i < n; ++i) {
        if (++column == perRow) {
            std::snprintf(cell, sizeof cell, "%02X\r\n", data[i]);
            column = 0;
        } else {
            std::snprintf(cell, sizeof cell, "%02X ", data[i]);
        }
        text += cell;
    }
    return text;
}

inline std::string AsciiText(const uint8_t* data, size_t n) {
    std::string text;
    for (size_t i = 0; i < n; ++i) {
        if (data[i] != 0) text += char(data[i]);
    }
    return text;
}

// ---- Search ------------------------------------------------------------------

/// The bytes a search of the given mode (0 to 4) looks for, and whether the
/// data's capital letters are folded before comparing.
struct Pattern {
    std::vector<uint8_t> bytes;
    bool fold = false;
};

inline Pattern SearchPattern(int mode, const std::string& input) {
    Pattern p;
    std::string text = input;
    p.fold = mode == SEARCH_TEXT_NOCASE || mode == SEARCH_UNICODE_NOCASE;
    if (p.fold) {
        for (char& c : text) {
            if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        }
    }
    if (mode == SEARCH_HEX) {
        text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
        if (auto bytes = HexPairs(text)) p.bytes = *bytes;
    } else if (mode == SEARCH_UNICODE || mode == SEARCH_UNICODE_NOCASE) {
        for (char c : text) {
            p.bytes.push_back(uint8_t(c));
            p.bytes.push_back(0);
        }
    } else {
        p.bytes.assign(text.begin(), text.end());
    }
    return p;
}

/// The first r with start <= r < last where the whole pattern lies in
/// data[0, size), by trying every start offset, data folded A-Z to a-z when
/// asked; NONE when there is none or the pattern is empty.
inline uint32_t NaiveFind(const std::vector<uint8_t>& pattern, bool fold, const uint8_t* data,
                          size_t size, uint64_t start, uint64_t last = UINT64_MAX) {
    if (pattern.empty()) return NONE;
    for (uint64_t r = start; r < last && r + pattern.size() <= size; ++r) {
        size_t i = 0;
        for (; i < pattern.size(); ++i) {
            uint8_t b = data[r + i];
            if (fold && b >= 'A' && b <= 'Z') b = uint8_t(b + 0x20);
            if (b != pattern[i]) break;
        }
        if (i == pattern.size()) return uint32_t(r);
    }
    return NONE;
}

// ---- The state compared ---------------------------------------------------------

struct State {
    bool image = false;
    std::vector<uint8_t> bytes;
    uint32_t start = 0, end = 0, caret = 0;
    char pending = 0;
    bool insert = false, charArea = false, bitEdit = false, panel = false;
    int mode = SEARCH_HEX;
    std::string input;
    std::string bits = std::string(10, '\0');
    int bytesPerRow = 16;
    std::string path;
    std::optional<std::string> clipboard;
    std::vector<std::string> messages;
    size_t steps = 0;     // in the history of edits
    size_t undoable = 0;  // of them, those that Undo can take back
};

/// The state as the view's record and the host show it.
inline State Observe(const CHexView& v, headless::HeadlessHost& host) {
    State s;
    s.image = v.m_pData != nullptr;
    if (v.m_pData) s.bytes.assign(v.m_pData, v.m_pData + v.m_nFileSize);
    s.start = v.m_nSelStart;
    s.end = v.m_nSelEnd;
    s.caret = v.m_nCaret;
    s.pending = v.m_chPendingDigit;
    s.insert = v.m_bInsertMode;
    s.charArea = v.m_bCharArea;
    s.bitEdit = v.m_bBitEdit;
    s.panel = v.m_bInputPanel;
    s.mode = v.m_nSearchMode;
    s.input = v.m_strInput;
    s.bits.assign(v.m_szBits, sizeof v.m_szBits);
    s.bytesPerRow = v.m_nBytesPerRow;
    s.path = v.m_strFilePath;
    s.clipboard = host.Clipboard();
    s.steps = v.m_history.StepCount();
    s.undoable = v.m_history.UndoCount();
    for (const auto& box : host.MessageBoxes()) {
        if (box.text.rfind(kInterruptedSavePrefix, 0) != 0) s.messages.push_back(box.text);
    }
    return s;
}

inline std::string Offset(uint32_t o) { return o == NONE ? "-1" : std::to_string(o); }

inline std::string Bytes(const std::vector<uint8_t>& b) {
    return std::to_string(b.size()) + " bytes [" +
           HexString(b.data(), std::min<size_t>(b.size(), 48)) + (b.size() > 48 ? "...]" : "]");
}

inline std::string Quoted(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        char hex[8];
        if (c >= 0x20 && c < 0x7F && c != '"') out += char(c);
        else std::snprintf(hex, sizeof hex, "\\x%02X", c), out += hex;
    }
    return out + "\"";
}

/// Every field in which got differs from want, with both values; empty
/// when they agree.
inline std::string Difference(const State& want, const State& got) {
    std::string d;
    auto field = [&](const char* name, bool same, const std::string& w, const std::string& g) {
        if (!same) d += std::string(name) + ": model " + w + ", view " + g + "\n";
    };
    auto flag = [](bool b) { return std::string(b ? "true" : "false"); };
    auto clip = [](const std::optional<std::string>& c) { return c ? Quoted(*c) : "none"; };
    auto list = [](const std::vector<std::string>& m) {
        std::string out;
        for (const auto& t : m) out += "\n    " + t;
        return out;
    };
    field("image", want.image == got.image, flag(want.image), flag(got.image));
    field("bytes", want.bytes == got.bytes, Bytes(want.bytes), Bytes(got.bytes));
    field("selection", want.start == got.start && want.end == got.end,
          Offset(want.start) + ".." + Offset(want.end), Offset(got.start) + ".." + Offset(got.end));
    field("caret", want.caret == got.caret, Offset(want.caret), Offset(got.caret));
    field("pending digit", want.pending == got.pending, Quoted(std::string(1, want.pending)),
          Quoted(std::string(1, got.pending)));
    field("insert mode", want.insert == got.insert, flag(want.insert), flag(got.insert));
    field("character area", want.charArea == got.charArea, flag(want.charArea), flag(got.charArea));
    field("bit edit", want.bitEdit == got.bitEdit, flag(want.bitEdit), flag(got.bitEdit));
    field("bits", want.bits == got.bits, Quoted(want.bits), Quoted(got.bits));
    field("panel", want.panel == got.panel, flag(want.panel), flag(got.panel));
    field("search mode", want.mode == got.mode, std::to_string(want.mode),
          std::to_string(got.mode));
    field("input", want.input == got.input, Quoted(want.input), Quoted(got.input));
    field("bytes per row", want.bytesPerRow == got.bytesPerRow, std::to_string(want.bytesPerRow),
          std::to_string(got.bytesPerRow));
    field("path", want.path == got.path, Quoted(want.path), Quoted(got.path));
    field("clipboard", want.clipboard == got.clipboard, clip(want.clipboard), clip(got.clipboard));
    field("messages", want.messages == got.messages, list(want.messages), list(got.messages));
    field("history", want.steps == got.steps && want.undoable == got.undoable,
          std::to_string(want.undoable) + " of " + std::to_string(want.steps) + " steps done",
          std::to_string(got.undoable) + " of " + std::to_string(got.steps) + " steps done");
    return d;
}

/// The rules that hold between any two steps, whatever happened: the
/// selection is well-formed, no operation is left running, and the record's
/// parts agree with each other. Empty when they hold.
inline std::string WellFormed(const CHexView& v) {
    const uint32_t s = v.m_nSelStart, e = v.m_nSelEnd;
    const bool none = s == NONE && e == NONE;
    if (v.m_pData == nullptr && v.m_nFileSize != 0) return "no image but a size";
    if (v.HasBytes()) {
        if (!none && !(s <= e && e < v.m_nFileSize)) {
            return "selection " + Offset(s) + ".." + Offset(e) + " outside " +
                   std::to_string(v.m_nFileSize) + " bytes";
        }
    } else if (!none && !(s == 0 && e == 0)) {
        return "selection " + Offset(s) + ".." + Offset(e) + " without bytes";
    }
    if (v.m_bLoading || v.m_bSaving || v.m_bWritingInPlace || v.m_bSearching) {
        return "an operation is still running";
    }
    if (!v.m_bBitEdit && std::string(v.m_szBits, sizeof v.m_szBits) != std::string(10, '\0')) {
        return "bits typed outside bit edit";
    }
    if (v.m_szBits[9] != 0) return "the bits are not terminated";
    if (v.m_nBytesPerRow < 1) return "fewer than one byte per row";
    return "";
}

// ---- Points on the screen -----------------------------------------------------

/// The middle of a byte's first hex digit, or of its character, on screen
/// (the scroll position taken into account; above the view when scrolled past).
inline platform::Point HexPoint(const CHexView& v, uint32_t offset) {
    const int row = int(offset / uint32_t(v.m_nBytesPerRow)) - v.ScrollPos();
    const int col = int(offset % uint32_t(v.m_nBytesPerRow));
    return {v.m_nHexLeft + 3 * v.m_nCellWidth * col + v.m_nCellWidth / 2,
            v.m_nCellWidth + row * v.m_nRowHeight + v.m_nRowHeight / 2};
}

inline platform::Point CharPoint(const CHexView& v, uint32_t offset) {
    const int row = int(offset / uint32_t(v.m_nBytesPerRow)) - v.ScrollPos();
    const int col = int(offset % uint32_t(v.m_nBytesPerRow));
    return {v.m_nCharLeft + v.m_nCellWidth * col + v.m_nCellWidth / 2,
            v.m_nCellWidth + row * v.m_nRowHeight + v.m_nRowHeight / 2};
}

// ---- The rules ----------------------------------------------------------------

/// The model. Each member is one user action (or what it leads to), applied
/// as the rules say to the state between steps, when no load, save or
/// search is running.
class Model {
public:
    State s;
    /// The next allocation of the image fails (armed for one step).
    bool failAllocation = false;
    /// The next allocation of the history's memory fails (armed for one
    /// step). Where an edit would meet it is the history's own affair: the
    /// harness tells the model when it cleared the history (Forget).
    bool failTemporary = false;
    /// While false the clipboard cannot be opened.
    bool clipboardOpen = true;

    bool HasBytes() const { return s.image && !s.bytes.empty(); }
    uint32_t Size() const { return uint32_t(s.bytes.size()); }
    bool SelectionInImage() const { return s.image && s.start <= s.end && s.end < Size(); }

    // ---- The image's primitives
    bool Allocate() {
        if (!failAllocation) return true;
        failAllocation = false;
        return false;
    }
    bool AllocateTemporary() {
        if (!failTemporary) return true;
        failTemporary = false;
        return false;
    }
    void ReleaseImage() {
        s.image = false;
        s.bytes.clear();
    }
    /// Every insertion reallocates, even of no bytes; one that cannot
    /// changes nothing.
    bool Insert(uint32_t at, const std::vector<uint8_t>& bytes, bool typing) {
        if (!Allocate()) {
            s.messages.push_back(kNotChanged);
            return false;
        }
        Record(Change::Insert, uint32_t(bytes.size()), typing, Now(), 0);
        s.bytes.insert(s.bytes.begin() + at, bytes.begin(), bytes.end());
        return true;
    }
    void DeleteSelection() {
        const uint32_t first = s.start, last = s.end, n = Size();
        const uint32_t left = n - (last - first + 1);
        Record(Change::Erase, n - left, false, Now(), n - left);
        if (left == 0) {
            ReleaseImage();
        } else {
            Allocate();  // without a smaller block the old one keeps the rest
            s.bytes.erase(s.bytes.begin() + first, s.bytes.begin() + last + 1);
            if (last == n - 1) s.start = left - 1;
        }
        s.end = s.caret = s.start;
    }

    // ---- The history of edits
    /// What a step restores: the image and the selection and caret.
    struct Snap {
        bool image;
        std::vector<uint8_t> bytes;
        uint32_t start, end, caret;
    };
    enum class Change { Insert, Erase, Overwrite };
    /// One step: before and after it, and the size and kind of its change,
    /// which decide the bytes kept: an overwrite's old ones, a deletion's
    /// while it is done, an insertion's while it is taken back.
    struct Entry {
        Snap before, after;
        Change change;
        uint32_t count;
        bool typing;
    };
    std::vector<Entry> history;
    size_t done = 0;    // entries whose change is in the image
    bool open = false;  // the last one done may still grow (or take its after)
    uint64_t limit = EditHistory::MIN_LIMIT;

    Snap Now() const { return {s.image, s.bytes, s.start, s.end, s.caret}; }
    void Restore(const Snap& snap) {
        s.image = snap.image;
        s.bytes = snap.bytes;
        s.start = snap.start;
        s.end = snap.end;
        s.caret = snap.caret;
        s.pending = 0;
    }
    uint64_t Kept() const {
        uint64_t kept = 0;
        for (size_t i = 0; i < history.size(); ++i) {
            const Entry& e = history[i];
            const bool isDone = i < done;
            if (e.change == Change::Overwrite || (e.change == Change::Erase) == isDone) {
                kept += e.count;
            }
        }
        return kept;
    }
    void Sync() {
        s.steps = history.size();
        s.undoable = done;
    }
    /// The history is empty again (a new image, or the harness saw the
    /// history's memory fail).
    void Forget() {
        history.clear();
        done = 0;
        open = false;
        Sync();
    }
    /// Every action but typing ends the open step.
    void Seal() {
        if (open) history[done - 1].after = Now();
        open = false;
    }
    void DropOldest() {
        history.erase(history.begin());
        if (done > 0) --done;
        if (done == 0) open = false;
    }
    /// An edit of count bytes made from the state before; a typed byte
    /// grows the open run of typing; keep is the number of bytes it keeps.
    void Record(Change change, uint32_t count, bool typing, const Snap& before, uint32_t keep) {
        if (count == 0) return;
        const bool grow = open && typing && history[done - 1].typing;
        if (!grow) {
            Seal();
            history.resize(done);
            history.push_back({before, {}, change, 0, typing});
            ++done;
            open = true;
        }
        while (Kept() + keep > limit) {
            if (history.size() == 1) return Forget();
            DropOldest();
        }
        history[done - 1].count += count;
        Sync();
    }
    void Undo() {
        if (s.bitEdit || s.panel || done == 0) return;
        Entry& e = history[done - 1];
        const bool memory = e.change == Change::Insert  ? AllocateTemporary()
                            : e.change == Change::Erase ? Allocate()
                                                        : true;
        if (!memory) return s.messages.push_back(kNotChanged);
        Restore(e.before);
        --done;
        Trim();
    }
    void Redo() {
        if (s.bitEdit || s.panel || done == history.size()) return;
        Entry& e = history[done];
        const bool memory = e.change == Change::Insert  ? Allocate()
                            : e.change == Change::Erase ? AllocateTemporary()
                                                        : true;
        if (!memory) return s.messages.push_back(kNotChanged);
        Restore(e.after);
        ++done;
        Trim();
    }
    void Trim() {
        while (Kept() > limit && !history.empty()) DropOldest();
        Sync();
    }

    // ---- Typed characters (after the key that made them went down)
    void Char(unsigned ch) {
        if (ch < 0x20 || ch > 0x7E) Seal();
        if (ch == platform::ctl::Undo) return Undo();
        if (ch == platform::ctl::Redo) return Redo();
        if (!SelectionInImage()) return;
        const bool shortcut = ch == 3 || ch == 6 || ch == 22;
        if (!shortcut && (ch < 0x20 || ch > 0x7E)) return;
        const bool modal = s.bitEdit || s.panel;
        if (ch == 6) {
            if (!modal) OpenPanel(s.charArea ? SEARCH_TEXT_NOCASE : SEARCH_HEX);
        } else if (ch == 3) {
            if (!modal) Copy(s.charArea ? ID_COPY_ASCII_TEXT : ID_COPY_HEX_BLOCK);
        } else if (ch == 22) {
            if (s.panel) PanelPaste();
            else if (!s.bitEdit) Paste(s.insert);
        } else if (s.bitEdit) {
            TypeBit(char(ch));
        } else if (s.panel) {
            PanelType(char(ch));
        } else {
            TypeByte(char(ch));
        }
    }
    void TypeByte(char ch) {
        if (s.caret < s.start || s.caret > s.end) return;
        uint8_t byte = uint8_t(ch);
        if (!s.charArea) {
            if (HexValue(ch) < 0) return;
            if (s.pending == 0) {
                s.pending = ch;
                return;
            }
            byte = uint8_t(16 * HexValue(s.pending) + HexValue(ch));
        }
        if (s.insert) {
            if (!Insert(s.caret, {byte}, true)) return;
            ++s.end;
        } else {
            Record(Change::Overwrite, 1, true, Now(), 1);
            s.bytes[s.caret] = byte;
        }
        ++s.caret;
        s.pending = 0;
    }

    // ---- Keys going down
    void Escape() {
        Seal();
        LeaveAllModes();
    }
    void Enter() {
        Seal();
        if (s.bitEdit) EndBitEdit();
        if (s.panel) RunSearch();
    }
    void Backspace() {
        Seal();
        if (s.bitEdit) {
            RemoveLastBit();
        } else if (s.panel) {
            if (!s.input.empty()) s.input.pop_back();
        } else if (s.caret > s.start) {
            --s.caret;
            s.pending = 0;
        }
    }

    // ---- Keys released
    void Arrow(unsigned key) {
        Seal();
        if (!SelectionInImage()) return;
        const uint64_t first = s.start, last = s.end, b = uint64_t(s.bytesPerRow), n = Size();
        int64_t shift = 0;
        if (key == platform::vk::Left && first > 0) shift = -1;
        if (key == platform::vk::Up && first >= b) shift = -int64_t(b);
        if (key == platform::vk::Right && last < n - 1) shift = 1;
        if (key == platform::vk::Down && last + b < n) shift = int64_t(b);
        if (shift == 0) return;
        s.start = uint32_t(int64_t(first) + shift);
        s.end = uint32_t(int64_t(last) + shift);
        s.caret = s.start;
        s.pending = 0;
    }
    void ToggleInsert() {
        Seal();
        s.insert = !s.insert;
        s.pending = 0;
    }
    void DeleteKey() {
        Seal();
        if (!s.bitEdit && !s.panel && SelectionInImage()) DeleteSelection();
    }
    void Columns(int delta) {
        Seal();
        if (HasBytes()) s.bytesPerRow = std::max(1, s.bytesPerRow + delta);
    }

    // ---- Bit edit
    void BeginBitEdit() {
        if (SelectionInImage()) s.bitEdit = true;
    }
    void TypeBit(char ch) {
        s.bits[4] = ' ';
        if (ch != '0' && ch != '1') return;
        for (size_t i = 0; i <= 8; ++i) {
            if (s.bits[i] == 0) {
                s.bits[i] = ch;
                return;
            }
        }
    }
    void RemoveLastBit() {
        s.bits[4] = ' ';
        for (size_t i = 9; i-- > 0;) {
            if (s.bits[i] == '0' || s.bits[i] == '1') {
                s.bits[i] = 0;
                return;
            }
        }
    }
    void EndBitEdit() {
        if (std::strlen(s.bits.c_str()) == 9 && SelectionInImage()) {
            unsigned value = 0;
            for (size_t i = 0; i < 9; ++i) {
                if (i != 4) value = value * 2 + unsigned(s.bits[i] == '1');
            }
            Record(Change::Overwrite, 1, false, Now(), 1);
            s.bytes[s.start] = uint8_t(value);
        }
        s.bits.assign(10, '\0');
        s.bitEdit = false;
    }
    void LeaveAllModes() {
        s.panel = false;
        s.bitEdit = false;
        s.bits.assign(10, '\0');
    }

    // ---- Clipboard
    std::optional<std::string> ClipboardText() const {
        if (!clipboardOpen || !s.clipboard) return std::nullopt;
        return s.clipboard->substr(0, s.clipboard->find('\0'));
    }
    void Copy(unsigned command) {
        if (!SelectionInImage()) return;
        const uint8_t* at = s.bytes.data() + s.start;
        const size_t n = size_t(s.end) - s.start + 1;
        const std::string text = command == ID_COPY_HEX_STRING  ? HexString(at, n)
                                 : command == ID_COPY_HEX_BLOCK ? HexBlock(at, n, s.bytesPerRow)
                                                                : AsciiText(at, n);
        if (!text.empty() && clipboardOpen) s.clipboard = text;
    }
    void Paste(bool insert) {
        if (!SelectionInImage()) return;
        const auto text = ClipboardText();
        if (!text) return;
        const auto bytes = s.charArea
                               ? std::optional(std::vector<uint8_t>(text->begin(), text->end()))
                               : HexPairs(*text);
        if (!bytes) return;
        const uint32_t n = uint32_t(bytes->size());
        if (insert) {
            if (!Insert(s.start, *bytes, false)) return;
            s.end += n;
            s.caret = s.start + n;
        } else {
            const uint32_t count = std::min(n, Size() - s.start);
            if (count == 0) return;
            Record(Change::Overwrite, count, false, Now(), count);
            std::copy_n(bytes->begin(), count, s.bytes.begin() + s.start);
            s.end = s.start + count - 1;
        }
        s.pending = 0;
    }

    // ---- The search and offset panel
    void OpenPanel(int mode) {
        s.panel = true;
        s.mode = mode;
        s.input.clear();
    }
    void PanelType(char ch) {
        if (s.mode == SEARCH_HEX || s.mode == SEARCH_OFFSET) {
            if (s.mode == SEARCH_OFFSET && s.input.size() >= 11) return;
            if (ch != ' ' && HexValue(ch) < 0) return;
            s.input += ch;
            for (char& c : s.input) {
                if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
            }
        } else {
            s.input += ch;
        }
    }
    void PanelPaste() {
        const auto text = ClipboardText();
        if (!text) return;
        if (s.mode == SEARCH_HEX || s.mode == SEARCH_OFFSET) {
            if (!IsHexPattern(*text)) return;
            s.input = s.mode == SEARCH_OFFSET ? text->substr(0, 11) : *text;
        } else {
            s.input = *text;
        }
    }
    /// What WM_RUN_SEARCH does with the panel open: a search from the
    /// selection start, or the jump to the typed offset.
    void RunSearch() {
        if (s.mode == SEARCH_OFFSET) return Jump();
        const Pattern p = SearchPattern(s.mode, s.input);
        const uint32_t hit =
            s.image ? NaiveFind(p.bytes, p.fold, s.bytes.data(), s.bytes.size(), s.start) : NONE;
        if (hit == NONE) return;
        s.start = s.caret = hit;
        s.end = hit + uint32_t(p.bytes.size()) - 1;
    }
    /// Offsets beyond the image, also those beyond 32 bits, select its last byte.
    void Jump() {
        s.input.erase(std::remove(s.input.begin(), s.input.end(), ' '), s.input.end());
        unsigned __int128 value = 0;
        for (char c : s.input) value = value * 16 + unsigned(std::max(0, HexValue(c)));
        const uint32_t offset = value >= Size() ? Size() - 1 : uint32_t(value);
        s.start = s.end = s.caret = offset;
        LeaveAllModes();
    }
    void FindNext() {
        Seal();
        if (s.panel || s.bitEdit || s.input.empty()) return;
        if (SelectionInImage() && s.end < Size() - 1) {
            ++s.start;
            ++s.end;
            s.caret = s.start;
            s.pending = 0;
        }
        s.panel = true;
        RunSearch();
    }

    /// A context-menu command as OnCommand receives it.
    void Command(unsigned id) {
        Seal();
        switch (id) {
            case ID_COPY_HEX_STRING:
            case ID_COPY_HEX_BLOCK:
            case ID_COPY_ASCII_TEXT: Copy(id); break;
            case ID_DELETE_SELECTION:
                if (SelectionInImage()) DeleteSelection();
                break;
            case ID_INSERT_FROM_CLIPBOARD: Paste(true); break;
            case ID_OVERWRITE_FROM_CLIPBOARD: Paste(false); break;
            case ID_EDIT_BITS: BeginBitEdit(); break;
            case ID_SEARCH_HEX: OpenPanel(SEARCH_HEX); break;
            case ID_SEARCH_TEXT: OpenPanel(SEARCH_TEXT); break;
            case ID_SEARCH_TEXT_NOCASE: OpenPanel(SEARCH_TEXT_NOCASE); break;
            case ID_SEARCH_UNICODE: OpenPanel(SEARCH_UNICODE); break;
            case ID_SEARCH_UNICODE_NOCASE: OpenPanel(SEARCH_UNICODE_NOCASE); break;
            case ID_JUMP_TO_OFFSET: OpenPanel(SEARCH_OFFSET); break;
            case ID_FIND_NEXT: FindNext(); break;
            default: break;  // scrolling changes nothing the model holds
        }
    }

    // ---- Files
    /// What a load of a file holding bytes leaves (none: it cannot be
    /// opened, which leaves everything as it was); readFailsAt is the read
    /// call that fails (0: none).
    void Load(const std::string& path, const std::optional<std::vector<uint8_t>>& bytes,
              int readFailsAt) {
        Seal();
        if (!bytes) return s.messages.push_back(kOpenFailed);
        Forget();
        ReleaseImage();
        s.start = s.end = s.caret = 0;
        s.pending = 0;
        s.bitEdit = false;
        s.bits.assign(10, '\0');
        if (!Allocate()) return s.messages.push_back(kNoMemoryToLoad);
        const int reads = std::max<int>(
            1, int((bytes->size() + CHexView::CHUNK_SIZE - 1) / CHexView::CHUNK_SIZE));
        if (readFailsAt > 0 && readFailsAt <= reads) return s.messages.push_back(kReadFailed);
        s.image = true;
        s.bytes = *bytes;
        s.path = path;
    }
    void New() {
        Seal();
        s.path.clear();
        s.bitEdit = false;
        s.bits.assign(10, '\0');
        Forget();
        ReleaseImage();
        s.start = s.end = s.caret = 0;
        if (!Allocate()) return s.messages.push_back(kNoMemoryForNew);
        s.image = true;
        s.bytes.assign(3 * size_t(s.bytesPerRow), 0);
    }

    // ---- The pointer
    /// Checks what a pointer message (press, move, release or wheel) did to
    /// the view against the selection rules, and takes over what only hit
    /// testing knows: the byte and the area under the point. anchorBefore is
    /// the drag anchor before the message; aimed is the byte the point was
    /// placed on, when it was placed on one in a visible row, and
    /// aimedAtChars tells its area. Returns the rule broken, or empty.
    enum class Pointer { Press, Move, Release, Wheel };
    std::string TakePointer(Pointer kind, const CHexView& v, int32_t anchorBefore,
                            std::optional<uint32_t> aimed, bool aimedAtChars) {
        const bool accepted = HasBytes() && !s.bitEdit && !s.panel;
        if (kind == Pointer::Press || kind == Pointer::Wheel) Seal();
        if (kind != Pointer::Wheel && !accepted) return "";  // nothing changes
        const uint32_t hit = aimed && *aimed < Size() ? *aimed : NONE;
        if (kind == Pointer::Press) {
            const uint32_t got = v.m_nSelStart;
            if (v.m_nSelEnd != got || v.m_nCaret != got)
                return "a press selected more than one byte";
            if (uint32_t(v.m_nDragAnchor) != got)
                return "the drag is not anchored on the pressed byte";
            if (aimed && got != hit)
                return "a press on byte " + Offset(*aimed) + " selected " + Offset(got);
            if (got != NONE && got >= Size()) return "a press selected a byte outside the image";
            s.start = s.end = s.caret = got;
            s.pending = 0;
        } else {
            if (kind == Pointer::Move && aimed && uint32_t(v.m_nHoverOffset) != hit) {
                return "the pointer over byte " + Offset(*aimed) + " hovers " +
                       Offset(uint32_t(v.m_nHoverOffset));
            }
            if (kind == Pointer::Release && v.m_nDragAnchor != -1)
                return "a release left the drag open";
            if (kind != Pointer::Release && v.m_nDragAnchor != anchorBefore)
                return "the drag anchor moved";
            const uint32_t anchor = uint32_t(anchorBefore), hover = uint32_t(v.m_nHoverOffset);
            if (anchor < Size() && hover < Size() && s.image) {
                s.start = std::min(anchor, hover);
                s.end = std::max(anchor, hover);
            }
        }
        if (aimed && kind != Pointer::Release && kind != Pointer::Wheel &&
            v.m_bCharArea != aimedAtChars) {
            return "the entry area does not follow the pointer";
        }
        s.charArea = v.m_bCharArea;
        return "";
    }
};

}  // namespace model
