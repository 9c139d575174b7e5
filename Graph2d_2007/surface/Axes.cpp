// SPDX-License-Identifier: GPL-3.0-or-later
// The two axes: line, decimal ticks with their numbers, the "*10" exponent
// label and the arrowhead at the positive end (placed as AxisLayout.h says).
#include <algorithm>
#include <string>
#include <vector>

#include "AxisLayout.h"
#include "AxisScale.h"
#include "PlotSurface.h"
#include "TickPainter.h"
#include "TickSelection.h"

namespace {

PixelPoint At(PixelPoint point, PixelOffset offset)
{
    return ShiftPixel(point, offset);
}

// Paints the ticks (those that can show, TickSelection.h) and notes in
// `axis` how many were placed; a fault of a tick's position comes after
// the ticks before it are painted.
template <typename MarkAt>
void DrawTicks(TCanvas& canvas, RgbImage& plane, AxisRecord& axis, TickRange ticks, MarkAt markAt)
{
    axis.FirstTick = ticks.First;
    const double step = axis.Step.Step;
    const TickSelection selection = SelectTickMarks(canvas, plane.Size(), ticks, [&](std::int32_t i) {
        return markAt(StoreReal(Extended(i) * Extended(step)), i);
    });
    PaintTickMarks(canvas, plane, selection.Marks);
    axis.TickCount = selection.Placed;
    if (selection.Fault)
        RaiseFloatFault(*selection.Fault);
}

// Keeps the axis line out of the record's curves.
class AxisStrokes {
public:
    explicit AxisStrokes(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
    ~AxisStrokes() { flag_ = was_; }

private:
    bool& flag_;
    bool was_;
};

}  // namespace

void PlotSurface::DrawAxisX(double min, double max, double at, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    DrawAxis(AxisKind::X, min, max, at, r, g, b);
}

void PlotSurface::DrawAxisY(double min, double max, double at, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    DrawAxis(AxisKind::Y, min, max, at, r, g, b);
}

void PlotSurface::DrawAxis(AxisKind kind, double min, double max, double at, std::uint8_t r, std::uint8_t g,
                           std::uint8_t b)
{
    AxisRecord axis;
    axis.Axis = kind;
    axis.Min = min;
    axis.Max = max;
    axis.At = at;
    axis.Colour = ColorValue(r, g, b);
    axis.Mapping = Mapping();
    axis.FontHeight = canvas_.FontHeight();
    axis.PenWidth = std::max(canvas_.PenWidth(), 1);
    axis.Brush = canvas_.BrushColor();
    {
        AxisStrokes strokes(drawingAxis_);
        if (kind == AxisKind::X)
            DrawHorizontal(min, max, at, r, g, b);
        else
            DrawVertical(min, max, at, r, g, b);
    }
    // From here on the line is on the plane: the record keeps what got there.
    try {
        DrawAxisParts(axis);
    } catch (...) {
        record_.AddAxis(axis);
        throw;
    }
    record_.AddAxis(axis);
}

void PlotSurface::DrawAxisParts(AxisRecord& axis)
{
    const AxisLayout& layout = LayoutOf(axis.Axis);
    TCanvas& canvas = Canvas();
    canvas.SetFontColor(axis.Colour);
    canvas.SetPenColor(axis.Colour);
    axis.Step = FindAxisStep(axis.Min, axis.Max);
    axis.HasStep = true;
    const TickRange ticks = FindTicks(axis.Min, axis.Max, axis.Step.Step);

    // The axis's pixel row (x axis) or column (y axis), then the points along it.
    const bool horizontal = axis.Axis == AxisKind::X;
    const std::int32_t across = horizontal ? ScreenY(axis.At) : ScreenX(axis.At);
    auto pointAt = [&](double along) {
        return horizontal ? PixelPoint{ScreenX(along), across} : PixelPoint{across, ScreenY(along)};
    };
    DrawTicks(canvas, Plane(), axis, ticks, [&](double position, std::int32_t index) {
        const PixelPoint tick = pointAt(position);
        return TickMark{At(tick, layout.TickFrom), At(tick, layout.TickTo), At(tick, layout.Label), index};
    });

    if (layout.EndLabelsOnWhite)
        canvas.SetBrushColor(ColorValue(255, 255, 255));
    const PixelPoint end = pointAt(axis.Max);
    const PixelPoint unit = At(end, layout.Unit), exponent = At(end, layout.Exponent);
    if (layout.BlankUnderUnit)
        canvas.TextOut(unit.X, unit.Y, AxisBlankText);
    canvas.TextOut(unit.X, unit.Y, AxisUnitText);
    canvas.TextOut(exponent.X, exponent.Y, std::to_string(axis.Step.Exponent));

    const PixelPoint tip = At(end, layout.ArrowTip);
    const PixelPoint barb1 = At(end, layout.ArrowBarb1), barb2 = At(end, layout.ArrowBarb2);
    canvas.SetPenWidth(AxisArrowPenWidth);
    canvas.MoveTo(tip.X, tip.Y);
    canvas.LineTo(barb1.X, barb1.Y);
    canvas.MoveTo(barb2.X, barb2.Y);
    canvas.LineTo(tip.X, tip.Y);
    canvas.SetPenWidth(1);
    axis.Complete = true;
}
