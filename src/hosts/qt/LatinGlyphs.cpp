#include "hosts/qt/LatinGlyphs.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <map>
#include <memory>

#include "platform/TextLayout.h"

using platform::Rect;

namespace qthost {

namespace {

/// Everything: the ink of a glyph that reaches past the measuring image.
constexpr Rect kUnbounded{-(1 << 28), -(1 << 28), 1 << 28, 1 << 28};

/// Finds the pixels each glyph changes by drawing it white on black, where
/// any coverage at all shows, with its origin a line height inside a canvas.
/// The glyph cache draws at whole pixels, so the answer holds wherever the
/// glyph is drawn.
void MeasureInk(LatinGlyphs& table, int lineHeight) {
    const int margin = lineHeight;
    const int widest = *std::max_element(table.advance.begin(), table.advance.end());
    QImage canvas(widest + 2 * margin, 2 * margin, QImage::Format_RGB32);
    QPainter p(&canvas);
    p.setPen(Qt::white);
    const QRgb black = QColor(Qt::black).rgb();
    for (int c = 0x20; c < 0x100; ++c) {
        if (table.glyph[c] == 0) continue;
        p.fillRect(canvas.rect(), Qt::black);
        QGlyphRun run;
        run.setRawFont(table.raw);
        run.setGlyphIndexes({table.glyph[c]});
        run.setPositions({QPointF(margin, margin)});
        p.drawGlyphRun(QPointF(0, 0), run);

        Rect ink;
        for (int y = 0; y < canvas.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
            for (int x = 0; x < canvas.width(); ++x) {
                if (line[x] == black) continue;
                const bool edge = x == 0 || y == 0 || x == canvas.width() - 1 ||
                                  y == canvas.height() - 1;
                ink = ink.Union(edge ? kUnbounded
                                     : Rect{x - margin, y - margin, x - margin + 1, y - margin + 1});
            }
        }
        table.ink[c] = ink;
    }
}

std::unique_ptr<LatinGlyphs> Build(const QFont& font) {
    auto table = std::make_unique<LatinGlyphs>();
    table->raw = QRawFont::fromFont(font);
    const QFontMetrics metrics(font);
    for (int c = 0x20; c < 0x100; ++c) {
        if (platform::IsControlCharacter(static_cast<unsigned char>(c))) continue;
        const QString ch = QString(QChar(char16_t(c)));
        const QList<quint32> indexes = table->raw.glyphIndexesForString(ch);
        table->glyph[c] = indexes.isEmpty() ? 0 : indexes.front();
        table->advance[c] = metrics.horizontalAdvance(ch);
        if (table->glyph[c] == 0) table->complete = false;
    }
    table->complete = table->complete && table->raw.isValid();
    if (table->complete) MeasureInk(*table, metrics.height());
    return table;
}

}  // namespace

int LatinGlyphs::WidthOf(const std::string& shown) const {
    int w = 0;
    for (unsigned char c : shown) w += advance[c];
    return w;
}

Rect LatinGlyphs::InkOf(const std::string& shown, QPoint baseline) const {
    Rect all;
    int x = baseline.x();
    for (unsigned char c : shown) {
        const Rect& g = ink[c];
        if (!g.IsEmpty()) {
            all = all.Union({x + g.left, baseline.y() + g.top, x + g.right, baseline.y() + g.bottom});
        }
        x += advance[c];
    }
    return all;
}

void LatinGlyphs::Place(const std::string& shown, QPoint baseline, QList<quint32>& indexes,
                        QList<QPointF>& positions) const {
    int x = baseline.x();
    for (unsigned char c : shown) {
        if (!ink[c].IsEmpty()) {
            indexes.push_back(glyph[c]);
            positions.push_back(QPointF(x, baseline.y()));
        }
        x += advance[c];
    }
}

const LatinGlyphs& LatinGlyphsOf(const QFont& font) {
    // Kept for the life of the process: font engines must not be released
    // after the application object is gone.
    static auto& cache = *new std::map<QString, std::unique_ptr<LatinGlyphs>>;
    std::unique_ptr<LatinGlyphs>& entry = cache[font.key()];
    if (!entry) entry = Build(font);
    return *entry;
}

}  // namespace qthost
