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
#include "platform/InkIndex.h"
#include "platform/Shapes.h"

namespace qthost {

class GlyphBatch {
public:
    /// A batch for an image of the given size; glyphs outside it are dropped.
    explicit GlyphBatch(QSize canvas);

    /// True when area takes in a pixel that a held-back glyph will change.
    bool Touches(const platform::Rect& area) const { return m_ink.Touches(area); }
    /// Holds back a line of visible characters drawn from baseline in
    /// colour; first draws what is held when the line's ink meets a
    /// held-back glyph of another font or colour.
    void Add(QPainter& painter, const LatinGlyphs& glyphs, QRgb colour, const std::string& shown,
             QPoint baseline);
    /// Draws every held-back glyph and forgets them.
    void Flush(QPainter& painter);

private:
    static constexpr int kNone = platform::InkIndex::kNone;

    struct Run {
        const LatinGlyphs* glyphs;
        QRgb colour;
        QList<quint32> indexes;
        QList<QPointF> positions;
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

    int RunOf(const LatinGlyphs* glyphs, QRgb colour) const;

    std::vector<Run> m_runs;
    std::unordered_map<RunKey, int, RunKeyHash> m_runIndex;
    platform::InkIndex m_ink;
};

}  // namespace qthost
