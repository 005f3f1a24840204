#include "hosts/qt/InputTranslation.h"

#include <QKeyEvent>

#include <iterator>

#include "platform/Constants.h"

using namespace platform;

namespace qthost {
namespace {

/// A run of consecutive Qt keys mapping onto consecutive virtual keys.
struct KeyRange {
    int first;
    int last;
    unsigned vk;
};

constexpr KeyRange kKeys[] = {
    {Qt::Key_A, Qt::Key_Z, vk::KeyA},
    {Qt::Key_0, Qt::Key_9, vk::Key0},
    {Qt::Key_F1, Qt::Key_F24, vk::F1},
    {Qt::Key_Space, Qt::Key_Space, vk::Space},
    {Qt::Key_Backspace, Qt::Key_Backspace, vk::Back},
    {Qt::Key_Tab, Qt::Key_Tab, vk::Tab},
    {Qt::Key_Backtab, Qt::Key_Backtab, vk::Tab},
    {Qt::Key_Return, Qt::Key_Return, vk::Return},
    {Qt::Key_Enter, Qt::Key_Enter, vk::Return},
    {Qt::Key_Escape, Qt::Key_Escape, vk::Escape},
    {Qt::Key_Insert, Qt::Key_Insert, vk::Insert},
    {Qt::Key_Delete, Qt::Key_Delete, vk::Delete},
    {Qt::Key_Home, Qt::Key_Home, vk::Home},
    {Qt::Key_End, Qt::Key_End, vk::End},
    {Qt::Key_PageUp, Qt::Key_PageUp, vk::Prior},
    {Qt::Key_PageDown, Qt::Key_PageDown, vk::Next},
    {Qt::Key_Left, Qt::Key_Left, vk::Left},
    {Qt::Key_Up, Qt::Key_Up, vk::Up},
    {Qt::Key_Right, Qt::Key_Right, vk::Right},
    {Qt::Key_Down, Qt::Key_Down, vk::Down},
    {Qt::Key_Clear, Qt::Key_Clear, vk::Clear},
    {Qt::Key_Shift, Qt::Key_Shift, vk::Shift},
    {Qt::Key_Control, Qt::Key_Control, vk::Control},
    {Qt::Key_Alt, Qt::Key_Alt, vk::Menu},
    {Qt::Key_Pause, Qt::Key_Pause, vk::Pause},
    {Qt::Key_CapsLock, Qt::Key_CapsLock, vk::Capital},
    {Qt::Key_NumLock, Qt::Key_NumLock, vk::NumLock},
    {Qt::Key_ScrollLock, Qt::Key_ScrollLock, vk::Scroll},
    {Qt::Key_Print, Qt::Key_Print, vk::Snapshot},
    // Shifted digits of the US layout are their digit keys.
    {Qt::Key_Exclam, Qt::Key_Exclam, vk::Key0 + 1},
    {Qt::Key_At, Qt::Key_At, vk::Key0 + 2},
    {Qt::Key_NumberSign, Qt::Key_NumberSign, vk::Key0 + 3},
    {Qt::Key_Dollar, Qt::Key_Dollar, vk::Key0 + 4},
    {Qt::Key_Percent, Qt::Key_Percent, vk::Key0 + 5},
    {Qt::Key_AsciiCircum, Qt::Key_AsciiCircum, vk::Key0 + 6},
    {Qt::Key_Ampersand, Qt::Key_Ampersand, vk::Key0 + 7},
    {Qt::Key_Asterisk, Qt::Key_Asterisk, vk::Key0 + 8},
    {Qt::Key_ParenLeft, Qt::Key_ParenLeft, vk::Key0 + 9},
    {Qt::Key_ParenRight, Qt::Key_ParenRight, vk::Key0},
    // Punctuation keys, plain and shifted.
    {Qt::Key_Semicolon, Qt::Key_Semicolon, vk::Oem1},
    {Qt::Key_Colon, Qt::Key_Colon, vk::Oem1},
    {Qt::Key_Equal, Qt::Key_Equal, vk::OemPlus},
    {Qt::Key_Plus, Qt::Key_Plus, vk::OemPlus},
    {Qt::Key_Comma, Qt::Key_Comma, vk::OemComma},
    {Qt::Key_Less, Qt::Key_Less, vk::OemComma},
    {Qt::Key_Minus, Qt::Key_Minus, vk::OemMinus},
    {Qt::Key_Underscore, Qt::Key_Underscore, vk::OemMinus},
    {Qt::Key_Period, Qt::Key_Period, vk::OemPeriod},
    {Qt::Key_Greater, Qt::Key_Greater, vk::OemPeriod},
    {Qt::Key_Slash, Qt::Key_Slash, vk::Oem2},
    {Qt::Key_Question, Qt::Key_Question, vk::Oem2},
    {Qt::Key_QuoteLeft, Qt::Key_QuoteLeft, vk::Oem3},
    {Qt::Key_AsciiTilde, Qt::Key_AsciiTilde, vk::Oem3},
    {Qt::Key_BracketLeft, Qt::Key_BracketLeft, vk::Oem4},
    {Qt::Key_BraceLeft, Qt::Key_BraceLeft, vk::Oem4},
    {Qt::Key_Backslash, Qt::Key_Backslash, vk::Oem5},
    {Qt::Key_Bar, Qt::Key_Bar, vk::Oem5},
    {Qt::Key_BracketRight, Qt::Key_BracketRight, vk::Oem6},
    {Qt::Key_BraceRight, Qt::Key_BraceRight, vk::Oem6},
    {Qt::Key_Apostrophe, Qt::Key_Apostrophe, vk::Oem7},
    {Qt::Key_QuoteDbl, Qt::Key_QuoteDbl, vk::Oem7},
};

/// Keys of the numeric keypad that have codes of their own; the keypad's
/// navigation keys (NUM LOCK off) use the ordinary table.
constexpr KeyRange kKeypadKeys[] = {
    {Qt::Key_0, Qt::Key_9, vk::Numpad0},
    {Qt::Key_Asterisk, Qt::Key_Asterisk, vk::Multiply},
    {Qt::Key_Plus, Qt::Key_Plus, vk::Add},
    {Qt::Key_Minus, Qt::Key_Minus, vk::Subtract},
    {Qt::Key_Period, Qt::Key_Period, vk::Decimal},
    {Qt::Key_Comma, Qt::Key_Comma, vk::Decimal},
    {Qt::Key_Slash, Qt::Key_Slash, vk::Divide},
};

template <size_t N>
unsigned Lookup(const KeyRange (&table)[N], int key) {
    for (const KeyRange& r : table) {
        if (key >= r.first && key <= r.last) return r.vk + unsigned(key - r.first);
    }
    return 0;
}

bool IsPrintableLatin1(char16_t c) { return (c >= 0x20 && c <= 0x7E) || (c >= 0xA0 && c <= 0xFF); }

/// lParam of a key message: repeat count 1, bit 30 the previous key state,
/// bit 31 set for a release.
constexpr LParam kFirstPress = 1;
constexpr LParam kRepeatedPress = 1 | (LParam(1) << 30);
constexpr LParam kRelease = LParam(0xC0000001u);

void DeliverKeyUp(WindowClient& target, unsigned key) {
    Message up{msg::KeyUp, key, kRelease};
    Deliver(target, up);
}

}  // namespace

void Deliver(WindowClient& target, Message& m) {
    if (!target.PreTranslateMessage(m)) target.WindowProc(m);
}

unsigned VirtualKeyFor(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::KeypadModifier) {
        if (const unsigned vk = Lookup(kKeypadKeys, qtKey)) return vk;
    }
    return Lookup(kKeys, qtKey);
}

int CharacterFor(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text) {
    const bool control = modifiers & Qt::ControlModifier;
    switch (qtKey) {
        case Qt::Key_Backspace: return control ? 0x7F : 8;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return control ? -1 : 9;
        case Qt::Key_Return:
        case Qt::Key_Enter: return control ? 10 : 13;
        case Qt::Key_Escape: return 27;
        default: break;
    }
    if (control) {
        if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
            return int(ctl::ForLetter(unsigned(qtKey - Qt::Key_A), modifiers & Qt::ShiftModifier));
        }
        return -1;
    }
    if (text.size() == 1 && IsPrintableLatin1(text.at(0).unicode())) return text.at(0).unicode();
    return -1;
}

int CharacterForVirtualKey(unsigned key, bool shift, bool control) {
    if (key >= vk::KeyA && key < vk::KeyA + 26) {
        if (control) return int(ctl::ForLetter(key - vk::KeyA, shift));
        return shift ? int(key) : int(key - vk::KeyA + 'a');
    }
    switch (key) {
        case vk::Space: return ' ';
        case vk::Back: return control ? 0x7F : 8;
        case vk::Tab: return control ? -1 : 9;
        case vk::Return: return control ? 10 : 13;
        case vk::Escape: return 27;
        default: break;
    }
    if (control) return -1;
    if (key >= vk::Key0 && key < vk::Key0 + 10) return shift ? -1 : int(key);
    if (key >= vk::Numpad0 && key < vk::Numpad0 + 10) return int('0' + key - vk::Numpad0);
    return -1;
}

WParam PointerFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    WParam flags = 0;
    if (buttons & Qt::LeftButton) flags |= mk::LButton;
    if (buttons & Qt::RightButton) flags |= mk::RButton;
    if (buttons & Qt::MiddleButton) flags |= mk::MButton;
    if (modifiers & Qt::ShiftModifier) flags |= mk::Shift;
    if (modifiers & Qt::ControlModifier) flags |= mk::Control;
    return flags;
}

void KeyboardTranslator::Press(const QKeyEvent& event, WindowClient& target) {
    const Qt::KeyboardModifiers mods = event.modifiers();
    const unsigned key = VirtualKeyFor(event.key(), mods);
    if (HasPendingRelease() && m_pending.key == key && m_pending.timestamp == event.timestamp()) {
        // The release before was a repeat's: the key is still down.
        m_pending = {};
        m_down.insert(key);
    } else {
        DeliverPendingRelease(target);
    }

    // With Alt (and not Ctrl, as AltGr may report) the platform makes system
    // keys, which belong to the menu, not to the window.
    if ((mods & Qt::AltModifier) && !(mods & Qt::ControlModifier)) return;
    if (event.key() == Qt::Key_Alt) return;

    const int ch = CharacterFor(event.key(), mods, event.text());
    if (key == 0) {
        // A key the table does not know still types its character.
        if (ch >= 0) {
            Message c{msg::Char, WParam(ch), kFirstPress};
            Deliver(target, c);
        }
        return;
    }

    const bool repeat = event.isAutoRepeat() || m_down.count(key) != 0;
    m_down.insert(key);
    Message down{msg::KeyDown, key, repeat ? kRepeatedPress : kFirstPress};
    if (target.PreTranslateMessage(down)) return;  // consumed: no character follows
    int character = ch;
    if (down.wParam != key) {
        character = CharacterForVirtualKey(unsigned(down.wParam), mods & Qt::ShiftModifier,
                                           mods & Qt::ControlModifier);
    }
    target.WindowProc(down);
    if (character >= 0) {
        Message c{msg::Char, WParam(character), down.lParam};
        Deliver(target, c);
    }
}

void KeyboardTranslator::Release(const QKeyEvent& event, WindowClient& target) {
    if (event.isAutoRepeat()) return;
    const unsigned key = VirtualKeyFor(event.key(), event.modifiers());
    // Only a key pressed here is released here, once: a release of a key
    // that is not down (already released, or pressed in another window) is
    // dropped.
    if (key == 0 || m_down.erase(key) == 0) return;
    // A release held back before this one was real. It is replaced first, so
    // that a press arriving while its key-up is handled still finds this one.
    const unsigned earlier = m_pending.key;
    m_pending = {key, event.timestamp()};
    if (earlier != 0) DeliverKeyUp(target, earlier);
}

void KeyboardTranslator::Commit(const QString& text, WindowClient& target) {
    DeliverPendingRelease(target);
    for (const QChar c : text) {
        if (!IsPrintableLatin1(c.unicode())) continue;
        Message m{msg::Char, WParam(c.unicode()), kFirstPress};
        Deliver(target, m);
    }
}

void KeyboardTranslator::DeliverPendingRelease(WindowClient& target) {
    const unsigned key = m_pending.key;
    m_pending = {};
    if (key != 0) DeliverKeyUp(target, key);
}

void KeyboardTranslator::Reset() {
    m_down.clear();
    m_pending = {};
}

int WheelNotches::Feed(int delta) {
    m_pending += delta;
    const int notches = m_pending / WHEEL_NOTCH;
    m_pending -= notches * WHEEL_NOTCH;
    return notches;
}

}  // namespace qthost
