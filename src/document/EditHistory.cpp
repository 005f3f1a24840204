#include "document/EditHistory.h"

#include <algorithm>
#include <new>

EditHistory::EditHistory() : m_memory(std::pmr::new_delete_resource()) {
    m_steps.emplace(m_memory);
}

EditHistory::~EditHistory() = default;

void EditHistory::SetMemory(std::pmr::memory_resource& memory) {
    Clear();
    m_memory = &memory;
    // Containers of different resources may not be swapped or moved into
    // each other: the deque is made anew on the new one.
    m_steps.emplace(m_memory);
}

void EditHistory::SetLimit(std::optional<uint64_t> bytes) { m_limit = bytes; }

void EditHistory::Clear() {
    m_steps->clear();
    m_done = 0;
    m_open = false;
    m_kept = 0;
}

void EditHistory::Lose() {
    Clear();
    m_lost = true;
}

uint64_t EditHistory::Limit(uint32_t size) const {
    if (m_limit) return *m_limit;
    return std::min(std::max(MIN_LIMIT, uint64_t(size) / 4), MAX_LIMIT);
}

// ---- Recording ------------------------------------------------------------------

void EditHistory::Begin(Kind kind, const Selection& now) {
    if (m_open && kind == Kind::Typing && (*m_steps)[m_done - 1].kind == Kind::Typing) return;
    Seal(now);
    m_next = Next{kind, now};
}

void EditHistory::Seal(const Selection& now) {
    m_next.reset();
    m_lost = false;
    if (!m_open) return;
    (*m_steps)[m_done - 1].after = now;
    m_open = false;
}

void EditHistory::Inserted(const ByteImage& image, uint32_t position, uint32_t count,
                           const Selection& now) {
    Record(image, Step::Change::Insert, position, count, false, now);
}

void EditHistory::WillErase(const ByteImage& image, uint32_t first, uint32_t count,
                            const Selection& now) {
    Record(image, Step::Change::Erase, first, count, true, now);
}

void EditHistory::WillOverwrite(const ByteImage& image, uint32_t position, uint32_t count,
                                const Selection& now) {
    Record(image, Step::Change::Overwrite, position, count, true, now);
}

void EditHistory::Record(const ByteImage& image, Step::Change change, uint32_t position,
                         uint32_t count, bool keepBytes, const Selection& now) {
    if (count == 0 || m_lost || m_limit == uint64_t(0)) return;
    bool grow = false;
    if (!StepFor(change, position, now, grow)) return;
    if (!MakeRoom(image.Size(), keepBytes ? count : 0)) return;
    Step& step = (*m_steps)[m_done - 1];
    if (keepBytes && !Keep(step.bytes, image, position, count)) return Lose();
    if (!grow) step.whole = change == Step::Change::Erase && count == image.Size();
    step.count += count;
}

EditHistory::Step* EditHistory::StepFor(Step::Change change, uint32_t position,
                                        const Selection& now, bool& grow) {
    if (m_open) {
        Step& open = (*m_steps)[m_done - 1];
        grow = open.kind == Kind::Typing && open.change == change &&
               position == open.position + open.count;
        if (grow) return &open;
    }
    const Next next = m_next.value_or(Next{Kind::Other, now});
    Seal(now);
    // What could have been taken again is gone once something else is done.
    while (m_steps->size() > m_done) {
        m_kept -= m_steps->back().bytes.size();
        m_steps->pop_back();
    }
    try {
        m_steps->push_back(
            Step{change, next.kind, false, position, 0, Bytes(m_memory), next.before, next.before});
    } catch (const std::bad_alloc&) {
        Lose();
        return nullptr;
    }
    ++m_done;
    m_open = true;
    return &m_steps->back();
}

bool EditHistory::MakeRoom(uint32_t imageSize, uint64_t n) {
    const uint64_t limit = Limit(imageSize);
    // The open step is the newest: older ones go first, and when it is the
    // only one left and still too large, no step is kept.
    while (m_kept + n > limit) {
        if (m_steps->size() == 1) {
            Lose();
            return false;
        }
        DropOldest();
    }
    return true;
}

void EditHistory::Trim(uint32_t imageSize) {
    const uint64_t limit = Limit(imageSize);
    while (m_kept > limit && !m_steps->empty()) DropOldest();
}

void EditHistory::DropOldest() {
    m_kept -= m_steps->front().bytes.size();
    m_steps->pop_front();
    if (m_done > 0) --m_done;
    if (m_done == 0) m_open = false;
}

bool EditHistory::Keep(Bytes& kept, const ByteImage& image, uint32_t position, uint32_t count) {
    try {
        kept.insert(kept.end(), image.Data() + position, image.Data() + position + count);
    } catch (const std::bad_alloc&) {
        return false;
    }
    m_kept += count;
    return true;
}

void EditHistory::Forget(Bytes& kept) {
    m_kept -= kept.size();
    Bytes(m_memory).swap(kept);
}

// ---- Taking steps back and again --------------------------------------------------

EditHistory::Result EditHistory::Undo(ByteImage& image, const Selection& now, Selection& restored) {
    Seal(now);
    if (m_done == 0) return Result::Nothing;
    Step& step = (*m_steps)[m_done - 1];
    const Result result = Revert(image, step);
    if (result != Result::Done) return result;
    restored = step.before;
    --m_done;
    Trim(image.Size());
    return result;
}

EditHistory::Result EditHistory::Redo(ByteImage& image, const Selection& now, Selection& restored) {
    Seal(now);
    if (m_done == m_steps->size()) return Result::Nothing;
    Step& step = (*m_steps)[m_done];
    const Result result = Reapply(image, step);
    if (result != Result::Done) return result;
    restored = step.after;
    ++m_done;
    Trim(image.Size());
    return result;
}

bool EditHistory::PutBack(ByteImage& image, const Step& step) {
    if (!step.whole) {
        return image.Insert(step.position, step.bytes.data(), step.count) == ByteImage::Edit::Done;
    }
    if (!image.Allocate(step.count)) return false;
    image.Overwrite(0, step.bytes.data(), step.count);
    return true;
}

EditHistory::Result EditHistory::Revert(ByteImage& image, Step& step) {
    switch (step.change) {
        case Step::Change::Insert:
            if (!Keep(step.bytes, image, step.position, step.count)) return Result::NoMemory;
            image.Erase(step.position, step.count);
            break;
        case Step::Change::Erase:
            if (!PutBack(image, step)) return Result::NoMemory;
            Forget(step.bytes);
            break;
        case Step::Change::Overwrite:
            image.Exchange(step.position, step.bytes.data(), step.count);
            break;
    }
    return Result::Done;
}

EditHistory::Result EditHistory::Reapply(ByteImage& image, Step& step) {
    switch (step.change) {
        case Step::Change::Insert:
            if (!PutBack(image, step)) return Result::NoMemory;
            Forget(step.bytes);
            break;
        case Step::Change::Erase:
            if (!Keep(step.bytes, image, step.position, step.count)) return Result::NoMemory;
            if (step.whole) image.Release();
            else image.Erase(step.position, step.count);
            break;
        case Step::Change::Overwrite:
            image.Exchange(step.position, step.bytes.data(), step.count);
            break;
    }
    return Result::Done;
}
