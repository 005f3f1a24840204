// Resolution of the core's fonts to Qt fonts.
#pragma once

#include <QFont>

#include "platform/Font.h"

namespace qthost {

/// The face the dialog templates name; it stands for the dialog's own font.
inline constexpr const char* kDialogFace = "MS Shell Dlg";

/// The font Qt dialogs use.
QFont DialogFont();

/// "MS Shell Dlg" gives the dialog font. Any other face is a fixed-pitch
/// point font: the face itself when installed, else DejaVu Sans Mono, with
/// the monospace style hint and full hinting so that the advance is a whole
/// number of pixels (8 at 10 pt) and character cells do not drift.
QFont ResolveFont(const platform::Font& font);

}  // namespace qthost
