#include "hosts/qt/Presenters.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>

#include "hosts/qt/TextConversion.h"
#include "platform/Constants.h"

using namespace platform;

namespace qthost {
namespace {

class QtPopupMenu final : public PopupMenuPresenter {
public:
    unsigned Choose(const std::vector<MenuItem>& items, QPoint screen, QWidget* parent) override {
        QMenu menu(parent);
        for (const MenuItem& item : items) {
            if (item.separator) {
                menu.addSeparator();
                continue;
            }
            // Text after a tab shows as the item's key name.
            menu.addAction(FromLatin1(item.text))->setData(item.id);
        }
        QAction* chosen = menu.exec(screen);
        return chosen ? chosen->data().toUInt() : 0;
    }
};

class QtMessageBox final : public MessageBoxPresenter {
public:
    int Show(QWidget* parent, const QString& text, const QString& caption, unsigned type) override {
        QMessageBox box(parent);
        box.setWindowTitle(caption);
        box.setText(text);
        box.setTextFormat(Qt::PlainText);
        switch (type & mb::IconMask) {
            case mb::IconError: box.setIcon(QMessageBox::Critical); break;
            case mb::IconExclamation: box.setIcon(QMessageBox::Warning); break;
            case mb::IconQuestion: box.setIcon(QMessageBox::Question); break;
            case mb::IconInformation: box.setIcon(QMessageBox::Information); break;
            default: box.setIcon(QMessageBox::NoIcon); break;
        }
        if ((type & mb::ButtonMask) == mb::YesNo) {
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::No);
            return box.exec() == QMessageBox::Yes ? mb::IdYes : mb::IdNo;
        }
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return mb::IdOk;
    }
};

class QtFileDialog final : public FileDialogPresenter {
public:
    std::optional<QString> Ask(QWidget* parent, const FileDialogOptions& options) override {
        QFileDialog dialog(parent);
        dialog.setAcceptMode(options.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(options.flags & ofn::FileMustExist ? QFileDialog::ExistingFile
                                                              : QFileDialog::AnyFile);
        dialog.setNameFilters(options.nameFilters);
        if (!(options.flags & ofn::OverwritePrompt)) {
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
        }
        if (!options.initialName.isEmpty()) dialog.selectFile(options.initialName);
        for (;;) {
            if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
                return std::nullopt;
            }
            const QString path = dialog.selectedFiles().constFirst();
            const QFileInfo info(path);
            // Like the platform's dialog, refuse a read-only file when asked
            // to and let the user choose again.
            if ((options.flags & ofn::NoReadOnlyReturn) && info.exists() && !info.isWritable()) {
                QMessageBox::warning(&dialog, dialog.windowTitle(),
                                     QObject::tr("%1\nThis file is read-only.\n"
                                                 "Choose another file.")
                                         .arg(info.fileName()));
                continue;
            }
            return path;
        }
    }
};

}  // namespace

Presenters RealPresenters() {
    static QtPopupMenu popup;
    static QtMessageBox box;
    static QtFileDialog files;
    return {&popup, &box, &files};
}

QStringList NameFiltersFrom(const std::string& filter) {
    const QStringList parts = FromLatin1(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) break;  // the closing "||"
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns) {
            if (p == QLatin1String("*.*")) p = QStringLiteral("*");
        }
        QString name = parts[i];
        // The name usually repeats the patterns in parentheses; show ours.
        name.remove(QRegularExpression(QStringLiteral("\\s*\\([^)]*\\)\\s*$")));
        filters << QStringLiteral("%1 (%2)").arg(name, patterns.join(QLatin1Char(' ')));
    }
    return filters;
}

}  // namespace qthost
