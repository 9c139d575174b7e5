// SPDX-License-Identifier: GPL-3.0-or-later
// The plot window: the plane of PlotSurface shown unscaled in Image1 inside
// the raised panel Panel1, laid out in forms/Draw2D.ui.
//
// Whatever changes the plane marks the changed part of Image1 for painting,
// so whenever the event loop runs (a modal box's included) the window shows
// the plane as it stands. RepaintPlane paints what changed at once.
//
// The outer frame is kept at (327, 6) with the size 545 x 560 (OuterFrame.h).
// The plane, Image1, takes the keyboard focus and shows it with a ring
// (PlaneFocusRing.h); to assistive technology it is the image "Rovina".
#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

#include "PlotSurface.h"

class QFrame;
class TPlaneImage;
namespace Ui { class Draw2D; }

class TDraw2D : public QWidget, public PlotSurface, private PlaneObserver {
    Q_OBJECT
public:
    explicit TDraw2D(QWidget* parent = nullptr);
    ~TDraw2D() override;

    QFrame* Panel1 = nullptr;
    TPlaneImage* Image1 = nullptr;

    void SetPlaneSize(std::int32_t width, std::int32_t height);
    void RepaintPlane() override;  // paints the changed part of Image1 at once

    // What the plane holds, as assistive technology reads it; screen readers
    // are told when it changes.
    void SetPlaneDescription(const QString& description);
    QString PlaneDescription() const;

    // Asked before the window closes (and so the program ends); false keeps
    // it open. None: it closes.
    std::function<bool()> MayClose;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void PlaneChanged(const PixelRect& rect) override;
    void FlushPlaneChanges();

    std::unique_ptr<Ui::Draw2D> ui_;
    QRect unpainted_;             // changed since Image1 was last told
    bool flushQueued_ = false;
};

extern TDraw2D* Draw2D;  // the one plot window, set by SetDraw2D
