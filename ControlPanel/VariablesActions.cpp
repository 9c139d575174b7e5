// SPDX-License-Identifier: GPL-3.0-or-later
#include "VariablesActions.h"

#include <QAction>
#include <QKeySequence>
#include <QWidget>

#include "Dialogs.h"
#include "VariablesWindow.h"

namespace {

QAction* AddAction(QWidget& window)
{
    auto* action = new QAction(QStringLiteral("Proměnné…"), &window);
    action->setObjectName(QString::fromLatin1(VariablesActionName));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    action->setShortcutContext(Qt::WindowShortcut);
    window.addAction(action);
    QObject::connect(action, &QAction::triggered, &window, [] { RunHandler([] { ShowVariablesWindow(); }); });
    return action;
}

}  // namespace

QAction* InstallVariablesActions(QWidget& panel, QWidget& plotWindow)
{
    AddAction(panel);
    return AddAction(plotWindow);
}
