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

#include <QImage>
#include <QRect>

#include <cstddef>
#include <vector>

#include "CurveTrace.h"
#include "PlotSurface.h"

// One frame: the rectangle that may have changed since the frame before
// (empty when nothing did) and the plane's pixels inside it afterwards.
struct PlaneFrame {
    QRect Changed;
    QImage Pixels;  // Changed's size, the plane's format; null when Changed is empty
};

struct PlaneAnimation {
    QImage Start;  // the plane before the first frame
    std::vector<PlaneFrame> Frames;
};

// Lays a frame's pixels onto a picture of the frame before it (both RGB888;
// anything else, or a frame whose pixels do not fit its rectangle, is left out).
void ApplyFrame(QImage& picture, const PlaneFrame& frame);

class TraceRecorder : public TraceHost, private PlaneObserver {
public:
    TraceRecorder(PlotSurface& surface, TraceHost& inner);
    ~TraceRecorder() override;
    TraceRecorder(const TraceRecorder&) = delete;
    TraceRecorder& operator=(const TraceRecorder&) = delete;

    bool Dashed() override;
    void Repaint() override;
    void Pause() override;
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
