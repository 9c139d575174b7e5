// SPDX-License-Identifier: GPL-3.0-or-later
#include "TraceRecorder.h"

TraceRecorder::TraceRecorder(PlotSurface& surface, TraceHost& inner, PlaneFrameSink& sink)
    : inner_(inner), sink_(sink)
{
    changes_.emplace(surface);
    const RgbImage& start = changes_->Picture();
    bounds_ = start.Rect();
    sink_.Start(start);
}

TraceRecorder::TraceRecorder(PlotSurface& surface, TraceHost& inner) : TraceRecorder(surface, inner, kept_)
{
}

TraceRecorder::~TraceRecorder() = default;

bool TraceRecorder::Dashed()
{
    return inner_.Dashed();
}

void TraceRecorder::Repaint()
{
    inner_.Repaint();
    // A step's repaint is a frame even when the step drew nothing (a skipped
    // dashed segment); the repaint after the loop only when something changed.
    if (changes_ && (stepSinceFrame_ || changes_->Any()))
        TakeFrame();
}

void TraceRecorder::Pause()
{
    inner_.Pause();
}

void TraceRecorder::PointTraced(std::size_t index, double t, const WorldPoint& point)
{
    stepSinceFrame_ = true;
    inner_.PointTraced(index, t, point);
}

void TraceRecorder::TakeFrame()
{
    sink_.Frame(changes_->Take(bounds_));
    ++frames_;
    stepSinceFrame_ = false;
}

PlaneAnimation TraceRecorder::Finish()
{
    if (changes_ && (changes_->Any() || frames_ == 0))
        TakeFrame();
    changes_.reset();
    return std::move(kept_.Animation);
}

std::vector<std::uint32_t> PressColours(const TracePress& press, const TCanvas& canvas)
{
    const auto packed = [](std::int32_t colour) {
        return (std::uint32_t(colour & 0xFF) << 16) | (std::uint32_t(colour) & 0xFF00) |
               ((std::uint32_t(colour) >> 16) & 0xFF);
    };
    // In the order a trace first shows them (the axes before the curve), so
    // that the table is the one a whole animation's colours would give.
    std::vector<std::uint32_t> colours;
    if (press.ShowAxes)
        colours = {packed(ColorValue(255, 0, 0)), packed(ColorValue(255, 255, 255)), packed(canvas.BrushColor())};
    colours.push_back(packed(ColorValue(press.CurveR, press.CurveG, press.CurveB)));
    return colours;
}
