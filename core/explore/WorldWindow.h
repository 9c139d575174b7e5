// SPDX-License-Identifier: GPL-3.0-or-later
// The world window a zoom or a pan moves to, and whether the plane can be
// drawn in it. No widgets: the arithmetic on the bounds and the trial on a
// scratch surface, so the plot window itself is never touched by a window
// that would fail.
//
// The new bounds are worked out in extended precision and stored as doubles;
// a bound beyond the double range is the overflow fault (FloatFault).
#pragma once

#include "PixelGeometry.h"
#include "PlaneMapping.h"
#include "PlotState.h"
#include "RealArith.h"

class PlotSurface;

struct WorldWindow {
    double X1 = 0.0;
    double X2 = 0.0;
    double Y1 = 0.0;
    double Y2 = 0.0;

    bool operator==(const WorldWindow&) const = default;
};

// The four bounds of the plot state, as the last press set them.
WorldWindow WindowOf(const PlotState& state);

// The world point at the centre of a pixel, the one that maps back to it.
// A mapping with a zero scale is the division-by-zero fault.
WorldPoint PixelCentre(const PlaneMapping& mapping, PixelPoint pixel);

// The window `factor` times narrower (wider when below 1) about `at`, which
// keeps its place on the plane.
WorldWindow ZoomedWindow(const WorldWindow& window, WorldPoint at, Extended factor);

// The window moved so that the world point under pixel `from` of a
// `planeSize` plane comes to lie under pixel `to`.
WorldWindow PannedWindow(const WorldWindow& window, PixelSize planeSize, PixelPoint from, PixelPoint to);

// The window as it is written into the fields: each bound the shortest
// decimal within a tenth of a pixel of `exact` on a `planeSize` plane (so a
// zoom writes -1.072, not -1.0719999999999998), read back as the double a
// formula of it gives. The plane is then drawn in this window, so the
// fields, the plane, a lesson and a render agree.
WorldWindow WrittenWindow(const WorldWindow& exact, PixelSize planeSize);

// Whether the plane can be mapped to the window: SetWorld passes (on
// `scratch`, whose plane size counts) and each pixel column and row still
// has a world value of its own.
bool MappingWorks(PlotSurface& scratch, const WorldWindow& window);

// Whether both axes of a press can be drawn in the window, mapped on
// `scratch`: every pixel they use within the 32-bit range, their ticks
// countable (AxisScale.h). Checked without painting a tick.
bool AxesFit(PlotSurface& scratch, const WorldWindow& window);
