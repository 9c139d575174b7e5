// The two axes: line, decimal ticks with their numbers, the "*10" exponent
// label and the arrowhead at the positive end.
#include <QString>

#include <algorithm>
#include <limits>
#include <vector>

#include "AxisScale.h"
#include "PlotSurface.h"
#include "TickPainter.h"

namespace {

constexpr int TickHalf = 3;
constexpr int ArrowPenWidth = 3;

// Pixel offsets from positions near the ends of the 32-bit range must not
// wrap; saturated, they stay just as far off the plane.
int Shift(std::int32_t value, int by)
{
    const std::int64_t moved = std::int64_t(value) + by;
    return int(std::clamp<std::int64_t>(moved, std::numeric_limits<int>::min(),
                                        std::numeric_limits<int>::max()));
}

QPoint At(std::int32_t x, int dx, std::int32_t y, int dy) { return QPoint(Shift(x, dx), Shift(y, dy)); }

template <typename MarkAt>
void DrawTicks(TCanvas& canvas, QImage& plane, double step, TickRange ticks, MarkAt markAt)
{
    std::vector<TickMark> marks;
    marks.reserve(std::size_t(ticks.Count()));
    try {
        for (std::int64_t i = ticks.First; i <= ticks.Last; ++i) {
            const double position = StoreReal(Extended(i) * Extended(step));
            marks.push_back(markAt(position, std::int32_t(i)));
        }
    } catch (...) {
        // The ticks before the one that faulted are on the plane.
        PaintTickMarks(canvas, plane, marks);
        throw;
    }
    PaintTickMarks(canvas, plane, marks);
}

void SetAxisColour(TCanvas& canvas, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    const std::int32_t colour = ColorValue(r, g, b);
    canvas.SetFontColor(colour);
    canvas.SetPenColor(colour);
}

}  // namespace

void PlotSurface::DrawAxisX(double min, double max, double at, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    DrawHorizontal(min, max, at, r, g, b);
    TCanvas& canvas = Canvas();
    SetAxisColour(canvas, r, g, b);
    const AxisStep step = FindAxisStep(min, max);
    const TickRange ticks = FindTicks(min, max, step.Step);

    const std::int32_t y = ScreenY(at);
    DrawTicks(canvas, Plane(), step.Step, ticks, [&](double position, std::int32_t index) {
        const std::int32_t x = ScreenX(position);
        return TickMark{At(x, 0, y, -TickHalf), At(x, 0, y, TickHalf), At(x, 3, y, 5), index};
    });

    canvas.SetBrushColor(ColorValue(255, 255, 255));
    const std::int32_t xm = ScreenX(max);
    const QPoint label = At(xm, -45, y, 5), exponent = At(xm, -25, y, 1);
    canvas.TextOut(label.x(), label.y(), QStringLiteral("*10"));
    canvas.TextOut(exponent.x(), exponent.y(), QString::number(step.Exponent));

    canvas.SetPenWidth(ArrowPenWidth);
    canvas.MoveTo(xm, y);
    canvas.LineTo(Shift(xm, -15), Shift(y, -3));
    canvas.MoveTo(Shift(xm, -15), Shift(y, 3));
    canvas.LineTo(xm, y);
    canvas.SetPenWidth(1);
}

void PlotSurface::DrawAxisY(double min, double max, double at, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    DrawVertical(min, max, at, r, g, b);
    TCanvas& canvas = Canvas();
    SetAxisColour(canvas, r, g, b);
    const AxisStep step = FindAxisStep(min, max);
    const TickRange ticks = FindTicks(min, max, step.Step);

    const std::int32_t x = ScreenX(at);
    DrawTicks(canvas, Plane(), step.Step, ticks, [&](double position, std::int32_t index) {
        const std::int32_t y = ScreenY(position);
        return TickMark{At(x, -TickHalf, y, 0), At(x, TickHalf, y, 0), At(x, -25, y, -15), index};
    });

    const std::int32_t ym = ScreenY(max);
    const QPoint label = At(x, 5, ym, 10), exponent = At(x, 25, ym, 3);
    canvas.TextOut(label.x(), label.y(), QStringLiteral("    "));
    canvas.TextOut(label.x(), label.y(), QStringLiteral("*10"));
    canvas.TextOut(exponent.x(), exponent.y(), QString::number(step.Exponent));

    canvas.SetPenWidth(ArrowPenWidth);
    canvas.MoveTo(x, Shift(ym, 5));
    canvas.LineTo(Shift(x, -3), Shift(ym, 20));
    canvas.MoveTo(Shift(x, 3), Shift(ym, 20));
    canvas.LineTo(x, Shift(ym, 5));
    canvas.SetPenWidth(1);
}
