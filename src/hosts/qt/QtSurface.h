// The drawing surface over a QImage: the off-screen buffer of one paint, or,
// without an image, a surface that only measures. It keeps the platform's
// device-context state (text and background colours, background mode, font)
// and follows the text rules of platform::Surface.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <memory>

#include "platform/Surface.h"

namespace qthost {

struct LatinGlyphs;

class QtSurface final : public platform::Surface {
public:
    /// Draws into an image of size (RGB32), or only measures when size is
    /// empty.
    explicit QtSurface(QSize size = {});
    ~QtSurface() override;

    /// False when the image could not be made.
    bool IsValid() const { return m_measureOnly || !m_image.isNull(); }

    void FillSolidRect(const platform::Rect& rect, platform::Color colour) override;
    void FrameRect(const platform::Rect& rect, platform::Color colour) override;
    void Draw3dRect(const platform::Rect& rect, platform::Color topLeft,
                    platform::Color bottomRight) override;
    platform::Color SetTextColor(platform::Color colour) override;
    platform::Color SetBkColor(platform::Color colour) override;
    platform::BkMode SetBkMode(platform::BkMode mode) override;
    platform::Font SelectFont(const platform::Font& font) override;
    int DrawText(const std::string& text, const platform::Rect& rect, unsigned format) override;
    platform::Size GetTextExtent(const std::string& text) override;

    /// The picture drawn so far (drawing may continue afterwards).
    const QImage& Image();
    const QFont& CurrentQFont() const { return m_qfont; }


private:
    QPainter* Painter();
    void Fill(const platform::Rect& rect, platform::Color colour);
    /// One line of visible characters with its baseline starting at baseline.
    static void DrawLine(QPainter& p, const LatinGlyphs& glyphs, const std::string& shown,
                         QPoint baseline);

    QImage m_image;
    bool m_measureOnly;
    std::unique_ptr<QPainter> m_painter;
    platform::Color m_text{};
    platform::Color m_bk = platform::Rgb(255, 255, 255);
    platform::BkMode m_mode = platform::BkMode::Opaque;
    platform::Font m_font{"System", 100};
    QFont m_qfont;
    QFontMetrics m_metrics;
};

}  // namespace qthost
