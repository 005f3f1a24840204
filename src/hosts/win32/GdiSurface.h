// The drawing surface over a GDI device context: the memory device context
// of one paint's off-screen bitmap, or a window's context for measuring.
// Text is drawn and measured with the ANSI functions, so the image's bytes
// show as the system's code page renders them.
#pragma once

#include <windows.h>

#include <memory>

#include "hosts/win32/FontCache.h"
#include "platform/Surface.h"

namespace win32host {

class GdiSurface : public platform::Surface {
public:
    /// Draws through dc, which the caller keeps alive longer than the
    /// surface; fonts come from fonts. The font selected at the start is
    /// selected back at the end.
    GdiSurface(HDC dc, FontCache& fonts);
    ~GdiSurface() override;
    GdiSurface(const GdiSurface&) = delete;
    GdiSurface& operator=(const GdiSurface&) = delete;

    HDC Dc() const { return m_dc; }

    void FillSolidRect(const platform::Rect& rect, platform::Color colour) override;
    void FrameRect(const platform::Rect& rect, platform::Color colour) override;
    void Draw3dRect(const platform::Rect& rect, platform::Color topLeft,
                    platform::Color bottomRight) override;
    platform::Color SetTextColor(platform::Color colour) override;
    platform::Color SetBkColor(platform::Color colour) override;
    platform::BkMode SetBkMode(platform::BkMode mode) override;
    /// A font that is not valid (the default Font{}) stands for the font the
    /// context had at the start.
    platform::Font SelectFont(const platform::Font& font) override;
    int DrawTextInRect(const std::string& text, const platform::Rect& rect,
                       unsigned format) override;
    platform::Size GetTextExtent(const std::string& text) override;

private:
    /// Fills rect with colour, leaving the background colour as it was.
    void FillArea(const platform::Rect& rect, platform::Color colour);

    HDC m_dc;
    FontCache& m_fonts;
    HGDIOBJ m_originalFont;
    platform::Font m_font;
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
platform::Color FromColorRef(COLORREF colour);
RECT ToRect(const platform::Rect& rect);

}  // namespace win32host
