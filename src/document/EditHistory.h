// The edits of the image that can be taken back and taken again. Each step
// is one change of the image (bytes inserted, removed or written over) with
// the selection before and after it; a run of typed bytes grows one step.
// A change keeps only the bytes that are not in the image at the time: the
// old bytes of an overwrite, the removed bytes of a deletion, and the bytes
// of an insertion once it is taken back. Knows nothing of the view.
#pragma once

#include <cstdint>
#include <deque>
#include <memory_resource>
#include <optional>
#include <vector>

#include "document/ByteImage.h"

class EditHistory {
public:
    /// The selection and caret a step restores.
    struct Selection {
        uint32_t start = 0;
        uint32_t end = 0;
        uint32_t caret = 0;
        friend bool operator==(const Selection&, const Selection&) = default;
    };
    enum class Kind { Typing, Other };
    enum class Result {
        Done,
        Nothing,   // no step to take back or again
        NoMemory,  // nothing changed: the image or the history could not get its memory
    };

    /// At most this many kept bytes, or a quarter of the image if that is
    /// more, up to MAX_LIMIT.
    static constexpr uint64_t MIN_LIMIT = uint64_t(256) << 20;
    static constexpr uint64_t MAX_LIMIT = uint64_t(1) << 30;

    EditHistory();
    ~EditHistory();
    EditHistory(const EditHistory&) = delete;
    EditHistory& operator=(const EditHistory&) = delete;

    /// The history's memory from now on (a failed allocation throws
    /// std::bad_alloc); clears it.
    void SetMemory(std::pmr::memory_resource& memory);
    /// A fixed bound on the kept bytes instead of the one by image size
    /// (none: by image size again); 0 records nothing at all.
    void SetLimit(std::optional<uint64_t> bytes);
    void Clear();

    /// Begins a step with the selection before it, ending the open one:
    /// but a typed byte continues an open run of typing. The step is made
    /// by its first change; until then nothing of the history changes.
    void Begin(Kind kind, const Selection& now);
    /// Ends the open step, now being the selection after it; nothing
    /// without one. Every action but typing ends a run this way.
    void Seal(const Selection& now);

    /// The changes of the open step (one is begun if none is), recorded
    /// around the edit as named: after an insertion, before the others.
    /// When the history cannot keep a change, it forgets every step and
    /// the edit goes ahead.
    void Inserted(const ByteImage& image, uint32_t position, uint32_t count, const Selection& now);
    void WillErase(const ByteImage& image, uint32_t first, uint32_t count, const Selection& now);
    void WillOverwrite(const ByteImage& image, uint32_t position, uint32_t count,
                       const Selection& now);

    /// Takes the last step back (or the next one again), ending the open
    /// step first; restored is the selection to show then.
    Result Undo(ByteImage& image, const Selection& now, Selection& restored);
    Result Redo(ByteImage& image, const Selection& now, Selection& restored);

    bool CanUndo() const { return m_done > 0; }
    bool CanRedo() const { return m_done < m_steps->size(); }
    size_t StepCount() const { return m_steps->size(); }
    /// The steps that Undo can take back.
    size_t UndoCount() const { return m_done; }
    uint64_t KeptBytes() const { return m_kept; }

private:
    using Bytes = std::pmr::vector<uint8_t>;
    struct Step {
        enum class Change { Insert, Erase, Overwrite };
        Change change;
        Kind kind;
        bool whole;  // an erase of every byte: the image went with them
        uint32_t position;
        uint32_t count;
        Bytes bytes;  // those of the change that are not in the image now
        Selection before;
        Selection after;
    };

    /// The bound for an image of size bytes.
    uint64_t Limit(uint32_t size) const;
    /// Records a change of count bytes at position, keeping the image's
    /// bytes there first when keepBytes.
    void Record(const ByteImage& image, Step::Change change, uint32_t position, uint32_t count,
                bool keepBytes, const Selection& now);
    /// The step a change goes into: the open one when the change continues
    /// its run of typing (grow is then set), else a new one, as Begin said
    /// (or Other). Null when no step can be had.
    Step* StepFor(Step::Change change, uint32_t position, const Selection& now, bool& grow);
    /// Makes room for keeping n more bytes in the open step, dropping the
    /// oldest steps; false when it cannot be kept (the history is then
    /// empty).
    bool MakeRoom(uint32_t imageSize, uint64_t n);
    /// Drops the oldest steps while the kept bytes pass the bound.
    void Trim(uint32_t imageSize);
    void DropOldest();
    /// Clears the history, the step being made included.
    void Lose();
    /// Keeps a copy of the count bytes from position on, after those kept
    /// already; false without memory for it.
    bool Keep(Bytes& kept, const ByteImage& image, uint32_t position, uint32_t count);
    void Forget(Bytes& kept);
    /// Puts the kept bytes of a removal back into the image.
    static bool PutBack(ByteImage& image, const Step& step);
    Result Revert(ByteImage& image, Step& step);
    Result Reapply(ByteImage& image, Step& step);

    std::pmr::memory_resource* m_memory;
    /// Always engaged; made anew when the memory changes.
    std::optional<std::pmr::deque<Step>> m_steps;
    size_t m_done = 0;    // the steps before this one are in the image
    bool m_open = false;  // the last step done may still grow
    bool m_lost = false;  // the step being made could not be kept
    /// What Begin said of the next step, made by its first change.
    struct Next {
        Kind kind;
        Selection before;
    };
    std::optional<Next> m_next;
    uint64_t m_kept = 0;
    std::optional<uint64_t> m_limit;
};
