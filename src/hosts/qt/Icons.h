// The program's icons by resource number.
#pragma once

#include <QIcon>

namespace qthost {

/// The icon with the given resource number (128: the program icon); a null
/// icon for numbers the program has none for.
QIcon IconForId(int iconId);

}  // namespace qthost
