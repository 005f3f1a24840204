#include "platform/InkIndex.h"

#include <algorithm>

namespace platform {

InkIndex::InkIndex(Size canvas)
    : m_canvas{0, 0, std::max(canvas.cx, 0), std::max(canvas.cy, 0)},
      m_columns((m_canvas.right + kTile - 1) / kTile),
      m_newestInk(size_t(m_columns) * size_t((m_canvas.bottom + kTile - 1) / kTile), kNone) {}

Rect InkIndex::TilesOf(const Rect& area) const {
    const Rect inside = area.Intersect(m_canvas);
    if (inside.IsEmpty()) return {};
    return {inside.left / kTile, inside.top / kTile, (inside.right - 1) / kTile + 1,
            (inside.bottom - 1) / kTile + 1};
}

bool InkIndex::Touches(const Rect& area, int except) const {
    const Rect tiles = TilesOf(area);
    for (int row = tiles.top; row < tiles.bottom; ++row) {
        for (int col = tiles.left; col < tiles.right; ++col) {
            int i = m_newestInk[size_t(row * m_columns + col)];
            for (; i != kNone; i = m_inks[size_t(i)].next) {
                const Ink& ink = m_inks[size_t(i)];
                if (ink.run != except && !ink.rect.Intersect(area).IsEmpty()) return true;
            }
        }
    }
    return false;
}

void InkIndex::Add(const Rect& ink, int run) {
    const Rect tiles = TilesOf(ink);
    for (int row = tiles.top; row < tiles.bottom; ++row) {
        for (int col = tiles.left; col < tiles.right; ++col) {
            int& newest = m_newestInk[size_t(row * m_columns + col)];
            m_inks.push_back({ink, run, newest});
            newest = int(m_inks.size()) - 1;
        }
    }
}

void InkIndex::Clear() {
    m_inks.clear();
    std::fill(m_newestInk.begin(), m_newestInk.end(), kNone);
}

}  // namespace platform
