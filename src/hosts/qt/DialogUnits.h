// Dialog units: templates measure dialogs in quarters of the dialog font's
// average character width and eighths of its height.
#pragma once

#include <QRect>
#include <QSize>

#include "platform/Shapes.h"

class QFont;

namespace qthost {

struct DialogBaseUnits {
    int x = 0;  // average width of "a".."z", "A".."Z", rounded
    int y = 0;  // the font's height
};

DialogBaseUnits BaseUnitsOf(const QFont& font);
/// x = dlu * base.x / 4, y = dlu * base.y / 8, each rounded to nearest.
QSize ToPixels(platform::Size dlu, DialogBaseUnits base);
QRect ToPixels(const platform::Rect& dlu, DialogBaseUnits base);

}  // namespace qthost
