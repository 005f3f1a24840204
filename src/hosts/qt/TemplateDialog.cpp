#include "hosts/qt/TemplateDialog.h"

#include <QLabel>
#include <QPushButton>

#include "hosts/qt/Icons.h"
#include "hosts/qt/QtFonts.h"
#include "hosts/qt/TextConversion.h"
#include "platform/Constants.h"

using platform::DialogControl;

namespace qthost {

QString StaticText(const std::string& text, bool noPrefix) {
    if (noPrefix) return FromLatin1(text);
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (++i >= text.size()) break;
        }
        shown += text[i];
    }
    return FromLatin1(shown);
}

TemplateDialog::TemplateDialog(const platform::DialogTemplate& dialog, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
    setWindowTitle(FromLatin1(dialog.caption));
    setFont(DialogFont());
    const DialogBaseUnits base = BaseUnitsOf(font());
    setFixedSize(ToPixels(dialog.sizeDlu, base));
    for (const DialogControl& control : dialog.controls) {
        const QRect rect = ToPixels(control.rect, base);
        switch (control.kind) {
            case DialogControl::Kind::Icon: {
                auto* icon = new QLabel(this);
                // An icon control shows the icon at its own size from the
                // control's top left.
                icon->setPixmap(IconForId(control.iconId).pixmap(32, 32));
                icon->setGeometry(rect.x(), rect.y(), 32, 32);
                break;
            }
            case DialogControl::Kind::Text: {
                auto* label = new QLabel(StaticText(control.text, control.noPrefix), this);
                label->setTextFormat(Qt::PlainText);
                label->setGeometry(rect);
                break;
            }
            case DialogControl::Kind::Button: {
                auto* button = new QPushButton(FromLatin1(control.text), this);
                button->setGeometry(rect);
                button->setDefault(control.defaultButton);
                button->setAutoDefault(false);
                const int id = control.id;
                connect(button, &QPushButton::clicked, this, [this, id] { done(id); });
                break;
            }
        }
    }
}

// ESC and the close button end the dialog with the cancel result, as the
// platform's dialogs do.
void TemplateDialog::reject() { done(platform::mb::IdCancel); }

}  // namespace qthost
