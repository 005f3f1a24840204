// Translation of Qt keyboard and pointer input into the core's window
// messages, so that all routing stays in the core. Keys go through an
// explicit Qt::Key -> virtual-key table; characters are derived the way the
// platform's message translation derives them.
#pragma once

#include <QString>
#include <Qt>

#include <set>

#include "platform/Message.h"
#include "platform/WindowClient.h"

class QKeyEvent;

namespace qthost {

/// The virtual key of a Qt key, or 0 when the table has none. Shifted symbols
/// of the US layout give their key's code ('!' is '1'); keypad keys are
/// told apart by Qt::KeypadModifier.
unsigned VirtualKeyFor(int qtKey, Qt::KeyboardModifiers modifiers);

/// The character a key press produces, or -1 for none: BACKSPACE, TAB, ENTER
/// and ESC give 8, 9, 13 and 27, Ctrl+letter the control code (from the
/// key, not the text), otherwise a printable Latin-1 character of the text.
int CharacterFor(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text);

/// The character for a key-down whose virtual key pre-translation replaced.
int CharacterForVirtualKey(unsigned vk, bool shift, bool control);

/// The mk:: flags of a pointer message.
platform::WParam PointerFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

/// A message taken from the queue, as the platform's message loop hands it
/// to a window: PreTranslateMessage, then WindowProc unless it was consumed.
void Deliver(platform::WindowClient& target, platform::Message& message);

/// Delivers key events to a window as the platform's message loop does:
/// key-down through PreTranslateMessage, then WindowProc, then the derived
/// character (unless the key-down was consumed) the same way; a release
/// becomes one key-up. Auto-repeat gives repeated key-downs and characters
/// and exactly one key-up, at the real release.
///
/// A release that Qt did not flag as a repeat may still be one: an X server
/// repeats a held key as a release and a press with the same timestamp, and
/// Qt flags the pair only when the press is already queued. Such a release is
/// therefore held back: a press of the same key with the same timestamp
/// makes it a repeat, any other key event delivers it first, and the window
/// delivers it with DeliverPendingRelease once no press can follow any more.
class KeyboardTranslator {
public:
    void Press(const QKeyEvent& event, platform::WindowClient& target);
    void Release(const QKeyEvent& event, platform::WindowClient& target);
    /// Whether a release is held back, waiting for the next key event.
    bool HasPendingRelease() const { return m_pending.key != 0; }
    /// Text an input method committed (a dead key's or a compose sequence's
    /// result): each printable Latin-1 character goes to the window as if
    /// typed, one at a time, after a release held back; others have no
    /// 8-bit code and are left out.
    void Commit(const QString& text, platform::WindowClient& target);
    /// Delivers the release held back, if any, as its key's key-up.
    void DeliverPendingRelease(platform::WindowClient& target);
    /// Forgets the keys held down and a release held back (the window lost
    /// the keyboard).
    void Reset();

private:
    struct PendingRelease {
        unsigned key = 0;  // 0: none
        quint64 timestamp = 0;
    };

    std::set<unsigned> m_down;
    PendingRelease m_pending;
};

/// Turns wheel deltas into whole notches: one message per 120 units, small
/// high-resolution deltas accumulated until they make one.
class WheelNotches {
public:
    /// Adds delta; returns the signed number of whole notches now complete.
    int Feed(int delta);

private:
    int m_pending = 0;
};

}  // namespace qthost
