// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowMoves.h"

#include <cmath>

#include "PlotDocument.h"
#include "RealText.h"

namespace {

std::array<std::string*, 4> BoundsOf(TracePress& press)
{
    return {&press.Texts.X1, &press.Texts.X2, &press.Texts.Y1, &press.Texts.Y2};
}

}  // namespace

WindowMoves::WindowMoves(const PlotDocument& document) : document_(document) {}

WorldWindow WindowMoves::Shown() const
{
    const ShownWindow shown = document_.Shown().value_or(ShownWindow{});
    return WorldWindow{shown.X1, shown.X2, shown.Y1, shown.Y2};
}

bool WindowMoves::AnyAxes() const
{
    for (const RecordedPress& press : document_.Presses()) {
        if (press.Press.ShowAxes)
            return true;
    }
    return false;
}

bool WindowMoves::Works(const WorldWindow& candidate, const WorldWindow& current)
{
    const RgbImage& plane = document_.Surface().Plane();
    if (scratch_.Plane().Size() != plane.Size())
        scratch_.ResizePlane(plane.Width(), plane.Height());
    if (!MappingWorks(scratch_, candidate))
        return false;
    // Axes that could not be drawn in the window on the plane (a reversed
    // window) are no reason to stop: the zoom makes nothing worse.
    return !AnyAxes() || AxesFit(scratch_, candidate) || !AxesFit(scratch_, current);
}

WindowMove WindowMoves::Zoom(PixelPoint pixel, long angleDelta)
{
    const std::optional<ShownWindow> shown = document_.Shown();
    if (angleDelta == 0 || !shown)
        return {};
    const WorldWindow current = Shown();
    WorldPoint at;
    try {
        at = PixelCentre(shown->Mapping, pixel);
    } catch (const FloatFault&) {
        return {};  // the plane has no mapping
    }
    WorldWindow reached = current;
    bool stopped = false;
    for (long remaining = angleDelta; remaining != 0 && !stopped;) {
        // (No std::labs: it overflows on the most negative long.)
        const long part = remaining >= WheelNotch ? WheelNotch : remaining <= -WheelNotch ? -WheelNotch : remaining;
        remaining -= part;
        const Extended factor = std::pow(Extended(ZoomPerNotch), Extended(double(part)) / WheelNotch);
        try {
            const WorldWindow candidate = WrittenWindow(ZoomedWindow(reached, at, factor), document_.Surface().Plane().Size());
            if (candidate == reached || !Works(candidate, current))
                stopped = true;
            else
                reached = candidate;
        } catch (const FloatFault&) {
            stopped = true;  // a bound beyond the double range
        }
    }
    WindowMove move;
    if (reached != current)
        move.To = reached;
    move.Limited = stopped;
    return move;
}

WindowMove WindowMoves::Pan(const WorldWindow& start, PixelPoint from, PixelPoint to)
{
    if (!document_.Shown())
        return {};
    try {
        const PixelSize plane = document_.Surface().Plane().Size();
        const WorldWindow candidate = WrittenWindow(PannedWindow(start, plane, from, to), plane);
        if (candidate == Shown())
            return {};
        if (Works(candidate, start))
            return {candidate, false};
    } catch (const FloatFault&) {
        // beyond the double range: as a window that does not work
    }
    return {std::nullopt, true};
}

BoundTexts WindowTexts(const WorldWindow& window)
{
    return {FormulaText(window.X1), FormulaText(window.X2), FormulaText(window.Y1), FormulaText(window.Y2)};
}

std::vector<BoundTexts> BoundsOfPresses(const PressHistory& presses)
{
    std::vector<BoundTexts> bounds;
    bounds.reserve(presses.size());
    for (const RecordedPress& press : presses) {
        const TraceTexts& texts = press.Press.Texts;
        bounds.push_back({texts.X1, texts.X2, texts.Y1, texts.Y2});
    }
    return bounds;
}

void SetBoundsOfPresses(PressHistory& presses, const std::vector<BoundTexts>& bounds)
{
    for (std::size_t i = 0; i < presses.size() && i < bounds.size(); ++i) {
        const auto fields = BoundsOf(presses[i].Press);
        for (std::size_t k = 0; k < fields.size(); ++k)
            *fields[k] = bounds[i][k];
    }
}

void SetBoundsOfPresses(PressHistory& presses, const BoundTexts& bounds)
{
    for (RecordedPress& press : presses) {
        const auto fields = BoundsOf(press.Press);
        for (std::size_t k = 0; k < fields.size(); ++k)
            *fields[k] = bounds[k];
    }
}
