// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlaneZoom.h"

#include <QApplication>
#include <QLineEdit>

#include "DocumentSignals.h"
#include "PlaneQt.h"
#include "PositionReadout.h"
#include "TracePause.h"
#include "ReadoutText.h"
#include "WindowReplay.h"

PlaneZoom::PlaneZoom(PlotDocument& document, PanelPress& panel, PositionReadout& readout, QObject* parent)
    : QObject(parent), document_(document), panel_(panel), readout_(readout), moves_(document)
{
    // A "Kresli", a "Vymaž" or a lesson opened starts afresh; only drawing
    // the same presses in another window keeps the way back.
    auto* news = new DocumentSignals(document_, this);
    connect(news, &DocumentSignals::PressesChanged, this, [this](PressesChange change) {
        if (change != PressesChange::WindowMoved)
            ForgetOriginal();
    });
}

void PlaneZoom::Wheel(QPoint pixel, int angleDelta)
{
    const WindowMove move = moves_.Zoom(FromQPoint(pixel), angleDelta);
    if (move.To)
        Apply(*move.To);
    if (move.Limited)
        readout_.Note(QString::fromUtf8(angleDelta > 0 ? ZoomInLimitText : ZoomOutLimitText));
}

void PlaneZoom::Press(QPoint pixel)
{
    drag_.reset();
    if (!document_.Shown())
        return;
    drag_ = Drag{pixel, moves_.Shown(), false};
}

void PlaneZoom::DragTo(QPoint pixel)
{
    if (!drag_)
        return;
    if (!drag_->Moving && (pixel - drag_->From).manhattanLength() < QApplication::startDragDistance())
        return;  // a click, not a drag
    drag_->Moving = true;
    dragTarget_ = pixel;
    // Moves come faster than the plane is drawn: one redraw per turn of the
    // event loop, for where the cursor is by then.
    if (!panQueued_) {
        panQueued_ = true;
        QMetaObject::invokeMethod(this, &PlaneZoom::PanNow, Qt::QueuedConnection);
    }
}

void PlaneZoom::Release(QPoint pixel)
{
    if (drag_ && drag_->Moving) {
        dragTarget_ = pixel;
        PanNow();
    }
    drag_.reset();
}

void PlaneZoom::PanNow()
{
    panQueued_ = false;
    if (!drag_ || TraceRunning())
        return;
    const WindowMove move = moves_.Pan(drag_->Start, FromQPoint(drag_->From), FromQPoint(dragTarget_));
    if (move.To)
        Apply(*move.To);
    if (move.Limited)
        readout_.Note(QString::fromUtf8(PanLimitText));
}

void PlaneZoom::Apply(const WorldWindow& window)
{
    PressHistory presses = document_.Presses();
    if (!original_) {
        original_ = Original{BoundsOfPresses(presses), panel_.WorldTexts()};
        emit CanReturnChanged(true);
    }
    const BoundTexts texts = WindowTexts(window);
    SetBoundsOfPresses(presses, texts);
    DrawAgain(presses, texts);
}

void PlaneZoom::ReturnToOriginal()
{
    if (!original_)
        return;
    PressHistory presses = document_.Presses();
    const Original original = std::move(*original_);
    ForgetOriginal();
    // Esc may have left fewer presses than there were.
    SetBoundsOfPresses(presses, original.PressBounds);
    DrawAgain(presses, original.Fields);
}

void PlaneZoom::DrawAgain(const PressHistory& presses, const std::array<std::string, 4>& fields)
{
    panel_.ShowWorldTexts(fields);
    DrawPressesAnew(document_, presses, PressesChange::WindowMoved);
}

void PlaneZoom::ForgetOriginal()
{
    if (!original_)
        return;
    original_.reset();
    emit CanReturnChanged(false);
}
