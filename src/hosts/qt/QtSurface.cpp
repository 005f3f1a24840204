#include "hosts/qt/QtSurface.h"

#include <cmath>
#include <vector>

#include "hosts/qt/QtFonts.h"
#include "hosts/qt/TextConversion.h"
#include "platform/TextLayout.h"

using platform::BkMode;
using platform::Color;
using platform::Rect;
using platform::Size;

namespace qthost {

namespace {

QColor ToQColor(Color c) { return QColor(c.r, c.g, c.b); }

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

bool Encloses(const Rect& outer, const Rect& inner) {
    return inner.IsEmpty() || (outer.left <= inner.left && outer.top <= inner.top &&
                               inner.right <= outer.right && inner.bottom <= outer.bottom);
}

}  // namespace

QtSurface::QtSurface(QSize size, qreal ratio)
    : m_canvas{0, 0, size.width(), size.height()},
      m_ratio(ratio),
      m_measureOnly(size.isEmpty()),
      m_qfont(ResolveFont(m_font)),
      m_metrics(m_qfont),
      m_glyphs(&LatinGlyphsOf(m_qfont, ratio)),
      m_batch(m_measureOnly ? QSize() : size) {
    if (m_measureOnly) return;
    m_image = QImage(int(std::ceil(size.width() * ratio)), int(std::ceil(size.height() * ratio)),
                     QImage::Format_RGB32);
    m_image.setDevicePixelRatio(ratio);
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
    if (m_painter) m_batch.Flush(*m_painter);
    m_painter.reset();  // finishes what was drawn; the next call begins anew
    return m_image;
}

void QtSurface::PaintOver(const Rect& area) {
    if (m_painter && m_batch.Touches(area)) m_batch.Flush(*m_painter);
}

void QtSurface::FillArea(const Rect& rect, Color colour) {
    if (QPainter* p = Painter()) {
        PaintOver(rect);
        p->fillRect(ToQRect(rect), ToQColor(colour));
    }
}

void QtSurface::FontChanged() {
    m_qfont = ResolveFont(m_font);
    m_metrics = QFontMetrics(m_qfont);
    m_glyphs = &LatinGlyphsOf(m_qfont, m_ratio);
    if (m_painter) m_painter->setFont(m_qfont);
}

Size QtSurface::GetTextExtent(const std::string& text) {
    std::string shown;
    for (unsigned char c : text) {
        if (!platform::IsControlCharacter(c)) shown += char(c);
    }
    return {m_glyphs->WidthOf(shown), m_metrics.height()};
}

int QtSurface::DrawTextInRect(const std::string& text, const Rect& rect, unsigned format) {
    const LatinGlyphs& glyphs = *m_glyphs;
    const int h = m_metrics.height();
    const std::vector<platform::TextLine> lines = platform::LayoutText(
        text, rect, format, h, [&](const std::string& shown) { return glyphs.WidthOf(shown); });

    QPainter* p = rect.IsEmpty() ? nullptr : Painter();
    if (!p) return int(lines.size()) * h;
    for (const platform::TextLine& line : lines) {
        const QPoint baseline(line.extent.left, line.extent.top + m_metrics.ascent());
        const bool fill = m_mode == BkMode::Opaque && line.extent.Width() > 0;
        // A line is cut to rect only when it reaches out of it. Most lie
        // wholly inside, and a cut at the image's edge changes nothing.
        const auto painted = [&] {
            const Rect ink = glyphs.complete ? glyphs.InkOf(line.shown, baseline) : m_canvas;
            return (fill ? ink.Union(line.extent) : ink).Intersect(m_canvas);
        };
        const bool cut = !Encloses(rect, line.extent) && !Encloses(rect, painted());

        if (fill) {
            const Rect area = cut ? line.extent.Intersect(rect) : line.extent;
            PaintOver(area);
            p->fillRect(ToQRect(area), ToQColor(m_bk));
        }
        if (line.shown.empty()) continue;
        if (glyphs.complete && !cut) {
            m_batch.Add(*p, glyphs, ToQColor(m_text).rgb(), line.shown, baseline);
        } else {
            DrawLineNow(line.shown, baseline, cut ? &rect : nullptr);
        }
    }
    return int(lines.size()) * h;
}

void QtSurface::DrawLineNow(const std::string& shown, QPoint baseline, const Rect* clip) {
    QPainter& p = *m_painter;
    m_batch.Flush(p);  // whatever is held back was asked for earlier
    if (clip) p.setClipRect(ToQRect(*clip));
    if (m_glyphs->complete) {
        m_batch.Add(p, *m_glyphs, ToQColor(m_text).rgb(), shown, baseline);
        m_batch.Flush(p);
    } else {
        // Some character needs a fallback font: Qt lays the text out.
        p.setPen(ToQColor(m_text));
        p.drawText(baseline, FromLatin1(shown));
    }
    if (clip) p.setClipping(false);
}

}  // namespace qthost
