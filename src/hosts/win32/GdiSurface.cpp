#include "hosts/win32/GdiSurface.h"

using namespace platform;

namespace win32host {

COLORREF ToColorRef(Color colour) { return RGB(colour.r, colour.g, colour.b); }

Color FromColorRef(COLORREF colour) {
    return Rgb(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

RECT ToRect(const Rect& rect) { return RECT{rect.left, rect.top, rect.right, rect.bottom}; }

GdiSurface::GdiSurface(HDC dc, FontCache& fonts)
    : m_dc(dc), m_fonts(fonts), m_originalFont(::GetCurrentObject(dc, OBJ_FONT)) {}

GdiSurface::~GdiSurface() {
    if (m_originalFont) ::SelectObject(m_dc, m_originalFont);
}

void GdiSurface::FillArea(const Rect& rect, Color colour) {
    if (rect.IsEmpty()) return;
    const COLORREF previous = ::SetBkColor(m_dc, ToColorRef(colour));
    const RECT r = ToRect(rect);
    ::ExtTextOutW(m_dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    ::SetBkColor(m_dc, previous);
}

void GdiSurface::FillSolidRect(const Rect& rect, Color colour) {
    ::SetBkColor(m_dc, ToColorRef(colour));
    const RECT r = ToRect(rect);
    if (!rect.IsEmpty()) ::ExtTextOutW(m_dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void GdiSurface::FrameRect(const Rect& r, Color colour) {
    if (r.IsEmpty()) return;
    FillArea({r.left, r.top, r.right, r.top + 1}, colour);
    FillArea({r.left, r.bottom - 1, r.right, r.bottom}, colour);
    FillArea({r.left, r.top, r.left + 1, r.bottom}, colour);
    FillArea({r.right - 1, r.top, r.right, r.bottom}, colour);
}

void GdiSurface::Draw3dRect(const Rect& r, Color topLeft, Color bottomRight) {
    FillArea({r.left, r.top, r.right - 1, r.top + 1}, topLeft);
    FillArea({r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
    FillArea({r.right - 1, r.top, r.right, r.bottom}, bottomRight);
    FillArea({r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    ::SetBkColor(m_dc, ToColorRef(bottomRight));
}

Color GdiSurface::SetTextColor(Color colour) {
    return FromColorRef(::SetTextColor(m_dc, ToColorRef(colour)));
}

Color GdiSurface::SetBkColor(Color colour) {
    return FromColorRef(::SetBkColor(m_dc, ToColorRef(colour)));
}

BkMode GdiSurface::SetBkMode(BkMode mode) {
    return ::SetBkMode(m_dc, int(mode)) == TRANSPARENT ? BkMode::Transparent : BkMode::Opaque;
}

Font GdiSurface::SelectFont(const Font& font) {
    HGDIOBJ chosen = font.IsValid() ? m_fonts.Get(font) : m_originalFont;
    if (!chosen) return m_font;  // the font cannot be made: keep the current one
    ::SelectObject(m_dc, chosen);
    Font previous = m_font;
    m_font = font;
    return previous;
}

int GdiSurface::DrawTextInRect(const std::string& text, const Rect& rect, unsigned format) {
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
      GdiSurface(m_memoryDc.get(), fonts),
      m_size(size) {}

}  // namespace win32host
