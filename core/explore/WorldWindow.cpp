// SPDX-License-Identifier: GPL-3.0-or-later
#include "WorldWindow.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "AxisScale.h"
#include "PlotSurface.h"
#include "RealChars.h"

namespace {

// The gap between `value` and the next double away from zero.
Extended Ulp(double value)
{
    const double magnitude = std::fabs(value);
    if (magnitude < std::numeric_limits<double>::min())
        return std::numeric_limits<double>::denorm_min();
    return std::ldexp(1.0L, std::ilogb(magnitude) - (std::numeric_limits<double>::digits - 1));
}

// At least one double per pixel between the bounds.
bool HasPixelValues(double from, double to, int pixels)
{
    const Extended width = std::fabs(Extended(to) - Extended(from));
    return width >= Extended(pixels) * Ulp(std::max(std::fabs(from), std::fabs(to)));
}

// The pixels an axis from `min` to `max` at `at` maps, as Axes.cpp does:
// both ends, the line's position across, the ticks searched and the first
// and last tick drawn (the others lie between them).
void TryAxis(const PlaneMapping& mapping, bool horizontal, double min, double max)
{
    const auto along = [&](double value) { return horizontal ? mapping.ScreenX(value) : mapping.ScreenY(value); };
    const auto across = [&](double value) { return horizontal ? mapping.ScreenY(value) : mapping.ScreenX(value); };
    along(min);
    along(max);
    across(0.0);
    const AxisStep step = FindAxisStep(min, max);
    const TickRange ticks = FindTicks(min, max, step.Step);
    along(StoreReal(Extended(ticks.First) * Extended(step.Step)));
    along(StoreReal(Extended(ticks.Last) * Extended(step.Step)));
}

}  // namespace

WorldWindow WindowOf(const PlotState& state)
{
    return WorldWindow{state.X1, state.X2, state.Y1, state.Y2};
}

WorldPoint PixelCentre(const PlaneMapping& mapping, PixelPoint pixel)
{
    // The inverses of PixelX and PixelY.
    const double x = StoreReal(DivideExtended(Extended(pixel.X) - Extended(mapping.OffsetX), mapping.ScaleX));
    const double y = StoreReal(DivideExtended(Extended(mapping.OffsetY) - Extended(pixel.Y), mapping.ScaleY));
    return WorldPoint{x, y, 0.0};
}

WorldWindow ZoomedWindow(const WorldWindow& window, WorldPoint at, Extended factor)
{
    // Each bound keeps its distance from `at` divided by the factor, so `at`
    // stays where it was between them.
    const auto scaled = [factor](double bound, double centre) {
        return StoreReal(Extended(centre) + DivideExtended(Extended(bound) - Extended(centre), factor));
    };
    return WorldWindow{scaled(window.X1, at.x), scaled(window.X2, at.x), scaled(window.Y1, at.y),
                       scaled(window.Y2, at.y)};
}

WorldWindow PannedWindow(const WorldWindow& window, PixelSize planeSize, PixelPoint from, PixelPoint to)
{
    // A pixel is a width-th of the window; rows grow downwards, y upwards.
    const Extended dx = DivideExtended(Extended(from.X - to.X) * (Extended(window.X2) - Extended(window.X1)),
                                       planeSize.Width);
    const Extended dy = DivideExtended(Extended(to.Y - from.Y) * (Extended(window.Y2) - Extended(window.Y1)),
                                       planeSize.Height);
    return WorldWindow{StoreReal(window.X1 + dx), StoreReal(window.X2 + dx), StoreReal(window.Y1 + dy),
                       StoreReal(window.Y2 + dy)};
}

bool MappingWorks(PlotSurface& scratch, const WorldWindow& window)
{
    try {
        scratch.SetWorld(window.X1, window.X2, window.Y1, window.Y2);
    } catch (const FloatFault&) {
        return false;
    }
    return HasPixelValues(window.X1, window.X2, scratch.Plane().Width()) &&
           HasPixelValues(window.Y1, window.Y2, scratch.Plane().Height());
}

bool AxesFit(PlotSurface& scratch, const WorldWindow& window)
{
    try {
        scratch.SetWorld(window.X1, window.X2, window.Y1, window.Y2);
        const PlaneMapping mapping = scratch.Mapping();
        TryAxis(mapping, true, window.X1, window.X2);
        TryAxis(mapping, false, window.Y1, window.Y2);
    } catch (const FloatFault&) {
        return false;
    }
    return true;
}

namespace {

// The double of the shortest decimal within `tolerance` of `value`: the
// value itself when no shorter one is near enough.
double ShortestWithin(double value, Extended tolerance)
{
    if (!std::isfinite(value) || !(tolerance > 0))
        return value;
    char digits[40];
    for (int precision = 0; precision < 17; ++precision) {
        const auto written =
            RealToChars(digits, digits + sizeof digits, value, std::chars_format::scientific, precision);
        double read = 0.0;
        RealFromChars(digits, written.ptr, read);
        if (std::fabs(Extended(read) - Extended(value)) <= tolerance)
            return read;
    }
    return value;
}

}  // namespace

WorldWindow WrittenWindow(const WorldWindow& exact, PixelSize planeSize)
{
    if (planeSize.IsEmpty())
        return exact;
    // A tenth of a pixel of the window, along each axis.
    const Extended alongX = std::fabs(Extended(exact.X2) - Extended(exact.X1)) / planeSize.Width / 10;
    const Extended alongY = std::fabs(Extended(exact.Y2) - Extended(exact.Y1)) / planeSize.Height / 10;
    return WorldWindow{ShortestWithin(exact.X1, alongX), ShortestWithin(exact.X2, alongX),
                       ShortestWithin(exact.Y1, alongY), ShortestWithin(exact.Y2, alongY)};
}
