// SPDX-License-Identifier: GPL-3.0-or-later
// Recording a trace as an animation: a TraceHost that passes every request on
// to the host it wraps and, after each repaint, hands the part of the plane
// that changed to a frame sink, so frame k is exactly the plane after step
// k's repaint.
//
// The first frame follows step 0 (the axes, no segment yet), since recording
// starts from the plane as it stood when the recorder was made, before the
// trace drew anything. Only the changed rectangle of each frame is taken,
// and a sink such as a GIF stream encodes it at once, so a trace of 1731
// chords across the plane never holds more than one frame.
//
// The recorder watches the surface from its construction to Finish or its
// destruction; the surface must outlive it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "PressRun.h"
#include "PlaneFrames.h"
#include "PlotSurface.h"

class TraceRecorder : public TraceHost {
public:
    // The frames go to `sink` as they are taken.
    TraceRecorder(PlotSurface& surface, TraceHost& inner, PlaneFrameSink& sink);
    // The frames are kept, for Finish to hand over.
    TraceRecorder(PlotSurface& surface, TraceHost& inner);
    ~TraceRecorder() override;
    TraceRecorder(const TraceRecorder&) = delete;
    TraceRecorder& operator=(const TraceRecorder&) = delete;

    bool Dashed() override;
    void Repaint() override;
    void Pause() override;
    void PointTraced(std::size_t index, double t, const WorldPoint& point) override;

    // Ends the recording. A change after the last frame (a fault in the
    // middle of a step) becomes one more frame; a recording with no frame at
    // all gets one of the plane as it stands, so an animation always has a
    // frame. Hands over the kept frames (none when they went to a sink).
    PlaneAnimation Finish();

private:
    void TakeFrame();

    TraceHost& inner_;
    PlaneAnimationKeeper kept_;
    PlaneFrameSink& sink_;
    std::optional<PlaneChanges> changes_;
    PixelRect bounds_;  // the start picture's
    std::size_t frames_ = 0;
    bool stepSinceFrame_ = false;
};

// The colours a press may bring onto the plane, as 0xRRGGBB, for a GIF's
// global table: with axes their red, the white under the x axis's end
// labels and the brush under the tick numbers; then the curve's.
std::vector<std::uint32_t> PressColours(const TracePress& press, const TCanvas& canvas);
