// The main window on Qt: its menu, size, icon and layout, the About box,
// and how size changes, menu commands and close requests reach the dialog.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "RecordingClient.h"
#include "app/AboutDlg.h"
#include "app/MainDlg.h"
#include "app/Resources.h"
#include "hosts/qt/DialogUnits.h"
#include "hosts/qt/QtApplication.h"
#include "hosts/qt/QtFonts.h"
#include "hosts/qt/QtScrollBar.h"
#include "hosts/qt/TemplateDialog.h"
#include "hosts/qt/ViewWidget.h"

using namespace platform;
using namespace qthost;

namespace {

QRect ClientRect(QtMainWindowHost& host) { return QRect(QPoint(0, 0), host.ClientArea()->size()); }

/// Runs f on the modal window once one is up (polling, since it opens
/// from inside an event handler).
template <typename F>
void WhenModal(F f) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, qApp, [poll, f] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        poll->deleteLater();
        poll->stop();
        f(modal);
    });
    poll->start(5);
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QTest::failOnWarning(QRegularExpression("^bytewren: message")); }
    void dialogUnitsAsThePlatformConverts();
    void menuHasTheDialogsItemsWithoutShortcutsOrChecks();
    void windowHasCaptionIconAndTemplateSize();
    void viewCoversTheClientAreaWithTheBarInItsStrip();
    void sizeChangesAndMenuCommandsReachTheDialog();
    void aboutBoxShowsTheTemplate();
    void aboutCommandRunsTheBoxModally();
    void closeRequestEndsTheModalRun();
    void altF4AsksToClose();
};

void MainWindowTest::dialogUnitsAsThePlatformConverts() {
    const DialogBaseUnits tahoma{6, 13};
    QCOMPARE(ToPixels(Size{424, 270}, tahoma), QSize(636, 439));
    QCOMPARE(ToPixels(Size{235, 55}, tahoma), QSize(353, 89));
    QCOMPARE(ToPixels(Rect{178, 7, 228, 21}, tahoma), QRect(267, 11, 75, 23));
    const DialogBaseUnits base = BaseUnitsOf(DialogFont());
    QVERIFY(base.x > 0 && base.y > 0);
}

void MainWindowTest::menuHasTheDialogsItemsWithoutShortcutsOrChecks() {
    QtApplication app;
    CMainDlg dlg;
    QtMainWindowHost* host = app.Open(dlg);
    QVERIFY(host);
    const QList<QAction*> popups = host->Widget()->MenuBar()->actions();
    QStringList titles;
    QStringList items;
    for (QAction* popup : popups) {
        titles << popup->text();
        for (QAction* item : popup->menu()->actions()) {
            QVERIFY(!item->isCheckable());
            QVERIFY(item->isEnabled());
            QVERIFY(item->shortcut().isEmpty());
            items << (item->isSeparator() ? QString("-")
                                          : item->text() + "=" + item->data().toString());
        }
    }
    QCOMPARE(titles, QStringList({"&File", "&View", "&Help"}));
    QCOMPARE(items,
             QStringList({"&Open=32771", "&New=32774", "&Reload File=32778", "Save &As=32773",
                          "&Save=32772", "&Decrease Column\tF5=32776", "&Increase Column\tF6=32775",
                          "-", "&Normal Character Fading=32779", "&Less Character Fading=32780",
                          "N&o Character Fading=32781", "&About...=32777"}));
}

void MainWindowTest::windowHasCaptionIconAndTemplateSize() {
    QtApplication app;
    CMainDlg dlg;
    QtMainWindowHost* host = app.Open(dlg);
    QCOMPARE(host->Widget()->windowTitle(), QString("Bytewren"));
    QVERIFY(!host->Widget()->windowIcon().isNull());
    QCOMPARE(host->ClientArea()->size(), ToPixels(Size{424, 270}, BaseUnitsOf(DialogFont())));
    QCOMPARE(host->ClientArea()->y(), host->Widget()->MenuBar()->height());
    QCOMPARE(dlg.m_hexView.m_strBaseTitle, std::string("Bytewren"));

    host->Widget()->show();
    QVERIFY(QTest::qWaitForWindowActive(host->Widget()));
    QCOMPARE(QApplication::focusWidget(), host->View().Widget());
}

void MainWindowTest::viewCoversTheClientAreaWithTheBarInItsStrip() {
    QtApplication app;
    CMainDlg dlg;
    QtMainWindowHost* host = app.Open(dlg);
    host->Widget()->show();
    for (QSize size : {QSize(500, 300), QSize(900, 700), QSize(120, 80)}) {
        host->Widget()->resize(size);
        QCoreApplication::processEvents();
        const QRect client = ClientRect(*host);
        QCOMPARE(host->View().Widget()->geometry(), client);
        QCOMPARE(host->View().ScrollBar()->geometry(),
                 QRect(client.width() - 18, 0, 18, client.height()));
        QCOMPARE(host->View().GetClientRect(), (Rect{0, 0, client.width(), client.height()}));
    }
}

void MainWindowTest::sizeChangesAndMenuCommandsReachTheDialog() {
    QtApplication app;
    RecordingDialog dlg;
    QtMainWindowHost* host = app.Open(dlg);
    host->Widget()->show();
    host->Widget()->resize(400, 250);
    QCoreApplication::processEvents();
    const QRect client = ClientRect(*host);
    QVERIFY(!dlg.seen.empty());
    QCOMPARE(dlg.seen.back().message, msg::Size);
    QCOMPARE(PointFromLParam(dlg.seen.back().lParam), (Point{client.width(), client.height()}));

    QAction* view = host->Widget()->MenuBar()->actions().at(1);
    view->menu()->actions().at(1)->trigger();      // Increase Column
    QCOMPARE(dlg.seen.back().message, msg::Size);  // posted, not yet delivered
    QCoreApplication::processEvents();
    QCOMPARE(dlg.seen.back().message, msg::Command);
    QCOMPARE(unsigned(dlg.seen.back().wParam), IDM_VIEW_INCREASECOLUMN);
}

void MainWindowTest::aboutBoxShowsTheTemplate() {
    TemplateDialog box(CAboutDlg::Template(), nullptr);
    QCOMPARE(box.windowTitle(), QString("About..."));
    QCOMPARE(box.size(), ToPixels(Size{235, 55}, BaseUnitsOf(DialogFont())));
    QStringList texts;
    int icons = 0;
    for (QLabel* label : box.findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (!label->pixmap().isNull()) ++icons;
        else texts << label->text();
    }
    QCOMPARE(icons, 1);
    QCOMPARE(texts.size(), 3);
    QCOMPARE(texts.at(0), QString("Bytewren Version 1.0.0.5"));
    const QList<QPushButton*> buttons = box.findChildren<QPushButton*>();
    QCOMPARE(buttons.size(), 1);
    QCOMPARE(buttons.front()->text(), QString("&OK"));
    QVERIFY(buttons.front()->isDefault());
    QCOMPARE(StaticText("Tom && &Jerry", false), QString("Tom & Jerry"));
    QCOMPARE(StaticText("Tom && &Jerry", true), QString("Tom && &Jerry"));

    WhenModal([](QWidget* modal) { modal->findChild<QPushButton*>()->click(); });
    QCOMPARE(box.exec(), IDOK_BUTTON);
}

void MainWindowTest::aboutCommandRunsTheBoxModally() {
    QtApplication app;
    CMainDlg dlg;
    QtMainWindowHost* host = app.Open(dlg);
    host->Widget()->show();
    QString shown;
    WhenModal([&shown](QWidget* modal) {
        shown = modal->windowTitle();
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    host->PostCommand(IDM_HELP_ABOUT);
    QCoreApplication::processEvents();
    QCOMPARE(shown, QString("About..."));
    QVERIFY(host->Widget()->isVisible());
}

void MainWindowTest::closeRequestEndsTheModalRun() {
    {
        QtApplication app;
        RecordingDialog dlg;
        WhenModal([](QWidget* modal) { modal->close(); });
        QCOMPARE(app.RunModal(dlg), int(mb::IdCancel));
        // The close request, then the cancel command its default processing makes.
        std::vector<std::pair<unsigned, WParam>> trail;
        for (const Message& m : dlg.seen) {
            if (m.message != msg::Size) trail.emplace_back(m.message, m.wParam);
        }
        const std::vector<std::pair<unsigned, WParam>> expected = {
            {msg::SysCommand, syscmd::Close}, {msg::Command, WParam(mb::IdCancel)}};
        QCOMPARE(trail, expected);
        QVERIFY(!dlg.mainHost->ViewWindowHost().WindowExists());
        QVERIFY(!dlg.mainHost->ViewWindowHost().PumpWaitingMessages());
    }
    QtApplication app;
    CMainDlg dlg;
    WhenModal([](QWidget* modal) { modal->close(); });
    QCOMPARE(app.RunModal(dlg), int(mb::IdCancel));
}

void MainWindowTest::altF4AsksToClose() {
    QtApplication app;
    RecordingDialog dlg;
    WhenModal([](QWidget* modal) {
        QWidget* view = QApplication::focusWidget();
        QVERIFY(view && view->window() == modal);
        QTest::keyClick(view, Qt::Key_F4, Qt::AltModifier);
    });
    QCOMPARE(app.RunModal(dlg), int(mb::IdCancel));
    QCOMPARE(dlg.seen.at(dlg.seen.size() - 2).message, msg::SysCommand);
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
