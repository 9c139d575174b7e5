// SPDX-License-Identifier: GPL-3.0-or-later
// What the plane shows, as drawings rather than pixels: everything the plot
// surface drew since the plane was last filled, in drawing order, so that
// vector output and print can draw the same picture again at any scale.
//
// - An axis is kept as its inputs and the mapping and canvas state it was
//   drawn with, plus how far it got: its ticks follow from the stored step
//   and tick range, so an axis of a million ticks costs a few numbers.
// - A curve is kept as the unrounded pixel positions of the segments that
//   reached the plane, consecutive segments joined into one polyline. A
//   segment whose ends round to the same pixel draws nothing on the bitmap;
//   it is kept only where it continues a polyline.
//
// Pixel positions are those of the bitmap before rounding: position p is
// the pixel round(p), whose area runs from round(p) to round(p) + 1.
#pragma once

#include <cstdint>
#include <variant>
#include <vector>

#include "AxisScale.h"
#include "PixelGeometry.h"
#include "PlaneMapping.h"

enum class AxisKind { X, Y };

struct AxisRecord {
    AxisKind Axis = AxisKind::X;
    double Min = 0.0;
    double Max = 0.0;
    double At = 0.0;
    std::int32_t Colour = 0;
    PlaneMapping Mapping;
    // The canvas as the axis found it.
    int FontHeight = 10;
    int PenWidth = 1;
    std::int32_t Brush = 0;

    // How far the drawing got before a fault, if one came: the line always;
    // the step when it was found; TickCount ticks from FirstTick on; the
    // end labels and the arrowhead when Complete.
    bool HasStep = false;
    AxisStep Step;
    std::int32_t FirstTick = 0;
    std::int64_t TickCount = 0;
    bool Complete = false;
};

struct CurveRecord {
    std::int32_t Colour = 0;
    int PenWidth = 1;
    std::vector<PlanePoint> Points;  // a polyline of at least two points
};

using PlaneItem = std::variant<AxisRecord, CurveRecord>;

class PlaneRecord {
public:
    // A plane of the given size filled with one colour, nothing drawn on it.
    void Restart(PixelSize size, std::int32_t background);

    PixelSize Size() const { return size_; }
    std::int32_t Background() const { return background_; }
    const std::vector<PlaneItem>& Items() const { return items_; }

    // The new axis, to be filled in as its drawing proceeds.
    AxisRecord& AddAxis(const AxisRecord& axis);

    // A straight segment that LineTo drew from `from` to `to` (pixel
    // positions); `drawsNothing` when both ends round to the same pixel.
    void AddSegment(PlanePoint from, PlanePoint to, std::int32_t colour, int penWidth, bool drawsNothing);

private:
    PixelSize size_;
    std::int32_t background_ = 0;
    std::vector<PlaneItem> items_;
};
