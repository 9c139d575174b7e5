// SPDX-License-Identifier: GPL-3.0-or-later
#include "Draw2D.h"

#include <QCloseEvent>
#include <QFont>
#include <QFrame>
#include <QPalette>

#include "AccessibleRoles.h"
#include "OuterFrame.h"
#include "PlaneFocusRing.h"
#include "PlaneImage.h"
#include "PlaneQt.h"
#include "ui_Draw2D.h"

TDraw2D* Draw2D = nullptr;

namespace {

const QRect OuterFrame(327, 6, 545, 560);

}  // namespace

TDraw2D::TDraw2D(QWidget* parent) : QWidget(parent), ui_(std::make_unique<Ui::Draw2D>())
{
    SetAccessibleRole(*this, QAccessible::Window);
    ui_->setupUi(this);
    Panel1 = ui_->Panel1;
    Image1 = ui_->Image1;
    Image1->SetPicture(&Plane());
    AddPlaneObserver(this);

    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    QFont formFont(QStringLiteral("MS Sans Serif"));
    formFont.setStyleHint(QFont::SansSerif);
    formFont.setPixelSize(10);
    setFont(formFont);

    new PlaneFocusRing(*this, *Panel1, *Image1);
    new OuterFrameKeeper(*this, OuterFrame);
    setVisible(true);  // the window is visible from its creation on
}

TDraw2D::~TDraw2D()
{
    RemovePlaneObserver(this);
}

void TDraw2D::closeEvent(QCloseEvent* event)
{
    if (MayClose && !MayClose()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void TDraw2D::PlaneChanged(const PixelRect& changed)
{
    // One bounding rectangle and one queued flush however many strokes come:
    // an axis of a million ticks must not build a region of a million parts.
    unpainted_ |= ToQRect(changed);
    if (!flushQueued_) {
        flushQueued_ = true;
        QMetaObject::invokeMethod(this, &TDraw2D::FlushPlaneChanges, Qt::QueuedConnection);
    }
}

void TDraw2D::FlushPlaneChanges()
{
    flushQueued_ = false;
    if (!unpainted_.isEmpty())
        Image1->update(unpainted_);
    unpainted_ = QRect();
}

void TDraw2D::SetPlaneSize(std::int32_t width, std::int32_t height)
{
    Panel1->resize(width, height);
    Image1->move(1, 1);
    ResizePlane(width, height);
    Image1->resize(width, height);
    Image1->SetPicture(&Plane());
    setVisible(true);
}

void TDraw2D::RepaintPlane()
{
    if (!unpainted_.isEmpty())
        Image1->repaint(unpainted_);
    unpainted_ = QRect();
}

void TDraw2D::SetPlaneDescription(const QString& description)
{
    // The toolkit tells screen readers of the change.
    Image1->setAccessibleDescription(description);
}

QString TDraw2D::PlaneDescription() const
{
    return Image1->accessibleDescription();
}
