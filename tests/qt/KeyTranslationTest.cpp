// Key translation: the Qt::Key -> virtual key table, the characters a press
// produces, and the message sequence of presses, repeats and releases.
#include <QKeyEvent>
#include <QTest>

#include "RecordingClient.h"
#include "hosts/qt/InputTranslation.h"

using namespace platform;
using namespace qthost;

Q_DECLARE_METATYPE(Qt::KeyboardModifiers)

class KeyTranslationTest : public QObject {
    Q_OBJECT
private slots:
    void virtualKeys_data();
    void virtualKeys();
    void characters_data();
    void characters();
    void pressThenCharacterThenRelease();
    void consumedKeyDownGetsNoCharacter();
    void replacedKeyDownTypesTheReplacement();
    void autoRepeatGivesSeveralKeyDownsAndOneKeyUp();
    void unflaggedRepeatPairsGiveOneKeyUp();
    void realReleasesActOncePerPress();
    void otherKeysDeliverAHeldBackReleaseFirst();
    void releaseOfAKeyNotHeldIsDropped();
    void altCombinationsBelongToTheMenu();
    void unknownKeysStillTypeTheirCharacter();
    void committedTextIsTypedCharacterByCharacter();
    void wheelNotches();
};

void KeyTranslationTest::virtualKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("mods");
    QTest::addColumn<unsigned>("vk");
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
    const Qt::KeyboardModifiers pad = Qt::KeypadModifier;
    QTest::newRow("A") << int(Qt::Key_A) << none << 0x41u;
    QTest::newRow("Z") << int(Qt::Key_Z) << shift << 0x5Au;
    QTest::newRow("0") << int(Qt::Key_0) << none << 0x30u;
    QTest::newRow("9") << int(Qt::Key_9) << none << 0x39u;
    QTest::newRow("Shift+1 is '!'") << int(Qt::Key_Exclam) << shift << 0x31u;
    QTest::newRow("Shift+0 is ')'") << int(Qt::Key_ParenRight) << shift << 0x30u;
    QTest::newRow("Tab") << int(Qt::Key_Tab) << none << vk::Tab;
    QTest::newRow("Shift+Tab is Backtab") << int(Qt::Key_Backtab) << shift << vk::Tab;
    QTest::newRow("keypad 0") << int(Qt::Key_0) << pad << vk::Numpad0;
    QTest::newRow("keypad 7") << int(Qt::Key_7) << pad << vk::Numpad0 + 7;
    QTest::newRow("keypad *") << int(Qt::Key_Asterisk) << pad << vk::Multiply;
    QTest::newRow("Shift+8 *") << int(Qt::Key_Asterisk) << shift << 0x38u;
    QTest::newRow("keypad -") << int(Qt::Key_Minus) << pad << vk::Subtract;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << pad << vk::Return;
    QTest::newRow("keypad Home") << int(Qt::Key_Home) << pad << vk::Home;
    QTest::newRow("F1") << int(Qt::Key_F1) << none << vk::F1;
    QTest::newRow("F3") << int(Qt::Key_F3) << none << vk::F3;
    QTest::newRow("F5") << int(Qt::Key_F5) << none << vk::F5;
    QTest::newRow("F6") << int(Qt::Key_F6) << none << vk::F6;
    QTest::newRow("F12") << int(Qt::Key_F12) << none << 0x7Bu;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << none << vk::Escape;
    QTest::newRow("Return") << int(Qt::Key_Return) << none << vk::Return;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << none << vk::Back;
    QTest::newRow("Page Up") << int(Qt::Key_PageUp) << none << vk::Prior;
    QTest::newRow("Page Down") << int(Qt::Key_PageDown) << none << vk::Next;
    QTest::newRow("Insert") << int(Qt::Key_Insert) << none << vk::Insert;
    QTest::newRow("Delete") << int(Qt::Key_Delete) << none << vk::Delete;
    QTest::newRow("Left") << int(Qt::Key_Left) << none << vk::Left;
    QTest::newRow("Down") << int(Qt::Key_Down) << none << vk::Down;
    QTest::newRow("Shift") << int(Qt::Key_Shift) << shift << vk::Shift;
    QTest::newRow("Control") << int(Qt::Key_Control) << none << vk::Control;
    QTest::newRow("Space") << int(Qt::Key_Space) << none << vk::Space;
    QTest::newRow("semicolon") << int(Qt::Key_Semicolon) << none << vk::Oem1;
    QTest::newRow("question") << int(Qt::Key_Question) << shift << vk::Oem2;
    QTest::newRow("unknown") << int(Qt::Key_Adiaeresis) << none << 0u;
}

void KeyTranslationTest::virtualKeys() {
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, mods);
    QFETCH(unsigned, vk);
    QCOMPARE(VirtualKeyFor(key, mods), vk);
}

void KeyTranslationTest::characters_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("mods");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("ch");
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
    QTest::newRow("a") << int(Qt::Key_A) << none << "a" << int('a');
    QTest::newRow("Shift+a") << int(Qt::Key_A) << shift << "A" << int('A');
    QTest::newRow("Shift+1") << int(Qt::Key_Exclam) << shift << "!" << int('!');
    QTest::newRow("5") << int(Qt::Key_5) << none << "5" << int('5');
    QTest::newRow("keypad 5") << int(Qt::Key_5) << Qt::KeyboardModifiers(Qt::KeypadModifier) << "5"
                              << int('5');
    QTest::newRow("Ctrl+C") << int(Qt::Key_C) << ctrl << "\x03" << 3;
    QTest::newRow("Ctrl+F without text") << int(Qt::Key_F) << ctrl << "" << 6;
    QTest::newRow("Ctrl+V") << int(Qt::Key_V) << ctrl << "v" << 22;
    QTest::newRow("Ctrl+Shift+C") << int(Qt::Key_C) << (ctrl | shift) << "" << 3;
    QTest::newRow("Ctrl+Z is undo") << int(Qt::Key_Z) << ctrl << "\x1a" << 26;
    QTest::newRow("Ctrl+Y is redo") << int(Qt::Key_Y) << ctrl << "\x19" << 25;
    QTest::newRow("Ctrl+Shift+Z is redo too") << int(Qt::Key_Z) << (ctrl | shift) << "\x1a" << 25;
    QTest::newRow("Ctrl+1") << int(Qt::Key_1) << ctrl << "1" << -1;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << none << "\x1b" << 27;
    QTest::newRow("Return") << int(Qt::Key_Return) << none << "\r" << 13;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << none << "\r" << 13;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << none << "\b" << 8;
    QTest::newRow("Tab") << int(Qt::Key_Tab) << none << "\t" << 9;
    QTest::newRow("Backtab") << int(Qt::Key_Backtab) << shift << "" << 9;
    QTest::newRow("Delete has none") << int(Qt::Key_Delete) << none << "\x7f" << -1;
    QTest::newRow("F5 has none") << int(Qt::Key_F5) << none << "" << -1;
    QTest::newRow("Latin-1 e-acute") << int(Qt::Key_Eacute) << none << QString(QChar(0xE9)) << 0xE9;
    QTest::newRow("beyond Latin-1") << int(Qt::Key_unknown) << none << QString(QChar(0x20AC)) << -1;
}

void KeyTranslationTest::characters() {
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, mods);
    QFETCH(QString, text);
    QFETCH(int, ch);
    QCOMPARE(CharacterFor(key, mods, text), ch);
}

namespace {
QKeyEvent Press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {},
                bool repeat = false) {
    return QKeyEvent(QEvent::KeyPress, key, mods, text, repeat);
}
QKeyEvent Release(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, bool repeat = false) {
    return QKeyEvent(QEvent::KeyRelease, key, mods, QString(), repeat);
}
/// Feeds a translator key events stamped with the X server's time t
/// (milliseconds); a repeat is flagged only when said so.
struct TimedKeys {
    KeyboardTranslator& keys;
    RecordingClient& client;
    void Press(quint64 t, int key, const QString& text = {}, bool flagged = false) {
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, text, flagged);
        e.setTimestamp(t);
        keys.Press(e, client);
    }
    void Release(quint64 t, int key, bool flagged = false) {
        QKeyEvent e(QEvent::KeyRelease, key, Qt::NoModifier, QString(), flagged);
        e.setTimestamp(t);
        keys.Release(e, client);
    }
};
/// The key-downs of a trace that carry the previous-state bit of a repeat.
int RepeatedDowns(const RecordingClient& client) {
    int n = 0;
    for (const Message& m : client.Dispatched(msg::KeyDown)) n += (m.lParam >> 30) & 1;
    return n;
}
}  // namespace

void KeyTranslationTest::pressThenCharacterThenRelease() {
    RecordingClient client;
    KeyboardTranslator keys;
    keys.Press(Press(Qt::Key_A, Qt::NoModifier, "a"), client);
    keys.Release(Release(Qt::Key_A), client);
    QVERIFY(keys.HasPendingRelease());
    keys.DeliverPendingRelease(client);
    QVERIFY(!keys.HasPendingRelease());
    QCOMPARE(client.KeyTrace(), std::string("D41 C61 U41"));
    // Every message was offered to pre-translation before dispatch.
    QCOMPARE(client.seen.size(), size_t(6));
    for (size_t i = 0; i < client.seen.size(); i += 2) {
        QVERIFY(client.seen[i].preTranslate);
        QVERIFY(!client.seen[i + 1].preTranslate);
        QCOMPARE(client.seen[i].message.message, client.seen[i + 1].message.message);
    }
    QCOMPARE(client.Dispatched(msg::KeyUp).front().lParam, LParam(0xC0000001u));
}

void KeyTranslationTest::consumedKeyDownGetsNoCharacter() {
    RecordingClient client;
    client.consumeKey = vk::Escape;
    KeyboardTranslator keys;
    keys.Press(Press(Qt::Key_Escape, Qt::NoModifier, "\x1b"), client);
    keys.Release(Release(Qt::Key_Escape), client);
    keys.DeliverPendingRelease(client);
    QCOMPARE(client.KeyTrace(), std::string("U1B"));
}

void KeyTranslationTest::replacedKeyDownTypesTheReplacement() {
    RecordingClient client;
    client.spaceKey = 0x41;
    KeyboardTranslator keys;
    keys.Press(Press(Qt::Key_A, Qt::NoModifier, "a"), client);
    QCOMPARE(client.KeyTrace(), std::string("D20 C20"));
}

void KeyTranslationTest::autoRepeatGivesSeveralKeyDownsAndOneKeyUp() {
    RecordingClient client;
    KeyboardTranslator keys;
    keys.Press(Press(Qt::Key_Right), client);
    keys.Press(Press(Qt::Key_Right, Qt::NoModifier, {}, true), client);
    keys.Release(Release(Qt::Key_Right, Qt::NoModifier, true), client);  // flagged
    keys.Press(Press(Qt::Key_Right, Qt::NoModifier, {}, true), client);
    keys.Press(Press(Qt::Key_Right), client);  // unflagged, but the key is held
    keys.Release(Release(Qt::Key_Right), client);
    keys.DeliverPendingRelease(client);
    QCOMPARE(client.KeyTrace(), std::string("D27 D27 D27 D27 U27"));
    const auto downs = client.Dispatched(msg::KeyDown);
    QCOMPARE(downs[0].lParam & (LParam(1) << 30), LParam(0));
    for (size_t i = 1; i < downs.size(); ++i) QVERIFY(downs[i].lParam & (LParam(1) << 30));

    RecordingClient typing;
    keys.Press(Press(Qt::Key_X, Qt::NoModifier, "x"), typing);
    keys.Press(Press(Qt::Key_X, Qt::NoModifier, "x", true), typing);
    keys.Release(Release(Qt::Key_X), typing);
    keys.DeliverPendingRelease(typing);
    QCOMPARE(typing.KeyTrace(), std::string("D58 C78 D58 C78 U58"));
}

// An X server repeats a held key as a release and a press with one
// timestamp, and Qt leaves the pair unflagged when the press was not queued
// yet: the key acts once, at the real release, and a character key goes on
// typing.
void KeyTranslationTest::unflaggedRepeatPairsGiveOneKeyUp() {
    RecordingClient client;
    KeyboardTranslator keys;
    TimedKeys at{keys, client};
    at.Press(100, Qt::Key_Delete);
    for (quint64 t = 760; t <= 840; t += 40) {
        at.Release(t, Qt::Key_Delete);
        at.Press(t, Qt::Key_Delete);
    }
    at.Release(900, Qt::Key_Delete);
    QCOMPARE(client.KeyTrace(), std::string("D2E D2E D2E D2E"));
    keys.DeliverPendingRelease(client);
    QCOMPARE(client.KeyTrace(), std::string("D2E D2E D2E D2E U2E"));
    QCOMPARE(RepeatedDowns(client), 3);

    RecordingClient typing;
    TimedKeys x{keys, typing};
    x.Press(1000, Qt::Key_X, "x");
    x.Release(1660, Qt::Key_X);
    x.Press(1660, Qt::Key_X, "x");
    x.Release(1700, Qt::Key_X, true);  // a pair Qt did flag
    x.Press(1700, Qt::Key_X, "x", true);
    x.Release(1720, Qt::Key_X);
    keys.DeliverPendingRelease(typing);
    QCOMPARE(typing.KeyTrace(), std::string("D58 C78 D58 C78 D58 C78 U58"));
}

// Presses in quick succession: each release has its own timestamp and acts,
// before the next press.
void KeyTranslationTest::realReleasesActOncePerPress() {
    RecordingClient client;
    KeyboardTranslator keys;
    TimedKeys at{keys, client};
    for (quint64 t = 0; t < 300; t += 100) {
        at.Press(t, Qt::Key_Right);
        at.Release(t + 30, Qt::Key_Right);
    }
    keys.DeliverPendingRelease(client);
    QCOMPARE(client.KeyTrace(), std::string("D27 U27 D27 U27 D27 U27"));
    QCOMPARE(RepeatedDowns(client), 0);
}

// Another key's press or release shows that a release held back was real,
// also with the same timestamp; a held key's repeats go on around it.
void KeyTranslationTest::otherKeysDeliverAHeldBackReleaseFirst() {
    RecordingClient client;
    KeyboardTranslator keys;
    TimedKeys at{keys, client};
    at.Press(0, Qt::Key_A, "a");
    at.Release(500, Qt::Key_A);
    at.Press(500, Qt::Key_A, "a");
    at.Press(510, Qt::Key_Right);
    at.Release(540, Qt::Key_A);
    at.Press(540, Qt::Key_A, "a");
    at.Release(560, Qt::Key_Right);
    at.Release(580, Qt::Key_A);  // so Right's release was real
    at.Press(580, Qt::Key_A, "a");
    at.Release(600, Qt::Key_A);
    keys.DeliverPendingRelease(client);
    QCOMPARE(client.KeyTrace(), std::string("D41 C61 D41 C61 D27 D41 C61 U27 D41 C61 U41"));

    RecordingClient same;
    TimedKeys in{keys, same};
    in.Press(700, Qt::Key_Left);
    in.Press(710, Qt::Key_Up);
    in.Release(750, Qt::Key_Left);
    in.Release(750, Qt::Key_Up);
    in.Press(750, Qt::Key_Down);
    in.Release(800, Qt::Key_Down);
    keys.DeliverPendingRelease(same);
    QCOMPARE(same.KeyTrace(), std::string("D25 D26 U25 U26 D28 U28"));
    QCOMPARE(RepeatedDowns(same), 0);
}

void KeyTranslationTest::releaseOfAKeyNotHeldIsDropped() {
    RecordingClient client;
    KeyboardTranslator keys;
    keys.Release(Release(Qt::Key_F3), client);
    keys.Press(Press(Qt::Key_F3), client);
    keys.Reset();  // focus lost while F3 was held
    keys.Release(Release(Qt::Key_F3), client);
    keys.DeliverPendingRelease(client);
    QCOMPARE(client.KeyTrace(), std::string("D72"));
}

void KeyTranslationTest::altCombinationsBelongToTheMenu() {
    RecordingClient client;
    KeyboardTranslator keys;
    keys.Press(Press(Qt::Key_Alt, Qt::AltModifier), client);
    keys.Press(Press(Qt::Key_F, Qt::AltModifier, "f"), client);
    keys.Release(Release(Qt::Key_F, Qt::AltModifier), client);
    QCOMPARE(client.KeyTrace(), std::string());
}

void KeyTranslationTest::unknownKeysStillTypeTheirCharacter() {
    RecordingClient client;
    KeyboardTranslator keys;
    keys.Press(Press(Qt::Key_Adiaeresis, Qt::NoModifier, QString(QChar(0xE4))), client);
    keys.Release(Release(Qt::Key_Adiaeresis), client);
    QCOMPARE(client.KeyTrace(), std::string("CE4"));
}

// A dead key's or compose sequence's text, after the release held back;
// characters without an 8-bit code cannot be typed.
void KeyTranslationTest::committedTextIsTypedCharacterByCharacter() {
    RecordingClient client;
    KeyboardTranslator keys;
    keys.Press(Press(Qt::Key_A, Qt::NoModifier, "a"), client);
    keys.Release(Release(Qt::Key_A), client);
    keys.Commit(QString::fromUtf8("^\u00EA\u20AC\t~"), client);
    QVERIFY(!keys.HasPendingRelease());
    QCOMPARE(client.KeyTrace(), std::string("D41 C61 U41 C5E CEA C7E"));
    int offered = 0;  // like any typed character, each goes to pre-translation first
    for (const Seen& seen : client.seen)
        offered += seen.preTranslate && seen.message.message == msg::Char;
    QCOMPARE(offered, 4);
}

void KeyTranslationTest::wheelNotches() {
    WheelNotches wheel;
    QCOMPARE(wheel.Feed(120), 1);
    QCOMPARE(wheel.Feed(-360), -3);
    QCOMPARE(wheel.Feed(40), 0);
    QCOMPARE(wheel.Feed(40), 0);
    QCOMPARE(wheel.Feed(40), 1);  // high-resolution steps make a notch together
    QCOMPARE(wheel.Feed(240), 2);
}

QTEST_GUILESS_MAIN(KeyTranslationTest)
#include "KeyTranslationTest.moc"
