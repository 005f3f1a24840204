// The drawing surface over a QImage: the off-screen buffer of one paint, or,
// without an image, a surface that only measures. Its device-context state
// comes from StatefulSurface; it follows the text rules of platform::Surface.
// Fills land at once; text is held back and drawn in batches (GlyphBatch),
// with the same picture as drawing each text the moment it is asked for.
// Coordinates are logical pixels; the image has the screen's device pixels,
// so that text and frames are as sharp as the rest of the window.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <memory>

#include "hosts/qt/GlyphBatch.h"
#include "platform/StatefulSurface.h"

namespace qthost {

class QtSurface final : public platform::StatefulSurface {
public:
    /// Draws into an image of size logical pixels at a device pixel ratio
    /// (RGB32), or only measures when size is empty.
    explicit QtSurface(QSize size = {}, qreal ratio = 1.0);
    ~QtSurface() override;

    /// False when the image could not be made.
    bool IsValid() const { return m_measureOnly || !m_image.isNull(); }

    int DrawTextInRect(const std::string& text, const platform::Rect& rect,
                       unsigned format) override;
    platform::Size GetTextExtent(const std::string& text) override;

    /// The picture drawn so far, held-back text included (drawing may
    /// continue afterwards), in device pixels with its ratio set.
    const QImage& Image();
    const QFont& CurrentQFont() const { return m_qfont; }

private:
    QPainter* Painter();
    void FillArea(const platform::Rect& rect, platform::Color colour) override;
    void FontChanged() override;
    /// Draws the held-back text first if area would paint over any of it.
    void PaintOver(const platform::Rect& area);
    /// One line of visible characters drawn now from baseline, after all
    /// held-back text, cut to clip when one is given.
    void DrawLineNow(const std::string& shown, QPoint baseline, const platform::Rect* clip);

    QImage m_image;
    platform::Rect m_canvas;  // the image in logical pixels
    qreal m_ratio;
    bool m_measureOnly;
    std::unique_ptr<QPainter> m_painter;
    QFont m_qfont;
    QFontMetrics m_metrics;
    const LatinGlyphs* m_glyphs;
    GlyphBatch m_batch;
};

}  // namespace qthost
