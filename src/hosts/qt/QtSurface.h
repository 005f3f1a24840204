// The drawing surface over a QImage: the off-screen buffer of one paint, or,
// without an image, a surface that only measures. Its device-context state
// comes from StatefulSurface; it follows the text rules of platform::Surface.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <memory>

#include "platform/StatefulSurface.h"

namespace qthost {

struct LatinGlyphs;

class QtSurface final : public platform::StatefulSurface {
public:
    /// Draws into an image of size (RGB32), or only measures when size is
    /// empty.
    explicit QtSurface(QSize size = {});
    ~QtSurface() override;

    /// False when the image could not be made.
    bool IsValid() const { return m_measureOnly || !m_image.isNull(); }

    int DrawText(const std::string& text, const platform::Rect& rect, unsigned format) override;
    platform::Size GetTextExtent(const std::string& text) override;

    /// The picture drawn so far (drawing may continue afterwards).
    const QImage& Image();
    const QFont& CurrentQFont() const { return m_qfont; }

private:
    QPainter* Painter();
    void FillArea(const platform::Rect& rect, platform::Color colour) override;
    void FontChanged() override;
    /// One line of visible characters with its baseline starting at baseline.
    static void DrawLine(QPainter& p, const LatinGlyphs& glyphs, const std::string& shown,
                         QPoint baseline);

    QImage m_image;
    bool m_measureOnly;
    std::unique_ptr<QPainter> m_painter;
    QFont m_qfont;
    QFontMetrics m_metrics;
};

}  // namespace qthost
