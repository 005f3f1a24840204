// A font as the core names it: a face and a size in tenths of a point. Each
// front end resolves it to a real font; the core never sees glyph data.
#pragma once

#include <string>

namespace platform {

struct Font {
    std::string face;
    int pointTenths = 0;  // 100 = 10.0 pt

    bool IsValid() const { return pointTenths > 0 && !face.empty(); }
    friend bool operator==(const Font& a, const Font& b) {
        return a.face == b.face && a.pointTenths == b.pointTenths;
    }
};

/// A point-size font, as created for a screen device context.
inline Font CreatePointFont(int pointTenths, const std::string& face) {
    return Font{face, pointTenths};
}

}  // namespace platform
