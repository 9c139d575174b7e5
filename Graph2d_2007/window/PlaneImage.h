// SPDX-License-Identifier: GPL-3.0-or-later
// Image1 of the plot window: shows the plane's bitmap unscaled at its own
// top-left corner, one plane pixel per logical pixel (a k x k block on a
// screen scaled by k). Whatever does not fit is cut off by the widget's bounds.
//
// It takes the keyboard focus (Tab, a click), so that a screen reader reads
// its name and description and the context menu opens from the keyboard over
// it; to assistive technology it is an image (AccessibleRoles.h).
#pragma once

#include <QWidget>

#include "RgbImage.h"

class TPlaneImage : public QWidget {
    Q_OBJECT
public:
    explicit TPlaneImage(QWidget* parent = nullptr);

    void SetPicture(const RgbImage* picture);
    const RgbImage* Picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const RgbImage* picture_ = nullptr;
};
