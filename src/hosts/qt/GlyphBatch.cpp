#include "hosts/qt/GlyphBatch.h"

#include <QGlyphRun>

#include <algorithm>

using platform::Rect;

namespace qthost {

GlyphBatch::GlyphBatch(QSize canvas)
    : m_canvas{0, 0, canvas.width(), canvas.height()},
      m_columns((canvas.width() + kTile - 1) / kTile),
      m_newestInk(size_t(m_columns) * size_t((canvas.height() + kTile - 1) / kTile), kNone) {}

Rect GlyphBatch::TilesOf(const Rect& area) const {
    const Rect inside = area.Intersect(m_canvas);
    if (inside.IsEmpty()) return {};
    return {inside.left / kTile, inside.top / kTile, (inside.right - 1) / kTile + 1,
            (inside.bottom - 1) / kTile + 1};
}

bool GlyphBatch::Touches(const Rect& area, int except) const {
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

int GlyphBatch::RunOf(const LatinGlyphs* glyphs, QRgb colour) const {
    const auto found = m_runIndex.find({glyphs, colour});
    return found == m_runIndex.end() ? kNone : found->second;
}

void GlyphBatch::Add(QPainter& painter, const LatinGlyphs& glyphs, QRgb colour,
                     const std::string& shown, QPoint baseline) {
    const Rect ink = glyphs.InkOf(shown, baseline).Intersect(m_canvas);
    if (ink.IsEmpty()) return;  // nothing of it would show

    int run = RunOf(&glyphs, colour);
    if (Touches(ink, run)) {
        Flush(painter);
        run = kNone;
    }
    if (run == kNone) {
        run = int(m_runs.size());
        m_runs.push_back({&glyphs, colour, {}, {}});
        m_runIndex.emplace(RunKey{&glyphs, colour}, run);
    }
    glyphs.Place(shown, baseline, m_runs[size_t(run)].indexes, m_runs[size_t(run)].positions);

    const Rect tiles = TilesOf(ink);
    for (int row = tiles.top; row < tiles.bottom; ++row) {
        for (int col = tiles.left; col < tiles.right; ++col) {
            int& newest = m_newestInk[size_t(row * m_columns + col)];
            m_inks.push_back({ink, run, newest});
            newest = int(m_inks.size()) - 1;
        }
    }
}

void GlyphBatch::Flush(QPainter& painter) {
    for (const Run& run : m_runs) {
        QGlyphRun glyphRun;
        glyphRun.setRawFont(run.glyphs->raw);
        glyphRun.setGlyphIndexes(run.indexes);
        glyphRun.setPositions(run.positions);
        painter.setPen(QColor(run.colour));
        painter.drawGlyphRun(QPointF(0, 0), glyphRun);
    }
    m_runs.clear();
    m_runIndex.clear();
    m_inks.clear();
    std::fill(m_newestInk.begin(), m_newestInk.end(), kNone);
}

}  // namespace qthost
