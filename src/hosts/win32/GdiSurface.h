// The drawing surface over a GDI device context: the memory device context
// of one paint's off-screen bitmap, or a window's context for measuring. The
// context's state is StatefulSurface's, given to the context as text is
// drawn.
// Text is drawn and measured with the ANSI functions, so the image's bytes
// show as the system's code page renders them.
#pragma once

#include <windows.h>

#include <memory>

#include "hosts/win32/FontCache.h"
#include "platform/StatefulSurface.h"

namespace win32host {

class GdiSurface : public platform::StatefulSurface {
public:
    /// Draws through dc, which the caller keeps alive longer than the
    /// surface; fonts come from fonts. The font selected at the start is
    /// selected back at the end.
    GdiSurface(HDC dc, FontCache& fonts);
    ~GdiSurface() override;
    GdiSurface(const GdiSurface&) = delete;
    GdiSurface& operator=(const GdiSurface&) = delete;

    HDC Dc() const { return m_dc; }

    int DrawTextInRect(const std::string& text, const platform::Rect& rect,
                       unsigned format) override;
    platform::Size GetTextExtent(const std::string& text) override;

private:
    void FillArea(const platform::Rect& rect, platform::Color colour) override;
    void FontChanged() override;
    /// Gives the context the surface's colours and background mode.
    void ApplyState();

    HDC m_dc;
    FontCache& m_fonts;
    HGDIOBJ m_originalFont;
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
