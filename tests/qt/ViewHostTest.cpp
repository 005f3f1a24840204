// The view's window services on Qt: the queue and pumping, timers, painting,
// pointer input, input-method text, drops, the scroll bar, the clipboard, the
// caption, the command line, the view's accessible description, and the
// replaceable popup menu, message boxes and dialogs.
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <optional>

#include "RecordingClient.h"
#include "hosts/qt/QtApplication.h"
#include "hosts/qt/QtScrollBar.h"
#include "hosts/qt/TextConversion.h"
#include "hosts/qt/ViewWidget.h"

using namespace platform;
using namespace qthost;

namespace {

class FakePopup final : public PopupMenuPresenter {
public:
    unsigned Choose(const std::vector<MenuItem>& items, QPoint screen, QWidget*) override {
        shown = items;
        at = screen;
        return answer;
    }
    std::vector<MenuItem> shown;
    QPoint at;
    unsigned answer = 0;
};

class FakeBox final : public MessageBoxPresenter {
public:
    int Show(QWidget*, const QString& text, const QString& caption, unsigned type) override {
        texts << text;
        captions << caption;
        types.push_back(type);
        return (type & mb::ButtonMask) == mb::YesNo ? mb::IdYes : mb::IdOk;
    }
    QStringList texts;
    QStringList captions;
    std::vector<unsigned> types;
};

class FakeFiles final : public FileDialogPresenter {
public:
    std::optional<QString> Ask(QWidget*, const FileDialogOptions& options) override {
        asked.push_back(options);
        return answer;
    }
    std::vector<FileDialogOptions> asked;
    std::optional<QString> answer;
};

/// A shown main window whose view records its messages.
struct Fixture {
    Fixture() : app(CommandLine::FromArguments({"x.bin"}), {&popup, &box, &files}) {
        host = app.Open(dialog);
        host->Widget()->show();
        QCoreApplication::processEvents();
        view().seen.clear();
    }
    RecordingClient& view() { return dialog.view; }
    ViewHost& services() { return host->View(); }
    ViewWidget* widget() { return host->View().Widget(); }

    /// Pumps until pred holds (or a generous deadline passes).
    template <typename P>
    bool PumpUntil(P pred) {
        QDeadlineTimer deadline(5000);
        while (!pred() && !deadline.hasExpired()) {
            services().PumpWaitingMessages();
            QTest::qSleep(1);
        }
        return pred();
    }

    FakePopup popup;
    FakeBox box;
    FakeFiles files;
    QtApplication app;
    RecordingDialog dialog;
    QtMainWindowHost* host = nullptr;
};

int CountOf(const RecordingClient& c, unsigned message) {
    return int(c.Dispatched(message).size());
}

}  // namespace

class ViewHostTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QTest::failOnWarning(QRegularExpression("^bytewren: message")); }
    void postedMessageAndTimerArriveInsidePump();
    void pumpReportsQuittingOnceTheDialogEnded();
    void paintGoesThroughOneOffscreenImage();
    void anUnpaintedViewIsBlack();
    void pointerMessagesCarryClientPoints();
    void wheelSendsOneMessagePerNotch();
    void aHeldKeyActsOnceBeforeLaterInput();
    void inputMethodTextIsTyped();
    void dropHandsOverOnlyTheFirstLocalFile();
    void scrollBarMovesOnlyWhenTheCoreSaysSo();
    void clipboardRoundTripsEveryByte();
    void captionAndCommandLine();
    void descriptionIsTheViewsAccessibleText();
    void popupChoiceComesBackAsACommand();
    void messageBoxesAndFileDialogsGetTheirRequests();
    void anExceptionFromTheCoreStopsAtTheHost();
};

void ViewHostTest::postedMessageAndTimerArriveInsidePump() {
    Fixture f;
    f.services().PostViewMessage(1225, 7, 9);
    QCOMPARE(CountOf(f.view(), 1225), 0);
    QVERIFY(f.PumpUntil([&] { return CountOf(f.view(), 1225) == 1; }));
    QCOMPARE(f.view().seen.front().preTranslate, true);
    QCOMPARE(f.view().Dispatched(1225).front().wParam, WParam(7));
    QCOMPARE(f.view().Dispatched(1225).front().lParam, LParam(9));

    f.services().SetTimer(10, 1);
    QVERIFY(f.PumpUntil([&] { return CountOf(f.view(), msg::Timer) >= 2; }));
    QCOMPARE(f.view().Dispatched(msg::Timer).front().wParam, WParam(10));
    f.services().KillTimer(10);
    const int seen = CountOf(f.view(), msg::Timer);
    QTest::qWait(20);
    QCOMPARE(CountOf(f.view(), msg::Timer), seen);
}

void ViewHostTest::pumpReportsQuittingOnceTheDialogEnded() {
    Fixture f;
    QVERIFY(f.services().PumpWaitingMessages());
    f.host->DefaultProcessing(Message{msg::Command, WParam(mb::IdCancel), 0});
    QVERIFY(!f.services().PumpWaitingMessages());
}

void ViewHostTest::paintGoesThroughOneOffscreenImage() {
    Fixture f;
    int presents = 0;
    f.view().onPaint = [&] {
        auto paint = f.services().BeginPaint();
        const Rect client = f.services().GetClientRect();
        auto buffer = paint->CreateBuffer({client.Width() - 18, client.Height()});
        QVERIFY(buffer);
        buffer->FillSolidRect({0, 0, client.Width() - 18, client.Height()}, Rgb(20, 20, 20));
        buffer->FillSolidRect({0, 0, 10, 10}, Rgb(200, 0, 0));
        paint->Present(*buffer, {0, 0});
        ++presents;
    };
    const QImage shot = f.widget()->grab().toImage();
    QVERIFY(presents >= 1);
    QCOMPARE(shot.pixelColor(5, 5), QColor(200, 0, 0));
    QCOMPARE(shot.pixelColor(50, 50), QColor(20, 20, 20));
    QVERIFY(!f.services().BeginPaint()->CreateBuffer({-1, 10}));

    // Invalidation repaints later, through the window procedure.
    const int before = CountOf(f.view(), msg::Paint);
    f.services().Invalidate();
    QVERIFY(f.PumpUntil([&] { return CountOf(f.view(), msg::Paint) > before; }));
}

void ViewHostTest::anUnpaintedViewIsBlack() {
    Fixture f;
    const QImage shot = f.widget()->grab().toImage();
    QCOMPARE(shot.pixelColor(40, 40), QColor(Qt::black));
    QVERIFY(CountOf(f.view(), msg::Paint) >= 1);
}

void ViewHostTest::pointerMessagesCarryClientPoints() {
    Fixture f;
    ViewWidget* w = f.widget();
    QTest::mousePress(w, Qt::LeftButton, Qt::ShiftModifier, QPoint(30, 40));
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(31, 41));
    QTest::mouseRelease(w, Qt::RightButton, Qt::NoModifier, QPoint(5, 6));
    QMouseEvent second(QEvent::MouseButtonDblClick, QPointF(50, 60),
                       w->mapToGlobal(QPointF(50, 60)), Qt::LeftButton, Qt::LeftButton,
                       Qt::NoModifier);
    QApplication::sendEvent(w, &second);  // the second press of a double click
    QTest::mouseMove(w, QPoint(70, 80));
    QTest::mouseMove(w, QPoint(w->width() - 5, 80));  // no scroll bar yet: the view's
    std::vector<std::pair<unsigned, Point>> trail;
    for (const Message& m : f.view().Dispatched()) {
        if (m.message == msg::Paint) continue;
        trail.emplace_back(m.message, PointFromLParam(m.lParam));
    }
    const std::vector<std::pair<unsigned, Point>> expected = {
        {msg::SetCursor, {1, int(msg::LButtonDown)}},
        {msg::LButtonDown, {30, 40}},
        {msg::LButtonUp, {31, 41}},
        {msg::RButtonUp, {5, 6}},
        {msg::SetCursor, {1, int(msg::LButtonDown)}},
        {msg::LButtonDown, {50, 60}},
        {msg::SetCursor, {1, int(msg::MouseMove)}},
        {msg::MouseMove, {70, 80}},
        {msg::SetCursor, {1, int(msg::MouseMove)}},
        {msg::MouseMove, {w->width() - 5, 80}},
    };
    QCOMPARE(trail, expected);
    QCOMPARE(f.view().Dispatched(msg::LButtonDown).front().wParam, WParam(mk::LButton | mk::Shift));

    // With a scroll bar, moves over its strip are not the view's.
    f.services().CreateScrollBar({w->width() - 18, 0, w->width(), w->height()}, 150);
    f.view().seen.clear();
    QTest::mouseMove(w, QPoint(w->width() - 20, 80));
    QTest::mouseMove(w, QPoint(w->width() - 5, 90));
    QCOMPARE(CountOf(f.view(), msg::MouseMove), 1);
}

void ViewHostTest::wheelSendsOneMessagePerNotch() {
    Fixture f;
    const QPoint local(40, 50);
    const QPoint global = f.widget()->mapToGlobal(local);
    QWheelEvent wheel(local, global, {}, QPoint(0, -240), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(f.widget(), &wheel);
    const auto wheels = f.view().Dispatched(msg::MouseWheel);
    QCOMPARE(wheels.size(), size_t(2));
    for (const Message& m : wheels) {
        QCOMPARE(WheelDelta(m.wParam), -WHEEL_NOTCH);
        QCOMPARE(PointFromLParam(m.lParam), (Point{global.x(), global.y()}));
    }
}

// A release that may be a repeat's is held back: the key acts once, at its
// last release, and before whatever the user does next.
void ViewHostTest::aHeldKeyActsOnceBeforeLaterInput() {
    Fixture f;
    ViewWidget* w = f.widget();
    auto key = [&](QEvent::Type type, int k, quint64 timestamp) {
        QKeyEvent e(type, k, Qt::NoModifier);
        e.setTimestamp(timestamp);
        QApplication::sendEvent(w, &e);
    };
    key(QEvent::KeyPress, Qt::Key_Right, 100);
    for (quint64 t = 760; t <= 840; t += 40) {  // repeats as an X server sends them
        key(QEvent::KeyRelease, Qt::Key_Right, t);
        key(QEvent::KeyPress, Qt::Key_Right, t);
    }
    key(QEvent::KeyRelease, Qt::Key_Right, 900);
    QVERIFY(f.PumpUntil([&] { return CountOf(f.view(), msg::KeyUp) > 0; }));
    QTest::qWait(20);
    QCOMPARE(f.view().KeyTrace(), std::string("D27 D27 D27 D27 U27"));

    f.view().seen.clear();
    key(QEvent::KeyPress, Qt::Key_Delete, 1000);
    key(QEvent::KeyRelease, Qt::Key_Delete, 1050);
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, QPoint(30, 40));
    key(QEvent::KeyPress, Qt::Key_Insert, 1100);
    key(QEvent::KeyRelease, Qt::Key_Insert, 1150);
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(w, &out);
    std::vector<std::pair<unsigned, WParam>> trail;
    for (const Message& m : f.view().Dispatched()) {
        if (m.message == msg::Paint || m.message == msg::SetCursor) continue;
        trail.emplace_back(m.message, m.message == msg::LButtonDown ? 0 : m.wParam);
    }
    const std::vector<std::pair<unsigned, WParam>> expected = {
        {msg::KeyDown, vk::Delete}, {msg::KeyUp, vk::Delete}, {msg::LButtonDown, 0},
        {msg::KeyDown, vk::Insert}, {msg::KeyUp, vk::Insert},
    };
    QCOMPARE(trail, expected);
}

// Dead keys and compose sequences: the committed text is typed.
void ViewHostTest::inputMethodTextIsTyped() {
    Fixture f;
    QInputMethodQueryEvent query(Qt::ImEnabled);  // what input methods ask first
    QCoreApplication::sendEvent(f.widget(), &query);
    QVERIFY(query.value(Qt::ImEnabled).toBool());
    QInputMethodEvent composed;
    composed.setCommitString(QString::fromUtf8("^\xc3\xaa"));
    QCoreApplication::sendEvent(f.widget(), &composed);
    QCOMPARE(f.view().KeyTrace(), std::string("C5E CEA"));
}

void ViewHostTest::dropHandsOverOnlyTheFirstLocalFile() {
    Fixture f;
    QTemporaryDir dir;
    const QString first = dir.filePath("first file.bin");
    const QString second = dir.filePath("second.bin");
    for (const QString& path : {first, second}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("data");
    }
    QMimeData data;
    data.setUrls({QUrl("https://example.org/remote.bin"), QUrl::fromLocalFile(first),
                  QUrl::fromLocalFile(second)});
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.widget(), &enter);
    QVERIFY(enter.isAccepted());
    QApplication::sendEvent(f.widget(), &drop);
    QVERIFY(drop.isAccepted());
    QVERIFY(f.view().drops.empty());  // handed over once the drag is done
    QVERIFY(f.PumpUntil([&] { return !f.view().drops.empty(); }));
    QCOMPARE(f.view().drops.size(), size_t(1));
    QCOMPARE(f.view().drops.front(), std::vector<std::string>{first.toStdString()});
}

void ViewHostTest::scrollBarMovesOnlyWhenTheCoreSaysSo() {
    Fixture f;
    const QRect r(f.widget()->width() - 18, 0, 18, f.widget()->height());
    auto bar =
        f.services().CreateScrollBar({r.left(), r.top(), r.right() + 1, r.bottom() + 1}, 150);
    ScrollBarWidget* w = f.host->View().ScrollBar();
    QCOMPARE(w->geometry(), r);

    bar->SetScrollRange(0, 100000, true);
    QCOMPARE(bar->SetScrollPos(200000, true), 0);
    QCOMPARE(bar->GetScrollPos(), 100000);  // clamped
    bar->SetScrollRange(0, 40, true);
    QCOMPARE(bar->GetScrollPos(), 40);
    bar->SetScrollRange(5, 2, true);
    int lo = 0, hi = 0;
    bar->GetScrollRange(lo, hi);
    QCOMPARE(std::make_pair(lo, hi), std::make_pair(5, 5));
    bar->SetScrollRange(0, 40, true);
    bar->SetScrollPos(10, true);
    QCOMPARE(f.view().Dispatched(msg::VScroll).size(), size_t(0));  // the core's own moves

    w->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    w->triggerAction(QAbstractSlider::SliderPageStepSub);
    w->triggerAction(QAbstractSlider::SliderToMaximum);
    QCOMPARE(bar->GetScrollPos(), 10);  // nobody in the core moved it

    w->setSliderDown(true);
    w->setSliderPosition(30);
    QCOMPARE(bar->GetTrackPos(), 30);
    QCOMPARE(bar->GetScrollPos(), 10);
    w->setSliderDown(false);
    QCOMPARE(bar->GetScrollPos(), 10);
    QCOMPARE(w->sliderPosition(), 10);  // the thumb returns to the core's position

    std::vector<std::pair<unsigned, unsigned>> codes;
    for (const Message& m : f.view().Dispatched(msg::VScroll)) {
        codes.emplace_back(LoWord(m.wParam), HiWord(m.wParam));
    }
    const std::vector<std::pair<unsigned, unsigned>> expected = {{sb::LineDown, 10},
                                                                 {sb::PageUp, 10},
                                                                 {sb::Bottom, 10},
                                                                 {sb::ThumbTrack, 30},
                                                                 {sb::ThumbPosition, 30}};
    QCOMPARE(codes, expected);

    f.view().seen.clear();
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(9, w->height() - 4));
    codes.clear();
    for (const Message& m : f.view().Dispatched(msg::VScroll))
        codes.emplace_back(LoWord(m.wParam), 0);
    QCOMPARE(codes,
             (std::vector<std::pair<unsigned, unsigned>>{{sb::LineDown, 0}, {sb::EndScroll, 0}}));

    bar->EnableWindow(false);
    QVERIFY(!bar->IsWindowEnabled());
    bar->EnableWindow(true);
    QVERIFY(bar->IsWindowEnabled());
}

void ViewHostTest::clipboardRoundTripsEveryByte() {
    Fixture f;
    std::string all;
    for (int b = 1; b <= 0xFF; ++b) all += char(b);
    QVERIFY(f.services().WriteClipboardText(all));
    QCOMPARE(f.services().ReadClipboardText(), std::optional<std::pmr::string>(all));

    QGuiApplication::clipboard()->setText(
        QString::fromUtf8("a\xe2\x82\xac"
                          "b\0c"));
    QCOMPARE(f.services().ReadClipboardText(), std::optional<std::pmr::string>("a?b"));
    QGuiApplication::clipboard()->setMimeData(new QMimeData);
    QCOMPARE(f.services().ReadClipboardText(), std::optional<std::pmr::string>());
}

void ViewHostTest::captionAndCommandLine() {
    Fixture f;
    QCOMPARE(f.services().GetMainCaption(), std::string("Bytewren"));
    f.services().SetMainCaption("Bytewren - caf\xc3\xa9.bin");
    QCOMPARE(f.host->Widget()->windowTitle(), QString::fromUtf8("Bytewren - caf\xc3\xa9.bin"));
    QCOMPARE(f.services().GetMainCaption(), std::string("Bytewren - caf\xc3\xa9.bin"));
    f.services().SetMainCaption("Bytewren - \xff.bin");  // not UTF-8: Latin-1
    QCOMPARE(f.host->Widget()->windowTitle(), QString::fromLatin1("Bytewren - \xff.bin"));
    const CommandLine commandLine = f.services().StartupCommandLine();
    QVERIFY(commandLine.form == CommandLine::Form::Arguments);
    QCOMPARE(commandLine.arguments, std::vector<std::string>{"x.bin"});
    QCOMPARE(f.services().GetMainWindowFont(), (Font{"MS Shell Dlg", 80}));
}

// What the core tells is what assistive technologies read; that it is
// announced is checked over AT-SPI (tests/e2e/check_accessible.sh), since
// Qt sends no events without a listener.
void ViewHostTest::descriptionIsTheViewsAccessibleText() {
    Fixture f;
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(f.widget());
    QVERIFY(view);
    QCOMPARE(view->role(), QAccessible::Document);
    f.services().DescriptionChanged({"Bytes of caf\xc3\xa9.bin", "\xb3 found"});
    QCOMPARE(view->text(QAccessible::Name), QString::fromUtf8("Bytes of caf\xc3\xa9.bin"));
    QCOMPARE(view->text(QAccessible::Description), QString::fromLatin1("\xb3 found"));
}

void ViewHostTest::popupChoiceComesBackAsACommand() {
    Fixture f;
    f.popup.answer = 170;
    const std::vector<MenuItem> items = {
        {"&Copy\tCtrl+C", 160}, MenuItem::Separator(), {"Select &All", 170}};
    f.services().TrackPopupMenu(items, {300, 200});
    QCOMPARE(f.popup.shown.size(), size_t(3));
    QCOMPARE(f.popup.at, QPoint(300, 200));
    QVERIFY(f.PumpUntil([&] { return CountOf(f.view(), msg::Command) == 1; }));
    QCOMPARE(f.view().Dispatched(msg::Command).front().wParam, WParam(170));

    f.popup.answer = 0;  // dismissed: nothing comes back
    f.services().TrackPopupMenu(items, {0, 0});
    QTest::qWait(10);
    f.services().PumpWaitingMessages();
    QCOMPARE(CountOf(f.view(), msg::Command), 1);
}

void ViewHostTest::messageBoxesAndFileDialogsGetTheirRequests() {
    Fixture f;
    QCOMPARE(
        f.services().ShowMessageBox("Cannot open /tmp/caf\xc3\xa9", "", mb::Ok | mb::IconError),
        mb::IdOk);
    QCOMPARE(
        f.services().ShowMessageBox("Sure?", "Overwrite Warning", mb::YesNo | mb::IconExclamation),
        mb::IdYes);
    QCOMPARE(f.box.captions, QStringList({ApplicationCaption(), "Overwrite Warning"}));
    QCOMPARE(ApplicationCaption(), QString("qt_ViewHostTest"));
    QCOMPARE(f.box.texts.front(), QString::fromUtf8("Cannot open /tmp/caf\xc3\xa9"));
    QCOMPARE(f.box.types,
             (std::vector<unsigned>{mb::Ok | mb::IconError, mb::YesNo | mb::IconExclamation}));

    const std::string filter = "All Files (*.*)|*.*||";
    f.files.answer = QString::fromUtf8("/tmp/\xc3\xa9t\xc3\xa9.bin");
    const auto opened = f.services().OpenFileDialog({filter, "", ofn::FileMustExist});
    QCOMPARE(opened, std::optional<std::string>("/tmp/\xc3\xa9t\xc3\xa9.bin"));
    f.files.answer.reset();
    QCOMPARE(f.services().SaveFileDialog({filter, "/data/a b.bin", ofn::OverwritePrompt}),
             std::nullopt);
    QCOMPARE(f.files.asked.size(), size_t(2));
    QCOMPARE(f.files.asked[0].save, false);
    QCOMPARE(f.files.asked[0].nameFilters, QStringList({"All Files (*)"}));
    QCOMPARE(f.files.asked[1].save, true);
    QCOMPARE(f.files.asked[1].initialName, QString("/data/a b.bin"));
    QCOMPARE(f.files.asked[1].flags, unsigned(ofn::OverwritePrompt));
    QCOMPARE(NameFiltersFrom("Binary (*.bin;*.dat)|*.bin;*.dat|All Files (*.*)|*.*||"),
             QStringList({"Binary (*.bin *.dat)", "All Files (*)"}));
}

QTEST_MAIN(ViewHostTest)
// Whatever escapes the core is reported and its message dropped; the event
// loop goes on delivering the next ones.
void ViewHostTest::anExceptionFromTheCoreStopsAtTheHost() {
    Fixture f;
    const QRegularExpression dropped("^bytewren: message %1 dropped: std::bad_alloc$");
    f.view().throwOn = 1225;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(dropped.pattern().arg(1225)));
    f.services().PostViewMessage(1225, 0, 0);
    f.services().PostViewMessage(1224, 0, 0);
    QVERIFY(f.PumpUntil([&] { return CountOf(f.view(), 1224) == 1; }));

    // A key: the failing key-down is dropped, its character still follows.
    f.view().throwOn = msg::KeyDown;
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(dropped.pattern().arg(unsigned(msg::KeyDown))));
    QTest::keyClick(f.widget(), Qt::Key_A);
    QVERIFY(f.PumpUntil([&] { return CountOf(f.view(), msg::KeyUp) > 0; }));
    QCOMPARE(f.view().KeyTrace(), std::string("D41 C61 U41"));

    // The main window's own messages: a size change.
    f.dialog.throwOn = msg::Size;
    f.dialog.seen.clear();
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(dropped.pattern().arg(unsigned(msg::Size))));
    f.host->Widget()->resize(f.host->Widget()->size() + QSize(10, 10));
    QVERIFY(f.PumpUntil([&] {
        return std::any_of(f.dialog.seen.begin(), f.dialog.seen.end(),
                           [](const Message& m) { return m.message == msg::Size; });
    }));
}

#include "ViewHostTest.moc"
