// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessibleRoles.h"

#include <QAccessibleWidget>
#include <QVariant>
#include <QWidget>

namespace {

const char RoleProperty[] = "paramcurveAccessibleRole";

QAccessibleInterface* ProgramWidgetAccessible(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    const QVariant role = widget->property(RoleProperty);
    if (!role.isValid())
        return nullptr;
    const auto given = QAccessible::Role(role.toInt());
    // A window only while it is one (a test may show it inside another).
    if (given == QAccessible::Window && !widget->isWindow())
        return nullptr;
    return new QAccessibleWidget(widget, given);
}

}  // namespace

void SetAccessibleRole(QWidget& widget, QAccessible::Role role)
{
    static const bool installed = [] {
        QAccessible::installFactory(ProgramWidgetAccessible);
        return true;
    }();
    (void)installed;
    widget.setProperty(RoleProperty, int(role));
}
