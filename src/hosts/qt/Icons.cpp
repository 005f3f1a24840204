#include "hosts/qt/Icons.h"

#include "app/Resources.h"

namespace qthost {

QIcon IconForId(int iconId) {
    if (iconId == IDR_MAINFRAME) return QIcon(QStringLiteral(":/bytewren/bytewren-128.png"));
    return {};
}

}  // namespace qthost
