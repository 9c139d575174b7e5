// SPDX-License-Identifier: GPL-3.0-or-later
#include "TraceRecorder.h"

TraceRecorder::TraceRecorder(PlotSurface& surface, TraceHost& inner)
    : surface_(&surface), inner_(inner)
{
    animation_.Start = surface.Plane().convertToFormat(QImage::Format_RGB888);
    surface.AddPlaneObserver(this);
}

TraceRecorder::~TraceRecorder()
{
    Detach();
}

void TraceRecorder::Detach()
{
    if (surface_)
        surface_->RemovePlaneObserver(this);
    surface_ = nullptr;
}

bool TraceRecorder::Dashed()
{
    return inner_.Dashed();
}

void TraceRecorder::Repaint()
{
    inner_.Repaint();
    // A step's repaint is a frame even when the step drew nothing (a skipped
    // dashed segment); the repaint after the loop only when something changed.
    if (surface_ && (stepSinceFrame_ || !pending_.isEmpty()))
        TakeFrame();
}

void TraceRecorder::Pause()
{
    inner_.Pause();
}

void TraceRecorder::BeforePoint(std::size_t index)
{
    inner_.BeforePoint(index);
}

void TraceRecorder::PointTraced(std::size_t index, double t, const WorldPoint& point)
{
    stepSinceFrame_ = true;
    inner_.PointTraced(index, t, point);
}

void TraceRecorder::PlaneChanged(const QRect& rect)
{
    pending_ |= rect;
}

void TraceRecorder::TakeFrame()
{
    PlaneFrame frame;
    // The frames are laid on the start picture: a plane resized meanwhile
    // counts only as far as the two overlap.
    frame.Changed = pending_ & animation_.Start.rect() & surface_->Plane().rect();
    if (!frame.Changed.isEmpty())
        frame.Pixels = surface_->Plane().copy(frame.Changed).convertToFormat(QImage::Format_RGB888);
    animation_.Frames.push_back(std::move(frame));
    pending_ = QRect();
    stepSinceFrame_ = false;
}

PlaneAnimation TraceRecorder::Finish()
{
    if (surface_ && (!pending_.isEmpty() || animation_.Frames.empty()))
        TakeFrame();
    Detach();
    return std::move(animation_);
}
