#include "hosts/qt/LatinGlyphs.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <utility>

#include "platform/TextLayout.h"

using platform::Rect;

namespace qthost {

namespace {

/// Everything: the ink of a glyph that reaches past the measuring image.
constexpr Rect kUnbounded{-(1 << 28), -(1 << 28), 1 << 28, 1 << 28};

/// The logical pixels a device pixel dx to the right of a glyph's origin
/// lies in (the same for rows). At a whole ratio the origin lands on a whole
/// device pixel wherever it is drawn; at a fractional one it is rounded to
/// one, and the answer takes in a device pixel either side.
std::pair<int, int> LogicalSpan(int dx, qreal ratio) {
    const qreal slack = ratio == std::floor(ratio) ? 0 : 1;
    return {int(std::floor((dx - slack) / ratio)), int(std::ceil((dx + 1 + slack) / ratio))};
}

/// Finds the pixels each glyph changes by drawing it white on black at the
/// ratio, where any coverage at all shows, with its origin on a whole device
/// pixel a line height inside a canvas. The glyph cache draws at whole
/// pixels, so the answer holds wherever the glyph is drawn.
void MeasureInk(LatinGlyphs& table, int lineHeight, qreal ratio) {
    const int margin = int(std::ceil(lineHeight * ratio));  // in device pixels
    const int widest = *std::max_element(table.advance.begin(), table.advance.end());
    QImage canvas(int(std::ceil(widest * ratio)) + 2 * margin, 2 * margin, QImage::Format_RGB32);
    canvas.setDevicePixelRatio(ratio);
    QPainter p(&canvas);
    p.setPen(Qt::white);
    const QRgb black = QColor(Qt::black).rgb();
    const QPointF origin(margin / ratio, margin / ratio);
    for (int c = 0x20; c < 0x100; ++c) {
        if (table.glyph[c] == 0) continue;
        p.fillRect(QRectF(QPointF(0, 0), canvas.deviceIndependentSize()), Qt::black);
        QGlyphRun run;
        run.setRawFont(table.raw);
        run.setGlyphIndexes({table.glyph[c]});
        run.setPositions({origin});
        p.drawGlyphRun(QPointF(0, 0), run);

        Rect ink;
        for (int y = 0; y < canvas.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
            for (int x = 0; x < canvas.width(); ++x) {
                if (line[x] == black) continue;
                const bool edge =
                    x == 0 || y == 0 || x == canvas.width() - 1 || y == canvas.height() - 1;
                const auto [left, right] = LogicalSpan(x - margin, ratio);
                const auto [top, bottom] = LogicalSpan(y - margin, ratio);
                ink = ink.Union(edge ? kUnbounded : Rect{left, top, right, bottom});
            }
        }
        table.ink[c] = ink;
    }
}

std::unique_ptr<LatinGlyphs> Build(const QFont& font, qreal ratio) {
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
    if (table->complete) MeasureInk(*table, metrics.height(), ratio);
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
            all =
                all.Union({x + g.left, baseline.y() + g.top, x + g.right, baseline.y() + g.bottom});
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

const LatinGlyphs& LatinGlyphsOf(const QFont& font, qreal ratio) {
    // Kept for the life of the process: font engines must not be released
    // after the application object is gone.
    static auto& cache = *new std::map<std::pair<QString, qreal>, std::unique_ptr<LatinGlyphs>>;
    std::unique_ptr<LatinGlyphs>& entry = cache[{font.key(), ratio}];
    if (!entry) entry = Build(font, ratio);
    return *entry;
}

}  // namespace qthost
