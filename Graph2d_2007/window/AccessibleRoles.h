// SPDX-License-Identifier: GPL-3.0-or-later
// Roles for the program's own widgets. Assistive technology sees a plain
// widget as a bare area (a "filler" through AT-SPI): the two top-level
// windows are windows (a screen reader announces them by their titles), the
// plane an image. Each such widget gives its role in its constructor; names
// and descriptions come from the layouts.
#pragma once

#include <QAccessible>

class QWidget;

// Before the widget is first asked for: its constructor.
void SetAccessibleRole(QWidget& widget, QAccessible::Role role);
