// Reading another program's clipboard over our own X connection, against a
// real owner (xclip) on a private X server (Xvfb): exact Latin-1 bytes,
// UTF-8 read as Latin-1, a large text sent in pieces, no owner, an owner
// without text, and an owner that never answers, which costs about the
// patience given and no more.
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

#include <signal.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "hosts/qt/XcbClipboard.h"

using namespace qthost;

namespace {

/// Whether anybody owns the CLIPBOARD selection of the display.
bool ClipboardOwned(const std::string& display) {
    xcb_connection_t* c = xcb_connect(display.c_str(), nullptr);
    bool owned = false;
    if (!xcb_connection_has_error(c)) {
        xcb_intern_atom_reply_t* atom =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, 9, "CLIPBOARD"), nullptr);
        if (atom) {
            xcb_get_selection_owner_reply_t* owner =
                xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), nullptr);
            owned = owner && owner->owner != XCB_NONE;
            std::free(owner);
            std::free(atom);
        }
    }
    xcb_disconnect(c);
    return owned;
}

std::optional<std::string> Read(const std::string& display,
                                std::chrono::milliseconds patience = kClipboardPatience) {
    const auto text = ReadXcbClipboard(display.c_str(), patience, std::pmr::get_default_resource());
    if (!text) return std::nullopt;
    return std::string(*text);
}

}  // namespace

class XcbClipboardTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup() { StopOwner(); }

    void everyByteArrivesExactly();
    void utf8OnlyIsReadAsLatin1();
    void aLargeTextArrivesInPieces();
    void noOwnerOrNoTextGivesNothing();
    void anOwnerThatNeverAnswersCostsOnlyThePatience();
    void utf8DecodesToLatin1();

private:
    /// Starts xclip owning the clipboard with `data` as `target`.
    void Own(const QByteArray& data, const char* target);
    void StopOwner();

    QProcess m_server;
    std::unique_ptr<QProcess> m_owner;
    std::string m_display;
};

void XcbClipboardTest::initTestCase() {
    // -displayfd 1: the server picks a free display and names it on stdout.
    // -noreset: it would otherwise reset, refusing connections for a moment,
    // whenever its last client leaves.
    m_server.start("Xvfb",
                   {"-displayfd", "1", "-noreset", "-nolisten", "tcp", "-screen", "0", "64x64x24"});
    QVERIFY2(m_server.waitForStarted(10000), "Xvfb must be installed (scripts/setup)");
    QByteArray number;
    QDeadlineTimer deadline(60000);
    while (!number.endsWith('\n') && !deadline.hasExpired()) {
        m_server.waitForReadyRead(100);
        number += m_server.readAllStandardOutput();
    }
    QVERIFY2(number.endsWith('\n'), "Xvfb did not name its display");
    m_display = ":" + number.trimmed().toStdString();
}

void XcbClipboardTest::cleanupTestCase() {
    m_server.terminate();
    m_server.waitForFinished();
}

void XcbClipboardTest::Own(const QByteArray& data, const char* target) {
    StopOwner();
    m_owner = std::make_unique<QProcess>();
    m_owner->setProcessEnvironment([this] {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", QString::fromStdString(m_display));
        return env;
    }());
    // -quiet keeps xclip in the foreground, serving until it is stopped.
    m_owner->start("xclip", {"-quiet", "-selection", "clipboard", "-i", "-t", target});
    QVERIFY2(m_owner->waitForStarted(10000), "xclip must be installed (scripts/setup)");
    m_owner->write(data);
    m_owner->closeWriteChannel();
    QTRY_VERIFY_WITH_TIMEOUT(ClipboardOwned(m_display), 60000);
}

void XcbClipboardTest::StopOwner() {
    if (!m_owner) return;
    ::kill(pid_t(m_owner->processId()), SIGCONT);
    m_owner->kill();
    m_owner->waitForFinished();
    m_owner.reset();
    QTRY_VERIFY_WITH_TIMEOUT(!ClipboardOwned(m_display), 60000);
}

void XcbClipboardTest::everyByteArrivesExactly() {
    QByteArray all;
    for (int b = 1; b <= 0xFF; ++b) all += char(b);
    Own(all, "STRING");
    QCOMPARE(Read(m_display), std::optional<std::string>(all.toStdString()));

    // The text ends at its first NUL.
    Own(QByteArray("ab\0cd", 5), "STRING");
    QCOMPARE(Read(m_display), std::optional<std::string>("ab"));
}

void XcbClipboardTest::utf8OnlyIsReadAsLatin1() {
    Own(QByteArray("caf\xc3\xa9 \xe2\x82\xac!"), "UTF8_STRING");
    QCOMPARE(Read(m_display), std::optional<std::string>("caf\xe9 ?!"));
}

void XcbClipboardTest::aLargeTextArrivesInPieces() {
    // Far more than one request can carry, so the owner sends it in pieces.
    QByteArray hex;
    hex.reserve(30'000'000);
    const char digits[] = "0123456789ABCDEF";
    for (int i = 0; hex.size() < 30'000'000; ++i) {
        hex += digits[(i * 7) & 15];
        hex += digits[(i * 13) & 15];
        hex += ' ';
    }
    Own(hex, "STRING");
    const auto text = Read(m_display);
    QVERIFY(text.has_value());
    QCOMPARE(text->size(), size_t(hex.size()));
    QVERIFY(*text == hex.toStdString());
}

void XcbClipboardTest::noOwnerOrNoTextGivesNothing() {
    QCOMPARE(Read(m_display), std::nullopt);
    Own(QByteArray("\x89PNG"), "image/png");
    QCOMPARE(Read(m_display), std::nullopt);
    QCOMPARE(Read(":999999"), std::nullopt);  // no such display
}

void XcbClipboardTest::anOwnerThatNeverAnswersCostsOnlyThePatience() {
    Own("AABB", "STRING");
    QCOMPARE(::kill(pid_t(m_owner->processId()), SIGSTOP), 0);
    QElapsedTimer waited;
    waited.start();
    QCOMPARE(Read(m_display), std::nullopt);
    const qint64 ms = waited.elapsed();
    qInfo("a stopped owner kept the reader waiting %lld ms (patience %lld ms)", ms,
          qint64(kClipboardPatience.count()));
    QVERIFY(ms >= kClipboardPatience.count());
    // One wait only: no second request follows one that went unanswered.
    // The slack is for a loaded machine.
    QVERIFY(ms < 2 * kClipboardPatience.count());
}

void XcbClipboardTest::utf8DecodesToLatin1() {
    const struct {
        const char* utf8;
        const char* latin1;
    } cases[] = {
        {"plain", "plain"},
        {"\xc3\xa9\xc3\xbf\xc2\xa0", "\xe9\xff\xa0"},  // the top half of Latin-1
        {"\xe2\x82\xac\xf0\x9f\x98\x80", "??"},        // beyond U+00FF: one ? each
        {"a\xff"
         "b\xc3",
         "a?b?"},            // malformed, cut short
        {"\xc0\xaf", "??"},  // never valid lead bytes
    };
    for (const auto& c : cases) {
        std::pmr::string text(c.utf8);
        Utf8ToLatin1(text);
        QCOMPARE(std::string(text), std::string(c.latin1));
    }
}

QTEST_GUILESS_MAIN(XcbClipboardTest)
#include "XcbClipboardTest.moc"
