// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessibleRoles.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace {

QAccessibleInterface* ProgramWidgetAccessible(const QString& className, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    // Asked with each class of the object's chain in turn, most derived first.
    if (className == QLatin1String("TPlaneImage"))
        return new QAccessibleWidget(widget, QAccessible::Graphic);
    if ((className == QLatin1String("TDraw2D") || className == QLatin1String("TControl_Panel")) &&
        widget->isWindow())
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

}  // namespace

void InstallAccessibleRoles()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(ProgramWidgetAccessible);
}
