// SPDX-License-Identifier: GPL-3.0-or-later
#include "PressTrace.h"

#include <utility>

PressTrace::PressTrace(PlotDocument& document, const TracePress& press, TraceHost& window)
    : document_(document), window_(document, window), run_(document.Surface(), press, this)
{
}

PressTrace::~PressTrace()
{
    Record();
}

void PressTrace::WindowAndPen::PointTraced(std::size_t index, double t, const WorldPoint& point)
{
    document_.FollowPen(index, t, point);  // the readout follows the pen
    window_.PointTraced(index, t, point);
}

bool PressTrace::ReadInputs()
{
    const bool read = run_.ReadInputs();
    if (read)
        StartRecording();
    return read;
}

void PressTrace::StartRecording()
{
    if (recorder_)
        return;
    // What the user watches is recorded for "Uložit animaci…", from the
    // plane as it stands now; the frames are encoded as they are taken, so
    // the recording costs the GIF's size, not its frames'.
    PlotSurface& plane = document_.Surface();
    before_ = plane.Snapshot();
    gif_.emplace(GifOptions{}, PressColours(run_.Press(), plane.Canvas()));
    recorder_.emplace(plane, window_, *gif_);
}

bool PressTrace::Step()
{
    if (!ReadInputs()) {
        Record();
        return false;
    }
    if (run_.Next()) {
        Repaint();
        return true;
    }
    if (run_.Result().Ok())
        Repaint();
    Record();
    return false;
}

const PressResult& PressTrace::Drive()
{
    if (ReadInputs())
        DriveRun(run_, *this);
    Record();
    return run_.Result();
}

void PressTrace::Stop()
{
    run_.Stop();
    Record();
}

void PressTrace::Record()
{
    if (recorded_ || !run_.Ended())
        return;
    recorded_ = true;
    if (!recorder_ || !run_.BeganDrawing())
        return;  // refused, or stopped in a slow bound: not kept
    recorder_->Finish();
    document_.KeepAnimation(gif_->Finish());
    RecordedPress record{run_.Press(), std::nullopt, run_.Result()};
    if (record.Result.End == PressEnd::Stopped)
        record.StopAt = record.Result.PointCount;
    document_.AddTraced(std::move(record), std::move(*before_));
}
