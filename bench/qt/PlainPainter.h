// The yardstick for the Qt repaint: the same screen drawn the plain way, with
// one QPainter on a QImage. A paint of the view is recorded once; the replay
// makes the same fills and draws the same characters with one drawText per
// row and colour run.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>
#include <vector>

#include "platform/Surface.h"

namespace bench {

struct PlainFrame {
    struct Step {
        QRect fill;  // filled with colour when text is empty
        QColor colour;
        QString text;  // one row and colour run, drawn from baseline
        QPoint baseline;
        int font = 0;  // index into fonts
    };
    std::vector<QFont> fonts;
    std::vector<Step> steps;
};

/// Records what paint draws: every fill, and every line of text with the
/// place, colour and font it is drawn in.
PlainFrame Record(const std::function<void(platform::Surface&)>& paint);

/// Draws a recorded frame into image with one QPainter.
void DrawPlain(QImage& image, const PlainFrame& frame);

}  // namespace bench
