// A dialog built from a dialog template: a fixed-size box with the template's
// caption, icons, static texts and push buttons at their dialog-unit places.
#pragma once

#include <QDialog>

#include "hosts/qt/DialogUnits.h"
#include "platform/Dialogs.h"

namespace qthost {

class TemplateDialog final : public QDialog {
    Q_OBJECT
public:
    TemplateDialog(const platform::DialogTemplate& dialog, QWidget* parent);

    void reject() override;
};

/// The text a static control shows: with prefix processing "&&" is one
/// ampersand and a single ampersand is dropped.
QString StaticText(const std::string& text, bool noPrefix);

}  // namespace qthost
