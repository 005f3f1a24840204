#include "hosts/qt/GlyphBatch.h"

#include <QGlyphRun>

using platform::Rect;

namespace qthost {

GlyphBatch::GlyphBatch(QSize canvas) : m_ink({canvas.width(), canvas.height()}) {}

int GlyphBatch::RunOf(const LatinGlyphs* glyphs, QRgb colour) const {
    const auto found = m_runIndex.find({glyphs, colour});
    return found == m_runIndex.end() ? kNone : found->second;
}

void GlyphBatch::Add(QPainter& painter, const LatinGlyphs& glyphs, QRgb colour,
                     const std::string& shown, QPoint baseline) {
    const Rect ink = glyphs.InkOf(shown, baseline).Intersect(m_ink.Canvas());
    if (ink.IsEmpty()) return;  // nothing of it would show

    int run = RunOf(&glyphs, colour);
    if (m_ink.Touches(ink, run)) {
        Flush(painter);
        run = kNone;
    }
    if (run == kNone) {
        run = int(m_runs.size());
        m_runs.push_back({&glyphs, colour, {}, {}});
        m_runIndex.emplace(RunKey{&glyphs, colour}, run);
    }
    glyphs.Place(shown, baseline, m_runs[size_t(run)].indexes, m_runs[size_t(run)].positions);

    m_ink.Add(ink, run);
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
    m_ink.Clear();
}

}  // namespace qthost
