// SPDX-License-Identifier: GPL-3.0-or-later
// The tick marks of a recorded axis as the vector pictures draw them (SVG,
// PDF, print): the very marks the bitmap shows, found from the bitmap's
// rounded marks, each then drawn at the unrounded position of its world
// point.
#pragma once

#include <cstdint>
#include <vector>

#include "PixelGeometry.h"
#include "PlaneRecord.h"

struct VectorTick {
    double Position = 0.0;    // the world value along the axis
    std::int32_t Index = 0;   // the number under it, in steps
    bool Line = false;        // whether the bitmap shows its line
    bool Label = false;       // and its number
};

// For an axis with ticks (HasStep) on a plane of `page` pixels; the marks in
// the order the bitmap lays them.
std::vector<VectorTick> VectorTicks(const AxisRecord& axis, PixelSize page);
