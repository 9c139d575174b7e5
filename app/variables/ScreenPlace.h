// SPDX-License-Identifier: GPL-3.0-or-later
// Where a window goes so that it lies on the screen's available area: beside
// another window, below it, or over it, and how much of its height it must
// give up (its rows scroll) when even the whole area is too low for it.
// Rectangles are window frames in the screen's logical pixels.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

struct ScreenPlace {
    QPoint TopLeft;     // of the frame
    int HeightCut = 0;  // pixels taller than the available area
};

// `frame` moved the least that puts it within `available` (its top-left
// corner kept on the area when it is larger).
ScreenPlace FitWithin(const QRect& frame, const QRect& available);

// A window of `frame` size next to `anchor`, `gap` pixels off: to its right,
// top edges aligned, where the whole window fits; else below it, left edges
// aligned; else over it, at the area's right or left edge, whichever hides
// less of it.
ScreenPlace PlaceBeside(const QRect& anchor, const QSize& frame, const QRect& available, int gap);
