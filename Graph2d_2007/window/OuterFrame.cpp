// SPDX-License-Identifier: GPL-3.0-or-later
#include "OuterFrame.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

OuterFrameKeeper::OuterFrameKeeper(QWidget& window, const QRect& outer)
    : QObject(&window), window_(window), outer_(outer)
{
    window_.installEventFilter(this);
    Place(QMargins());  // no window manager has said anything yet
}

QMargins OuterFrameKeeper::FrameMargins() const
{
    const QWindow* handle = window_.windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

void OuterFrameKeeper::Place(const QMargins& margins)
{
    placedWith_ = margins;
    framed_ = !margins.isNull();
    window_.setGeometry(outer_.marginsRemoved(margins));
}

void OuterFrameKeeper::PlaceIfMarginsChanged()
{
    if (framed_ || window_.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))
        return;
    const QMargins margins = FrameMargins();
    if (margins != placedWith_)
        Place(margins);
}

bool OuterFrameKeeper::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Expose:
        // The native window exists from the first show on; its expose events
        // come when the window manager has mapped it in its frame.
        if (watched == &window_ && !watchedHandle_ && window_.windowHandle()) {
            watchedHandle_ = window_.windowHandle();
            watchedHandle_->installEventFilter(this);
        }
        PlaceIfMarginsChanged();
        break;
    default:
        break;
    }
    return false;
}
