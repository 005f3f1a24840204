// The image of the file: one heap block holding its bytes, with no gap and
// no spare capacity (unless a deletion could not get a smaller block). Every
// insertion or deletion resizes the block to the new length and moves every
// byte behind the edit point. Knows nothing
// of the view: selection, caret, messages and repaints are its caller's.
#pragma once

#include <cstdint>

#include "platform/Allocator.h"

class ByteImage {
public:
    /// The largest image held; sizes stay representable as non-negative
    /// 32-bit numbers everywhere.
    static constexpr uint32_t MAX_SIZE = 0x7FFFFFFF;

    /// What an edit that changes the length did.
    enum class Edit {
        Done,
        Refused,   // no image, or the position lies past the end: nothing changed
        TooLarge,  // the result would exceed MAX_SIZE: nothing changed
        NoMemory,  // the block could not be grown: nothing changed
    };

    explicit ByteImage(platform::Allocator& allocator) : m_pAllocator(&allocator) {}
    ~ByteImage() { Release(); }
    ByteImage(const ByteImage&) = delete;
    ByteImage& operator=(const ByteImage&) = delete;

    /// The block, null when there is no image, and its length. References
    /// that stay valid for the image's life, so a record can alias them.
    /// Read-only: every change of the bytes is one of the edits below.
    const uint8_t* const& Data() const { return m_pBlock; }
    const uint32_t& Size() const { return m_nSize; }
    /// Counts every change of the block or its bytes, from the start: equal
    /// counts mean an unchanged image.
    uint64_t ChangeCount() const { return m_nChanges; }

    /// Blocks come from allocator from now on; releases the image first,
    /// since its block belongs to the previous one.
    void SetAllocator(platform::Allocator& allocator);

    /// Replaces the image by a block of size bytes with unspecified
    /// contents (size 0 gives an empty image that exists). False, and no
    /// image, when the block cannot be had.
    bool Allocate(uint32_t size);
    /// Frees the block: no image, size 0.
    void Release();
    /// The block of an image just allocated, for its first contents (the
    /// file's bytes, or zeros), before anything else sees it.
    uint8_t* Fill();

    /// Opens count bytes at position (at most Size(); Size() appends) and
    /// copies bytes into them. On NoMemory the image is unchanged.
    Edit Insert(uint32_t position, const uint8_t* bytes, uint32_t count);
    /// Copies bytes over the image from position on, clipped at its end; the
    /// length never changes. Nothing happens without an image or past its end.
    void Overwrite(uint32_t position, const uint8_t* bytes, uint32_t count);
    /// Swaps the count bytes from position on (all inside the image) with
    /// those of bytes: what takes back an overwrite also takes it again.
    void Exchange(uint32_t position, uint8_t* bytes, uint32_t count);
    /// Removes count bytes from first on (first + count at most Size()).
    /// Never fails for memory: when no smaller block can be had, the old one
    /// keeps the remaining bytes, with room to spare behind Size().
    Edit Erase(uint32_t first, uint32_t count);

private:
    /// Resizes the block to size bytes; false leaves it as it was.
    bool Resize(uint32_t size);
    /// The block to change, counting the change.
    uint8_t* Change();

    platform::Allocator* m_pAllocator;
    const uint8_t* m_pBlock = nullptr;  // allocated writable; see Change
    uint32_t m_nSize = 0;
    uint64_t m_nChanges = 0;
};
