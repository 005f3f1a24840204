// The view as assistive technologies see it: a document named after the
// image shown (or, without one, the welcome text), whose description is the
// byte at the caret and the selection, or the lines of the panel covering
// the bytes. A change of either is announced, so that a screen reader
// speaks it while the view has the focus.
#pragma once

#include <QAccessibleWidget>

#include "platform/ViewHost.h"

namespace qthost {

class ViewWidget;

class ViewAccessible final : public QAccessibleWidget {
public:
    explicit ViewAccessible(ViewWidget* view);
    QString text(QAccessible::Text t) const override;
};

/// Makes every view widget created from now on answer with a ViewAccessible.
void InstallViewAccessibleFactory();

/// Gives the view its new description and announces what changed.
void Describe(ViewWidget& view, const platform::ViewDescription& description);

}  // namespace qthost
