// Value types shared by the core and every front end: points, sizes,
// rectangles (left, top, right, bottom; right and bottom exclusive) and
// 24-bit RGB colours.
#pragma once

#include <algorithm>
#include <cstdint>

namespace platform {

struct Point {
    int x = 0;
    int y = 0;
    friend constexpr bool operator==(Point a, Point b) { return a.x == b.x && a.y == b.y; }
};

struct Size {
    int cx = 0;
    int cy = 0;
    friend constexpr bool operator==(Size a, Size b) { return a.cx == b.cx && a.cy == b.cy; }
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    constexpr bool Contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    /// Smallest rectangle holding both; an empty operand does not count.
    constexpr Rect Union(const Rect& o) const {
        if (IsEmpty()) return o;
        if (o.IsEmpty()) return *this;
        return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right),
                std::max(bottom, o.bottom)};
    }
    /// Common part of both, or an empty rectangle.
    constexpr Rect Intersect(const Rect& o) const {
        Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
               std::min(bottom, o.bottom)};
        if (r.IsEmpty()) return {};
        return r;
    }
    friend constexpr bool operator==(const Rect& a, const Rect& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
};

/// A 24-bit colour.
struct Color {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    constexpr uint32_t Packed() const { return (uint32_t(r) << 16) | (uint32_t(g) << 8) | b; }
    friend constexpr bool operator==(Color x, Color y) {
        return x.r == y.r && x.g == y.g && x.b == y.b;
    }
};

constexpr Color Rgb(int r, int g, int b) { return Color{uint8_t(r), uint8_t(g), uint8_t(b)}; }

}  // namespace platform
