#include "hosts/headless/Raster.h"

#include <algorithm>
#include <cstdio>

using platform::Color;
using platform::Rect;

namespace headless {

Raster::Raster(int width, int height, Color fill)
    : m_width(width > 0 ? width : 0),
      m_height(height > 0 ? height : 0),
      m_pixels(size_t(m_width) * size_t(m_height), fill.Packed()) {}

Color Raster::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return {};
    const uint32_t p = m_pixels[size_t(y) * m_width + x];
    return platform::Rgb(int((p >> 16) & 0xFF), int((p >> 8) & 0xFF), int(p & 0xFF));
}

void Raster::Set(int x, int y, Color colour) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
    m_pixels[size_t(y) * m_width + x] = colour.Packed();
}

void Raster::Fill(const Rect& rect, Color colour, const Rect& clip) {
    const Rect r = rect.Intersect(clip).Intersect(Bounds());
    const uint32_t packed = colour.Packed();
    if (r.IsEmpty()) return;
    for (int y = r.top; y < r.bottom; ++y) {
        std::fill_n(&m_pixels[size_t(y) * m_width + size_t(r.left)], r.Width(), packed);
    }
}

void Raster::CopyFrom(const Raster& source, platform::Point origin, const Rect& region) {
    const Rect placed{origin.x, origin.y, origin.x + source.Width(), origin.y + source.Height()};
    const Rect r = placed.Intersect(region).Intersect(Bounds());
    if (r.IsEmpty()) return;
    for (int y = r.top; y < r.bottom; ++y) {
        const uint32_t* from =
            &source.m_pixels[size_t(y - origin.y) * source.m_width + size_t(r.left - origin.x)];
        std::copy_n(from, r.Width(), &m_pixels[size_t(y) * m_width + size_t(r.left)]);
    }
}

int Raster::Count(const Rect& rect, Color colour) const {
    const Rect r = rect.Intersect(Bounds());
    const uint32_t packed = colour.Packed();
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) n += m_pixels[size_t(y) * m_width + x] == packed;
    }
    return n;
}

bool Raster::WritePpm(const std::string& path) const {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    std::fprintf(f, "P6\n%d %d\n255\n", m_width, m_height);
    for (uint32_t p : m_pixels) {
        const unsigned char rgb[3] = {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)};
        std::fwrite(rgb, 1, 3, f);
    }
    return std::fclose(f) == 0;
}

}  // namespace headless
