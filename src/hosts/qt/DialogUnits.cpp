#include "hosts/qt/DialogUnits.h"

#include <QFont>
#include <QFontMetrics>

namespace qthost {
namespace {

/// a * b / c rounded to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c) {
    const long long p = (long long)a * b;
    const long long q = p >= 0 ? (p + c / 2) / c : (p - c / 2) / c;
    return int(q);
}

}  // namespace

DialogBaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics m(font);
    const int width =
        m.horizontalAdvance(QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    return {(width / 26 + 1) / 2, m.height()};
}

QSize ToPixels(platform::Size dlu, DialogBaseUnits base) {
    return {MulDiv(dlu.cx, base.x, 4), MulDiv(dlu.cy, base.y, 8)};
}

QRect ToPixels(const platform::Rect& dlu, DialogBaseUnits base) {
    const int left = MulDiv(dlu.left, base.x, 4);
    const int top = MulDiv(dlu.top, base.y, 8);
    const int right = MulDiv(dlu.right, base.x, 4);
    const int bottom = MulDiv(dlu.bottom, base.y, 8);
    return QRect(left, top, right - left, bottom - top);
}

}  // namespace qthost
