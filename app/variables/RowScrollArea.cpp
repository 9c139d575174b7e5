// SPDX-License-Identifier: GPL-3.0-or-later
#include "RowScrollArea.h"

#include <QApplication>
#include <QScrollBar>

RowScrollArea::RowScrollArea(QWidget* parent) : QScrollArea(parent)
{
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { ShowRowOf(now); });
}

void RowScrollArea::ShowRowOf(const QWidget* control)
{
    const QWidget* rows = widget();
    if (!control || !rows || !rows->isAncestorOf(control))
        return;
    const QWidget* row = control;
    while (row->parentWidget() != rows)
        row = row->parentWidget();
    QScrollBar* bar = verticalScrollBar();
    const int seen = viewport()->height();
    if (row->y() < bar->value())
        bar->setValue(row->y());
    else if (row->y() + row->height() > bar->value() + seen)
        bar->setValue(row->y() + row->height() - seen);
}

bool RowScrollArea::focusNextPrevChild(bool next)
{
    // QScrollArea's own would then show only the text cursor of a field,
    // with margins of its own; the whole row is shown instead.
    if (!QWidget::focusNextPrevChild(next))
        return false;
    ShowRowOf(focusWidget());
    return true;
}
