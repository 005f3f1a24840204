// The drawing surface over a GDI device context: the memory device context
// of one paint's off-screen bitmap, or a window's context for measuring. The
// context's state is StatefulSurface's, given to the context as text is
// drawn.
// Text is drawn and measured as the ANSI functions do, so the image's bytes
// show as the system's code page renders them. On a buffer, single lines of
// an outline font are held back and drawn in batches (GdiTextBatch), with
// the same picture as drawing each the moment it is asked for; the rest is
// drawn at once by DrawTextA.
#pragma once

#include <windows.h>

#include <memory>

#include "hosts/win32/FontCache.h"
#include "hosts/win32/GdiTextBatch.h"
#include "platform/StatefulSurface.h"

namespace win32host {

class GdiSurface : public platform::StatefulSurface {
public:
    /// Draws through dc, which the caller keeps alive longer than the
    /// surface; fonts come from fonts. Text is held back only on a canvas
    /// of a size (a buffer). The font selected at the start is selected
    /// back at the end.
    GdiSurface(HDC dc, FontCache& fonts, platform::Size canvas = {});
    ~GdiSurface() override;
    GdiSurface(const GdiSurface&) = delete;
    GdiSurface& operator=(const GdiSurface&) = delete;

    /// The context with everything asked for drawn in it.
    HDC Dc() {
        FlushText();
        return m_dc;
    }

    int DrawTextInRect(const std::string& text, const platform::Rect& rect,
                       unsigned format) override;
    platform::Size GetTextExtent(const std::string& text) override;

private:
    void FillArea(const platform::Rect& rect, platform::Color colour) override;
    void FontChanged() override;
    /// Gives the context the surface's colours and background mode.
    void ApplyState();
    /// True for text the batch can hold back: one line that DrawTextA
    /// would draw as it stands, in a font whose glyphs are all known.
    bool CanHoldBack(const std::string& text, unsigned format) const;
    /// Draws held-back text; the context keeps the surface's font.
    void FlushText();

    HDC m_dc;
    FontCache& m_fonts;
    HGDIOBJ m_originalFont;
    bool m_holdsBack;
    const AnsiGlyphs* m_glyphs = nullptr;  // of the current font, when holding back
    GdiTextBatch m_batch;
};

/// A memory device context holding a bitmap of its own; the bitmap is
/// deselected before either is deleted.
class MemoryBitmap {
public:
    MemoryBitmap(UniqueMemoryDc dc, UniqueBitmap bitmap);
    ~MemoryBitmap();
    MemoryBitmap(const MemoryBitmap&) = delete;
    MemoryBitmap& operator=(const MemoryBitmap&) = delete;

protected:
    UniqueMemoryDc m_memoryDc;
    UniqueBitmap m_bitmap;
    HGDIOBJ m_previousBitmap;
};

/// A paint's off-screen buffer: a memory device context compatible with the
/// window's, holding a compatible bitmap of the buffer's size. The surface
/// ends (its font deselected) before the context and bitmap are deleted.
class BufferSurface final : private MemoryBitmap, public GdiSurface {
public:
    /// Null when the size is empty or the context or bitmap cannot be made.
    static std::unique_ptr<BufferSurface> Create(HDC compatibleWith, platform::Size size,
                                                 FontCache& fonts);
    platform::Size Size() const { return m_size; }

private:
    BufferSurface(UniqueMemoryDc dc, UniqueBitmap bitmap, platform::Size size, FontCache& fonts);

    platform::Size m_size;
};

COLORREF ToColorRef(platform::Color colour);
RECT ToRect(const platform::Rect& rect);

}  // namespace win32host
