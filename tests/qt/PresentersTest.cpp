// One smoke test each of the real popup menu, message box and file dialog:
// each is built from the request, shown, answered, and gives the answer back.
#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "hosts/qt/Presenters.h"
#include "platform/Constants.h"

using namespace platform;
using namespace qthost;

namespace {

/// Runs f on the first widget that find returns, once it is up.
template <typename Find, typename F>
void WhenUp(Find find, F f) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, qApp, [poll, find, f] {
        QWidget* w = find();
        if (!w || !w->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        f(w);
    });
    poll->start(5);
}

}  // namespace

class PresentersTest : public QObject {
    Q_OBJECT
private slots:
    void popupMenuReturnsTheChosenId();
    void messageBoxesHaveTheirIconsButtonsAndAnswers();
    void fileDialogsUseTheRequest();
};

void PresentersTest::popupMenuReturnsTheChosenId() {
    const std::vector<MenuItem> items = {
        {"&Copy\tCtrl+C", 160}, MenuItem::Separator(), {"Select &All", 170}};
    QStringList texts;
    WhenUp([] { return QApplication::activePopupWidget(); },
           [&texts](QWidget* w) {
               auto* menu = qobject_cast<QMenu*>(w);
               QVERIFY(menu);
               for (QAction* a : menu->actions()) texts << (a->isSeparator() ? "-" : a->text());
               menu->setActiveAction(menu->actions().at(2));
               QTest::keyClick(menu, Qt::Key_Return);
           });
    QCOMPARE(RealPresenters().popup->Choose(items, QPoint(100, 100), nullptr), 170u);
    QCOMPARE(texts, QStringList({"&Copy\tCtrl+C", "-", "Select &All"}));

    WhenUp([] { return QApplication::activePopupWidget(); },
           [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    QCOMPARE(RealPresenters().popup->Choose(items, QPoint(100, 100), nullptr), 0u);
}

void PresentersTest::messageBoxesHaveTheirIconsButtonsAndAnswers() {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    WhenUp([] { return QApplication::activeModalWidget(); },
           [&](QWidget* w) {
               auto* box = qobject_cast<QMessageBox*>(w);
               QVERIFY(box);
               icon = box->icon();
               title = box->windowTitle();
               QCOMPARE(box->buttons().size(), 1);
               box->button(QMessageBox::Ok)->click();
           });
    QCOMPARE(
        RealPresenters().messageBox->Show(nullptr, "Failed", "bytewren", mb::Ok | mb::IconError),
        mb::IdOk);
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(title, QString("bytewren"));

    WhenUp([] { return QApplication::activeModalWidget(); },
           [&](QWidget* w) {
               auto* box = qobject_cast<QMessageBox*>(w);
               QVERIFY(box);
               icon = box->icon();
               QCOMPARE(box->buttons().size(), 2);
               box->button(QMessageBox::No)->click();
           });
    QCOMPARE(RealPresenters().messageBox->Show(nullptr, "Sure?", "Overwrite Warning",
                                               mb::YesNo | mb::IconExclamation),
             mb::IdNo);
    QCOMPARE(icon, QMessageBox::Warning);
}

void PresentersTest::fileDialogsUseTheRequest() {
    QTemporaryDir dir;
    const QString existing = dir.filePath("data.bin");
    QFile file(existing);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    QStringList filters;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptSave;
    WhenUp([] { return QApplication::activeModalWidget(); },
           [&](QWidget* w) {
               auto* dialog = qobject_cast<QFileDialog*>(w);
               QVERIFY(dialog);
               filters = dialog->nameFilters();
               mode = dialog->acceptMode();
               dialog->selectFile(existing);
               QMetaObject::invokeMethod(dialog, &QDialog::accept);
           });
    FileDialogOptions open{false, {"All Files (*)"}, {}, ofn::FileMustExist};
    QCOMPARE(RealPresenters().fileDialog->Ask(nullptr, open), std::optional<QString>(existing));
    QCOMPARE(filters, QStringList({"All Files (*)"}));
    QCOMPARE(mode, QFileDialog::AcceptOpen);

    bool confirms = false;
    QStringList chosen;
    WhenUp([] { return QApplication::activeModalWidget(); },
           [&](QWidget* w) {
               auto* dialog = qobject_cast<QFileDialog*>(w);
               QVERIFY(dialog);
               mode = dialog->acceptMode();
               confirms = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
               chosen = dialog->selectedFiles();
               dialog->reject();
           });
    const QString initial = dir.filePath("new name.bin");
    FileDialogOptions save{true, {"All Files (*)"}, initial, ofn::OverwritePrompt};
    QCOMPARE(RealPresenters().fileDialog->Ask(nullptr, save), std::nullopt);
    QCOMPARE(mode, QFileDialog::AcceptSave);
    QVERIFY(confirms);
    QCOMPARE(chosen, QStringList({initial}));
}

QTEST_MAIN(PresentersTest)
#include "PresentersTest.moc"
