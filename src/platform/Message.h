// A window message as the core receives it, with the platform's packing of
// its two parameters.
#pragma once

#include <cstdint>

#include "platform/Shapes.h"

namespace platform {

using WParam = uintptr_t;
using LParam = intptr_t;
using LResult = intptr_t;

struct Message {
    unsigned message = 0;
    WParam wParam = 0;
    LParam lParam = 0;
};

/// Two signed 16-bit coordinates packed as the platform packs a client point.
constexpr LParam MakeLParam(int lo, int hi) {
    return LParam(uint32_t(uint16_t(lo)) | (uint32_t(uint16_t(hi)) << 16));
}
constexpr WParam MakeWParam(unsigned lo, unsigned hi) {
    return WParam(uint32_t(uint16_t(lo)) | (uint32_t(uint16_t(hi)) << 16));
}
constexpr unsigned LoWord(uintptr_t v) { return unsigned(v & 0xFFFF); }
constexpr unsigned HiWord(uintptr_t v) { return unsigned((v >> 16) & 0xFFFF); }
constexpr Point PointFromLParam(LParam lp) {
    return Point{int16_t(LoWord(uintptr_t(lp))), int16_t(HiWord(uintptr_t(lp)))};
}
constexpr LParam LParamFromPoint(Point p) { return MakeLParam(p.x, p.y); }

/// The signed wheel delta in the high word of wParam of msg::MouseWheel.
constexpr int WheelDelta(WParam w) { return int16_t(HiWord(w)); }
constexpr int WHEEL_NOTCH = 120;

}  // namespace platform
