#include "hosts/win32/GdiSurface.h"

using namespace platform;

namespace win32host {

COLORREF ToColorRef(Color colour) { return RGB(colour.r, colour.g, colour.b); }

RECT ToRect(const Rect& rect) { return RECT{rect.left, rect.top, rect.right, rect.bottom}; }

GdiSurface::GdiSurface(HDC dc, FontCache& fonts)
    : m_dc(dc), m_fonts(fonts), m_originalFont(::GetCurrentObject(dc, OBJ_FONT)) {}

GdiSurface::~GdiSurface() {
    if (m_originalFont) ::SelectObject(m_dc, m_originalFont);
}

void GdiSurface::FillArea(const Rect& rect, Color colour) {
    ::SetBkColor(m_dc, ToColorRef(colour));
    const RECT r = ToRect(rect);
    ::ExtTextOutW(m_dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void GdiSurface::FontChanged() {
    if (HFONT font = m_fonts.Get(m_font)) ::SelectObject(m_dc, font);
}

void GdiSurface::ApplyState() {
    ::SetTextColor(m_dc, ToColorRef(m_text));
    ::SetBkColor(m_dc, ToColorRef(m_bk));
    ::SetBkMode(m_dc, int(m_mode));
}

int GdiSurface::DrawTextInRect(const std::string& text, const Rect& rect, unsigned format) {
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
      GdiSurface(m_memoryDc.get(), fonts),
      m_size(size) {}

}  // namespace win32host
