// Keeps a top-level window's outer frame at the layout's position and size.
//
// The layouts give outer sizes, frame included. A window manager reports its
// frame margins only after the window is mapped and decorated, so the first
// placement cannot know them. Whenever the window moves, resizes or is
// exposed, the margins are looked at again; when they differ from those of
// the last placement, the client area is placed anew so that the frame has
// the outer size at the outer position. Without a frame (offscreen, a bare X
// server) the client area is the outer rectangle. A maximized, minimized or
// full-screen window is left alone; a window the user moved or resized keeps
// where the user put it, as its margins do not change.
#pragma once

#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QRect>

class QWidget;

class OuterFrameKeeper : public QObject {
public:
    OuterFrameKeeper(QWidget& window, const QRect& outer);

    const QRect& Outer() const { return outer_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMargins FrameMargins() const;
    void Place(const QMargins& margins);
    void PlaceIfMarginsChanged();

    QWidget& window_;
    QRect outer_;
    QPointer<QObject> watchedHandle_;  // the native window, once there is one
    bool placed_ = false;
    QMargins placedWith_;
};
