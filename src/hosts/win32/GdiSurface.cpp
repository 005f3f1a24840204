#include "hosts/win32/GdiSurface.h"

using namespace platform;

namespace win32host {

COLORREF ToColorRef(Color colour) { return RGB(colour.r, colour.g, colour.b); }

RECT ToRect(const Rect& rect) { return RECT{rect.left, rect.top, rect.right, rect.bottom}; }

namespace {

bool Encloses(const Rect& outer, const Rect& inner) {
    return inner.IsEmpty() || (outer.left <= inner.left && outer.top <= inner.top &&
                               inner.right <= outer.right && inner.bottom <= outer.bottom);
}

}  // namespace

GdiSurface::GdiSurface(HDC dc, FontCache& fonts, platform::Size canvas)
    : m_dc(dc),
      m_fonts(fonts),
      m_originalFont(::GetCurrentObject(dc, OBJ_FONT)),
      m_holdsBack(canvas.cx > 0 && canvas.cy > 0),
      m_batch(canvas) {}

GdiSurface::~GdiSurface() {
    FlushText();
    if (m_originalFont) ::SelectObject(m_dc, m_originalFont);
}

void GdiSurface::FlushText() {
    if (m_batch.Empty()) return;
    m_batch.Flush(m_dc);
    FontChanged();
}

void GdiSurface::FillArea(const Rect& rect, Color colour) {
    if (m_holdsBack && m_batch.Touches(rect)) FlushText();
    ::SetBkColor(m_dc, ToColorRef(colour));
    const RECT r = ToRect(rect);
    ::ExtTextOutW(m_dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void GdiSurface::FontChanged() {
    HFONT font = m_fonts.Get(m_font);
    if (font) ::SelectObject(m_dc, font);
    m_glyphs = font && m_holdsBack ? &m_fonts.GlyphsOf(m_font, m_dc) : nullptr;
}

void GdiSurface::ApplyState() {
    ::SetTextColor(m_dc, ToColorRef(m_text));
    ::SetBkColor(m_dc, ToColorRef(m_bk));
    ::SetBkMode(m_dc, int(m_mode));
}

bool GdiSurface::CanHoldBack(const std::string& text, unsigned format) const {
    if (!m_glyphs || !m_glyphs->complete || (format & ~(dt::SingleLine | dt::NoPrefix)) != 0) {
        return false;
    }
    const bool prefixes = (format & dt::NoPrefix) == 0;
    for (char c : text) {
        if (c == '\0' || c == '\r' || c == '\n' || (prefixes && c == '&')) return false;
    }
    return !text.empty();
}

int GdiSurface::DrawTextInRect(const std::string& text, const Rect& rect, unsigned format) {
    if (CanHoldBack(text, format)) {
        // As DrawTextA draws one line from the rectangle's top left: in
        // opaque mode the line's cells filled, the glyphs cut to the rectangle.
        const Rect extent{rect.left, rect.top, rect.left + m_glyphs->Advance(text),
                          rect.top + m_glyphs->height};
        const Rect ink = m_glyphs->InkOf(text, rect.left, rect.top);
        if (Encloses(rect, ink)) {
            if (m_mode == BkMode::Opaque && !extent.Intersect(rect).IsEmpty()) {
                FillArea(extent.Intersect(rect), m_bk);
            }
            m_batch.Add(m_dc, m_fonts.Get(m_font), ToColorRef(m_text), *m_glyphs, text, rect.left,
                        rect.top, ink);
            return m_glyphs->height;
        }
    }
    // Empty text draws nothing, so nothing held back need come first.
    if (!text.empty()) FlushText();
    ApplyState();
    RECT r = ToRect(rect);
    return ::DrawTextA(m_dc, text.data(), int(text.size()), &r, format);
}

Size GdiSurface::GetTextExtent(const std::string& text) {
    SIZE size{};
    ::GetTextExtentPoint32A(m_dc, text.data(), int(text.size()), &size);
    return {int(size.cx), int(size.cy)};
}

std::unique_ptr<BufferSurface> BufferSurface::Create(HDC compatibleWith, platform::Size size,
                                                     FontCache& fonts) {
    if (size.cx <= 0 || size.cy <= 0) return nullptr;
    UniqueMemoryDc dc(::CreateCompatibleDC(compatibleWith));
    if (!dc) return nullptr;
    UniqueBitmap bitmap(::CreateCompatibleBitmap(compatibleWith, size.cx, size.cy));
    if (!bitmap) return nullptr;
    return std::unique_ptr<BufferSurface>(
        new BufferSurface(std::move(dc), std::move(bitmap), size, fonts));
}

MemoryBitmap::MemoryBitmap(UniqueMemoryDc dc, UniqueBitmap bitmap)
    : m_memoryDc(std::move(dc)),
      m_bitmap(std::move(bitmap)),
      m_previousBitmap(::SelectObject(m_memoryDc.get(), m_bitmap.get())) {}

MemoryBitmap::~MemoryBitmap() {
    if (m_previousBitmap) ::SelectObject(m_memoryDc.get(), m_previousBitmap);
}

BufferSurface::BufferSurface(UniqueMemoryDc dc, UniqueBitmap bitmap, platform::Size size,
                             FontCache& fonts)
    : MemoryBitmap(std::move(dc), std::move(bitmap)),
      GdiSurface(m_memoryDc.get(), fonts, size),
      m_size(size) {}

}  // namespace win32host
