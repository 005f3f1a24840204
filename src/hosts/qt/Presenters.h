// The user-facing pieces that block on the user: popup menus, message boxes
// and file dialogs. The hosts reach them through these small interfaces so
// that tests can answer in their place.
#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

#include "platform/Menu.h"

class QWidget;

namespace qthost {

class PopupMenuPresenter {
public:
    virtual ~PopupMenuPresenter() = default;
    /// Shows the menu at a screen point until the user chooses or dismisses
    /// it; the chosen item's id, or 0.
    virtual unsigned Choose(const std::vector<platform::MenuItem>& items, QPoint screen,
                            QWidget* parent) = 0;
};

class MessageBoxPresenter {
public:
    virtual ~MessageBoxPresenter() = default;
    /// type holds mb:: buttons and icon; returns mb::IdOk, IdYes or IdNo.
    virtual int Show(QWidget* parent, const QString& text, const QString& caption,
                     unsigned type) = 0;
};

struct FileDialogOptions {
    bool save = false;
    QStringList nameFilters;  // Qt form: "All Files (*)"
    QString initialName;      // a name or a full path; may be empty
    unsigned flags = 0;       // ofn::
};

class FileDialogPresenter {
public:
    virtual ~FileDialogPresenter() = default;
    /// The chosen file's path, or none when the user cancelled.
    virtual std::optional<QString> Ask(QWidget* parent, const FileDialogOptions& options) = 0;
};

struct Presenters {
    PopupMenuPresenter* popup;
    MessageBoxPresenter* messageBox;
    FileDialogPresenter* fileDialog;
};

/// The real Qt widgets.
Presenters RealPresenters();

/// The dialog filter "Name|pattern|...||" in Qt's form; "*.*" means every
/// file, which on this system is "*".
QStringList NameFiltersFrom(const std::string& filter);

}  // namespace qthost
