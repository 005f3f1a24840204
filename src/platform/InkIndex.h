// Where held-back text will change pixels, for surfaces that draw text in
// batches: each batch run's ink rectangles, filed under the tiles of the
// canvas they meet, so that asking whether an area meets any of them costs
// only the few entries of its own tiles.
#pragma once

#include <vector>

#include "platform/Shapes.h"

namespace platform {

class InkIndex {
public:
    static constexpr int kNone = -1;

    /// An index for a canvas of the given size; ink outside it is dropped.
    explicit InkIndex(Size canvas);

    const Rect& Canvas() const { return m_canvas; }
    /// True when area meets the ink of a run other than except.
    bool Touches(const Rect& area, int except = kNone) const;
    /// Files ink (already cut to the canvas) under run.
    void Add(const Rect& ink, int run);
    void Clear();

private:
    static constexpr int kTile = 32;

    struct Ink {
        Rect rect;
        int run;
        int next;  // the tile's next older entry, or kNone
    };

    /// The tiles area meets, as column and row ranges clamped to the grid.
    Rect TilesOf(const Rect& area) const;

    Rect m_canvas;
    int m_columns;
    std::vector<Ink> m_inks;
    std::vector<int> m_newestInk;  // per tile, or kNone
};

}  // namespace platform
