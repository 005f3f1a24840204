// A plain RGB pixel buffer that tests read and that can be written out as
// an image for eyeballing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Shapes.h"

namespace headless {

class Raster {
public:
    Raster() = default;
    Raster(int width, int height, platform::Color fill = {});

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    platform::Rect Bounds() const { return {0, 0, m_width, m_height}; }

    platform::Color At(int x, int y) const;
    void Set(int x, int y, platform::Color colour);
    /// Fills rect clipped to clip and to the raster.
    void Fill(const platform::Rect& rect, platform::Color colour, const platform::Rect& clip);
    /// Copies the part of source inside region to the same place here.
    void CopyFrom(const Raster& source, platform::Point origin, const platform::Rect& region);

    /// Number of pixels of the given colour inside rect.
    int Count(const platform::Rect& rect, platform::Color colour) const;
    /// Writes a binary PPM (P6) file; false on failure.
    bool WritePpm(const std::string& path) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<uint32_t> m_pixels;
};

}  // namespace headless
