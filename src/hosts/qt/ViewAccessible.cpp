#include "hosts/qt/ViewAccessible.h"

#include "hosts/qt/TextConversion.h"
#include "hosts/qt/ViewWidget.h"

namespace qthost {

namespace {

QAccessibleInterface* ViewAccessibleFactory(const QString&, QObject* object) {
    auto* view = qobject_cast<ViewWidget*>(object);
    return view ? new ViewAccessible(view) : nullptr;
}

}  // namespace

ViewAccessible::ViewAccessible(ViewWidget* view) : QAccessibleWidget(view, QAccessible::Document) {}

QString ViewAccessible::text(QAccessible::Text t) const {
    const platform::ViewDescription& shown =
        static_cast<const ViewWidget*>(widget())->Description();
    switch (t) {
        // File names come in the file system's encoding; everything else is
        // the view's own 8-bit text.
        case QAccessible::Name: return DisplayText(shown.name);
        case QAccessible::Description: return FromLatin1(shown.text);
        default: return QAccessibleWidget::text(t);
    }
}

void InstallViewAccessibleFactory() {
    static bool installed = false;
    if (!installed) QAccessible::installFactory(ViewAccessibleFactory);
    installed = true;
}

void Describe(ViewWidget& view, const platform::ViewDescription& description) {
    const platform::ViewDescription before = view.Description();
    view.SetDescription(description);
    if (!QAccessible::isActive()) return;  // no assistive technology listens
    if (description.name != before.name) {
        QAccessibleEvent event(&view, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
    if (description.text != before.text) {
        QAccessibleEvent event(&view, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&event);
    }
}

}  // namespace qthost
