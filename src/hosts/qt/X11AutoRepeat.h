// Held keys on an X server. By default the server repeats a held key as a
// release and a press with the same timestamp; Qt flags such a pair as a
// repeat only when it finds the press already queued behind the release,
// which on a loaded machine it often is not.
#pragma once

namespace qthost {

/// Asks the X server, on Qt's own connection, to repeat a held key as presses
/// alone with one release at the end (XKB's detectable auto-repeat). True
/// when the server does so from now on; false on other platforms and on
/// servers without XKB.
bool RequestDetectableAutoRepeat();

}  // namespace qthost
