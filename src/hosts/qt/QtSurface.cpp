#include "hosts/qt/QtSurface.h"

#include <QGlyphRun>
#include <QRawFont>

#include <array>
#include <map>
#include <vector>

#include "hosts/qt/QtFonts.h"
#include "hosts/qt/TextConversion.h"
#include "platform/TextLayout.h"

using platform::BkMode;
using platform::Color;
using platform::Rect;
using platform::Size;

namespace qthost {

/// The glyphs and advances of the 256 Latin-1 characters in one font, so
/// that drawing a short string needs no text layout. Built once per font.
struct LatinGlyphs {
    QRawFont raw;
    std::array<quint32, 256> glyph{};
    std::array<int, 256> advance{};
    bool complete = true;  // every printable character has a glyph of its own
};

namespace {

QColor ToQColor(Color c) { return QColor(c.r, c.g, c.b); }

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

const LatinGlyphs& GlyphsOf(const QFont& font) {
    // Kept for the life of the process: font engines must not be released
    // after the application object is gone.
    static auto& cache = *new std::map<QString, std::unique_ptr<LatinGlyphs>>;
    std::unique_ptr<LatinGlyphs>& entry = cache[font.key()];
    if (!entry) {
        entry = std::make_unique<LatinGlyphs>();
        entry->raw = QRawFont::fromFont(font);
        const QFontMetrics metrics(font);
        for (int c = 0x20; c < 0x100; ++c) {
            if (platform::IsControlCharacter(static_cast<unsigned char>(c))) continue;
            const QString ch = QString(QChar(char16_t(c)));
            const QList<quint32> indexes = entry->raw.glyphIndexesForString(ch);
            entry->glyph[c] = indexes.isEmpty() ? 0 : indexes.front();
            entry->advance[c] = metrics.horizontalAdvance(ch);
            if (entry->glyph[c] == 0) entry->complete = false;
        }
        entry->complete = entry->complete && entry->raw.isValid();
    }
    return *entry;
}

int WidthOf(const LatinGlyphs& glyphs, const std::string& shown) {
    int w = 0;
    for (unsigned char c : shown) w += glyphs.advance[c];
    return w;
}

}  // namespace

QtSurface::QtSurface(QSize size)
    : m_measureOnly(size.isEmpty()),
      m_qfont(ResolveFont(m_font)),
      m_metrics(m_qfont) {
    if (!m_measureOnly) m_image = QImage(size, QImage::Format_RGB32);
}

QtSurface::~QtSurface() = default;

QPainter* QtSurface::Painter() {
    if (m_image.isNull()) return nullptr;
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>(&m_image);
        m_painter->setFont(m_qfont);
    }
    return m_painter.get();
}

const QImage& QtSurface::Image() {
    m_painter.reset();  // flushes what was drawn; the next call begins anew
    return m_image;
}

void QtSurface::FillArea(const Rect& rect, Color colour) {
    if (QPainter* p = Painter()) p->fillRect(ToQRect(rect), ToQColor(colour));
}

void QtSurface::FontChanged() {
    m_qfont = ResolveFont(m_font);
    m_metrics = QFontMetrics(m_qfont);
    if (m_painter) m_painter->setFont(m_qfont);
}

Size QtSurface::GetTextExtent(const std::string& text) {
    std::string shown;
    for (unsigned char c : text) {
        if (!platform::IsControlCharacter(c)) shown += char(c);
    }
    return {WidthOf(GlyphsOf(m_qfont), shown), m_metrics.height()};
}

int QtSurface::DrawText(const std::string& text, const Rect& rect, unsigned format) {
    const LatinGlyphs& glyphs = GlyphsOf(m_qfont);
    const int h = m_metrics.height();
    const std::vector<platform::TextLine> lines = platform::LayoutText(
        text, rect, format, h, [&](const std::string& shown) { return WidthOf(glyphs, shown); });

    QPainter* p = rect.IsEmpty() ? nullptr : Painter();
    if (!p) return int(lines.size()) * h;
    p->setPen(ToQColor(m_text));
    const QRect clip = ToQRect(rect);
    for (const platform::TextLine& line : lines) {
        const QRect extent = ToQRect(line.extent);
        // Clipping costs more than the text itself; most texts lie wholly
        // inside their rectangle and need none.
        const bool clipped = !clip.contains(extent);
        if (clipped) p->setClipRect(clip);
        if (m_mode == BkMode::Opaque && extent.width() > 0) p->fillRect(extent, ToQColor(m_bk));
        if (!line.shown.empty()) {
            DrawLine(*p, glyphs, line.shown, QPoint(extent.left(), extent.top() + m_metrics.ascent()));
        }
        if (clipped) p->setClipping(false);
    }
    return int(lines.size()) * h;
}

void QtSurface::DrawLine(QPainter& p, const LatinGlyphs& glyphs, const std::string& shown,
                         QPoint baseline) {
    if (!glyphs.complete) {
        // Some character needs a fallback font: let Qt lay the text out.
        p.drawText(baseline, FromLatin1(shown));
        return;
    }
    QList<quint32> indexes;
    QList<QPointF> positions;
    indexes.reserve(qsizetype(shown.size()));
    positions.reserve(qsizetype(shown.size()));
    int x = 0;
    for (unsigned char c : shown) {
        indexes.push_back(glyphs.glyph[c]);
        positions.push_back(QPointF(x, 0));
        x += glyphs.advance[c];
    }
    QGlyphRun run;
    run.setRawFont(glyphs.raw);
    run.setGlyphIndexes(indexes);
    run.setPositions(positions);
    p.drawGlyphRun(baseline, run);
}

}  // namespace qthost
