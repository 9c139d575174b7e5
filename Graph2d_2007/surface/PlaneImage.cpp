#include "PlaneImage.h"

#include <QPainter>
#include <QPaintEvent>

TPlaneImage::TPlaneImage(QWidget* parent) : QWidget(parent)
{
    // The bitmap covers the whole widget; nothing under it needs painting.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPlaneImage::SetPicture(const QImage* picture)
{
    picture_ = picture;
    update();
}

void TPlaneImage::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (picture_ == nullptr || picture_->isNull()) {
        painter.fillRect(event->rect(), palette().window());
        return;
    }
    painter.fillRect(event->rect(), palette().window());
    painter.drawImage(event->rect().topLeft(), *picture_, event->rect());
}
