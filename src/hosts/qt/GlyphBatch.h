// Text held back during a paint and drawn as one glyph run per font and
// colour, since each drawing call costs far more than the few glyphs it
// carries. The picture stays what drawing each text at once would give: the
// batch knows the pixels its glyphs will change, so whatever would paint
// over them, or under them in another colour, can have them drawn first.
#pragma once

#include <QList>
#include <QPainter>
#include <QPointF>
#include <QRgb>

#include <string>
#include <unordered_map>
#include <vector>

#include "hosts/qt/LatinGlyphs.h"
#include "platform/Geometry.h"

namespace qthost {

class GlyphBatch {
public:
    /// A batch for an image of the given size; glyphs outside it are dropped.
    explicit GlyphBatch(QSize canvas);

    /// True when area takes in a pixel that a held-back glyph will change.
    bool Touches(const platform::Rect& area) const { return Touches(area, kNone); }
    /// Holds back a line of visible characters drawn from baseline in
    /// colour; first draws what is held when the line's ink meets a
    /// held-back glyph of another font or colour.
    void Add(QPainter& painter, const LatinGlyphs& glyphs, QRgb colour, const std::string& shown,
             QPoint baseline);
    /// Draws every held-back glyph and forgets them.
    void Flush(QPainter& painter);

private:
    static constexpr int kNone = -1;
    static constexpr int kTile = 32;

    struct Run {
        const LatinGlyphs* glyphs;
        QRgb colour;
        QList<quint32> indexes;
        QList<QPointF> positions;
    };
    /// Where a run's glyphs change pixels, filed under every tile it meets:
    /// each tile's entries are a list through `next`, newest first.
    struct Ink {
        platform::Rect rect;
        int run;
        int next;
    };

    struct RunKey {
        const LatinGlyphs* glyphs;
        QRgb colour;
        bool operator==(const RunKey&) const = default;
    };
    struct RunKeyHash {
        size_t operator()(const RunKey& k) const {
            return std::hash<const void*>()(k.glyphs) ^ (size_t(k.colour) * 0x9E3779B97F4A7C15u);
        }
    };

    /// True when area meets the ink of a run other than except.
    bool Touches(const platform::Rect& area, int except) const;
    int RunOf(const LatinGlyphs* glyphs, QRgb colour) const;
    /// The tiles area meets, as column and row ranges clamped to the grid.
    platform::Rect TilesOf(const platform::Rect& area) const;

    platform::Rect m_canvas;
    int m_columns;
    std::vector<Run> m_runs;
    std::unordered_map<RunKey, int, RunKeyHash> m_runIndex;
    std::vector<Ink> m_inks;
    std::vector<int> m_newestInk;  // per tile, or kNone
};

}  // namespace qthost
