// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps a top-level window's outer frame at the layout's position and size.
//
// The layouts give outer sizes, frame included. A window manager reports its
// frame margins only after the window is mapped and decorated, so the first
// placement cannot know them. Whenever the window moves, resizes or is
// exposed, the margins are looked at again; when they differ from those of
// the last placement, the client area is placed anew so that the frame has
// the outer size at the outer position. Without a frame (offscreen, a bare X
// server) the client area is the outer rectangle. A maximized, minimized or
// full-screen window is left alone. Once placed within a frame the window is
// the user's: margins that change later (a move to a screen of another scale,
// new decorations) no longer move it back.
#pragma once

#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QRect>

class QWidget;

class OuterFrameKeeper : public QObject {
public:
    OuterFrameKeeper(QWidget& window, const QRect& outer);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMargins FrameMargins() const;
    void Place(const QMargins& margins);
    void PlaceIfMarginsChanged();

    QWidget& window_;
    QRect outer_;
    QPointer<QObject> watchedHandle_;  // the native window, once there is one
    QMargins placedWith_;
    bool framed_ = false;  // placed within a frame: done
};
