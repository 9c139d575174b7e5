// SPDX-License-Identifier: GPL-3.0-or-later
#include "VectorTicks.h"

#include "AxisLayout.h"
#include "Canvas.h"
#include "RealArith.h"
#include "TickPainter.h"

std::vector<VectorTick> VectorTicks(const AxisRecord& axis, PixelSize page)
{
    const AxisLayout& layout = LayoutOf(axis.Axis);
    const PlaneMapping& mapping = axis.Mapping;
    const bool horizontal = axis.Axis == AxisKind::X;
    const std::int32_t acrossPixel = horizontal ? mapping.ScreenY(axis.At) : mapping.ScreenX(axis.At);
    std::vector<TickMark> marks;
    std::vector<VectorTick> ticks;
    marks.reserve(std::size_t(axis.TickCount));
    ticks.reserve(std::size_t(axis.TickCount));
    for (std::int64_t k = 0; k < axis.TickCount; ++k) {
        const auto index = std::int32_t(axis.FirstTick + k);
        const double position = StoreReal(Extended(index) * Extended(axis.Step.Step));
        const std::int32_t along = horizontal ? mapping.ScreenX(position) : mapping.ScreenY(position);
        const PixelPoint tick = horizontal ? PixelPoint{along, acrossPixel} : PixelPoint{acrossPixel, along};
        auto at = [&](PixelOffset offset) { return ShiftPixel(tick, offset); };
        marks.push_back(TickMark{at(layout.TickFrom), at(layout.TickTo), at(layout.Label), index});
        ticks.push_back(VectorTick{position, index});
    }
    // Which marks, and which of their parts, the bitmap's painter leaves
    // visible with the axis's pen and font.
    RgbImage none;  // the metrics need no pixels
    TCanvas metrics(none);
    metrics.SetFontHeight(axis.FontHeight);
    metrics.SetPenWidth(axis.PenWidth);
    const std::vector<TickMarkShown> shown = ShownTickMarks(metrics, page, marks);
    for (std::size_t k = 0; k < ticks.size(); ++k) {
        ticks[k].Line = shown[k].Line;
        ticks[k].Label = shown[k].Label;
    }
    return ticks;
}
