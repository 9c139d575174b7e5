// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlaneFocusRing.h"

#include <QEvent>
#include <QFrame>
#include <QPainter>
#include <QPalette>

PlaneFocusRing::PlaneFocusRing(QWidget& window, QFrame& panel, QWidget& plane)
    : QObject(&window), window_(window), panel_(panel), plane_(plane)
{
    window_.installEventFilter(this);
    plane_.installEventFilter(this);
}

bool PlaneFocusRing::Shown() const
{
    return plane_.hasFocus();
}

void PlaneFocusRing::ShowBevel(bool focused)
{
    // The raised panel draws its top and left line in the light colour, its
    // bottom and right in the dark one (those two lie under the plane). Only
    // that one colour is set; an empty palette inherits the window's again.
    QPalette palette;
    if (focused)
        palette.setColor(QPalette::Light, window_.palette().color(QPalette::Highlight));
    panel_.setPalette(palette);
}

bool PlaneFocusRing::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &plane_ && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        ShowBevel(event->type() == QEvent::FocusIn);
        // The right and bottom sides, one pixel beyond the panel.
        const QRect panel = panel_.geometry();
        window_.update(QRect(panel.right() + 1, panel.top(), 1, panel.height() + 1));
        window_.update(QRect(panel.left(), panel.bottom() + 1, panel.width() + 1, 1));
    } else if (watched == &window_ && event->type() == QEvent::Paint && Shown()) {
        // The window's background is filled by now; its own painting adds nothing.
        QPainter painter(&window_);
        const QRect panel = panel_.geometry();
        const QColor ring = window_.palette().color(QPalette::Highlight);
        painter.fillRect(QRect(panel.right() + 1, panel.top(), 1, panel.height() + 1), ring);
        painter.fillRect(QRect(panel.left(), panel.bottom() + 1, panel.width() + 1, 1), ring);
    }
    return false;
}
