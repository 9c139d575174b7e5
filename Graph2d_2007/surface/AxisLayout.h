// SPDX-License-Identifier: GPL-3.0-or-later
// Where the parts of an axis stand, in pixels from its points: shared by the
// bitmap drawing (Axes.cpp) and the vector replay (VectorAxes.cpp), so both
// put every tick, label and arrowhead stroke in the same place.
//
// Offsets are (columns, rows), rows growing downwards. A text's offset is the
// top-left corner of its box.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

#include "PixelGeometry.h"
#include "PlaneRecord.h"

struct PixelOffset {
    int dx = 0;
    int dy = 0;
};

struct AxisLayout {
    // From a tick's point on the axis.
    PixelOffset TickFrom;
    PixelOffset TickTo;
    PixelOffset Label;
    // From the pixel of the positive end.
    PixelOffset Unit;      // "*10"
    PixelOffset Exponent;  // the exponent, as a superscript
    PixelOffset ArrowTip;
    PixelOffset ArrowBarb1;  // stroked from the tip
    PixelOffset ArrowBarb2;  // stroked to the tip
    bool BlankUnderUnit = false;     // "    " first, which blanks a box in the brush colour
    bool EndLabelsOnWhite = false;   // the brush turns white before "*10"
};

inline constexpr int AxisTickHalf = 3;
inline constexpr int AxisArrowPenWidth = 3;
inline constexpr char AxisUnitText[] = "*10";
inline constexpr char AxisBlankText[] = "    ";

inline constexpr AxisLayout XAxisLayout{
    {0, -AxisTickHalf}, {0, AxisTickHalf}, {3, 5}, {-45, 5}, {-25, 1}, {0, 0}, {-15, -3}, {-15, 3}, false, true};
inline constexpr AxisLayout YAxisLayout{
    {-AxisTickHalf, 0}, {AxisTickHalf, 0}, {-25, -15}, {5, 10}, {25, 3}, {0, 5}, {-3, 20}, {3, 20}, true, false};

inline const AxisLayout& LayoutOf(AxisKind axis)
{
    return axis == AxisKind::X ? XAxisLayout : YAxisLayout;
}

// A pixel moved by an offset. Positions near the ends of the 32-bit range
// must not wrap; saturated, they stay just as far off the plane.
inline PixelPoint ShiftPixel(PixelPoint point, PixelOffset offset)
{
    auto shift = [](int value, int by) {
        return int(std::clamp<std::int64_t>(std::int64_t(value) + by, std::numeric_limits<int>::min(),
                                            std::numeric_limits<int>::max()));
    };
    return PixelPoint{shift(point.X, offset.dx), shift(point.Y, offset.dy)};
}
