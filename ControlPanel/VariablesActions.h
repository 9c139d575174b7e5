// SPDX-License-Identifier: GPL-3.0-or-later
// Ctrl+R opens the variables window from the panel and from the plot
// window, where the context menu has it as "Proměnné…" with the shortcut.
#pragma once

class QAction;
class QWidget;

// Returns the plot window's action.
QAction* InstallVariablesActions(QWidget& panel, QWidget& plotWindow);

inline constexpr char VariablesActionName[] = "VariablesAction";
