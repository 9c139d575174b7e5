// SPDX-License-Identifier: GPL-3.0-or-later
// Recording a trace as an animation: a TraceHost that passes every request on
// to the host it wraps and, after each repaint, keeps the part of the plane
// that changed, so frame k is exactly the plane after step k's repaint.
//
// The first frame follows step 0 (the axes, no segment yet), since recording
// starts from the plane as it stood when the recorder was made, before the
// trace drew anything. Only the changed rectangle of each frame is kept, so a
// trace of 1731 short segments costs little beyond the one start picture.
//
// The recorder watches the surface as a PlaneObserver from its construction
// to Finish or its destruction; the surface must outlive it.
#pragma once

#include <QRect>

#include <cstddef>

#include "CurveTrace.h"
#include "PlaneFrames.h"
#include "PlotSurface.h"

class TraceRecorder : public TraceHost, private PlaneObserver {
public:
    TraceRecorder(PlotSurface& surface, TraceHost& inner);
    ~TraceRecorder() override;
    TraceRecorder(const TraceRecorder&) = delete;
    TraceRecorder& operator=(const TraceRecorder&) = delete;

    bool Dashed() override;
    void Repaint() override;
    void Pause() override;
    void BeforePoint(std::size_t index) override;
    void PointTraced(std::size_t index, double t, const WorldPoint& point) override;

    // Ends the recording and hands it over. A change after the last frame (a
    // fault in the middle of a step) becomes one more frame; a recording with
    // no frame at all gets one of the plane as it stands, so an animation
    // always has a frame.
    PlaneAnimation Finish();

private:
    void PlaneChanged(const QRect& rect) override;
    void TakeFrame();
    void Detach();

    PlotSurface* surface_;
    TraceHost& inner_;
    PlaneAnimation animation_;
    QRect pending_;              // changed since the last frame
    bool stepSinceFrame_ = false;
};
