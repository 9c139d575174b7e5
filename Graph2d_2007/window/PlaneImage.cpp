// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlaneImage.h"

#include <QPainter>
#include <QPaintEvent>

#include "AccessibleRoles.h"
#include "PlaneQt.h"

TPlaneImage::TPlaneImage(QWidget* parent) : QWidget(parent)
{
    SetAccessibleRole(*this, QAccessible::Graphic);
    // The bitmap covers the whole widget; nothing under it needs painting.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

void TPlaneImage::SetPicture(const RgbImage* picture)
{
    picture_ = picture;
    update();
}

void TPlaneImage::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (picture_ == nullptr || picture_->IsNull()) {
        painter.fillRect(event->rect(), palette().window());
        return;
    }
    painter.fillRect(event->rect(), palette().window());
    // On a screen scaled by a whole factor k each plane pixel becomes a k x k
    // block of its own colour, never a blend of its neighbours.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(event->rect().topLeft(), ViewOf(*picture_), event->rect());
}
