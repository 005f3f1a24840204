#include "hosts/qt/QtFonts.h"

#include <QApplication>

namespace qthost {

QFont DialogFont() { return QApplication::font("QDialog"); }

QFont ResolveFont(const platform::Font& font) {
    if (font.face == kDialogFace) return DialogFont();
    QFont f;
    f.setFamilies({QString::fromStdString(font.face), QStringLiteral("DejaVu Sans Mono")});
    f.setStyleHint(QFont::Monospace);
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setPointSizeF(font.pointTenths > 0 ? font.pointTenths / 10.0 : 10.0);
    return f;
}

}  // namespace qthost
