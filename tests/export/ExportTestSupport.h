// SPDX-License-Identifier: GPL-3.0-or-later
// Traces for the output tests: a trace run under the recorder, with a host
// beneath it that keeps a copy of the whole plane at every repaint, so each
// frame can be checked against the plane the window showed at that moment.
#pragma once

#include <QIODevice>
#include <QImage>

#include <exception>
#include <memory>
#include <vector>

#include "PlaneImages.h"
#include "Presets.h"
#include "TraceRecorder.h"
#include "trace/PlaneCheck.h"
#include "trace/RecordingHost.h"

Q_DECLARE_METATYPE(TraceTexts)

// Copies the whole plane at every repaint.
class WholePlaneHost : public RecordingHost {
public:
    explicit WholePlaneHost(const PlotSurface& surface) : surface_(surface) {}
    std::vector<QImage> Planes;
    void Repaint() override
    {
        RecordingHost::Repaint();
        Planes.push_back(ToQImage(surface_.Plane()).copy());
    }

private:
    const PlotSurface& surface_;
};

struct RecordedTrace {
    PressResult Outcome;
    bool Faulted = false;
    PlaneAnimation Animation;
    std::vector<QImage> StepPlanes;  // the plane after each step's repaint
    std::vector<TracedPoint> Points;
};

// One press of "Kresli" on `surface` (axes on), recorded.
inline RecordedTrace RecordTrace(PlotSurface& surface, const TraceTexts& texts, bool dashed)
{
    WholePlaneHost host(surface);
    host.DashedMode = dashed;
    TraceRecorder recorder(surface, host);
    RecordedTrace trace;
    try {
        trace.Outcome = RunPress(surface, PressOn(surface, texts, true), recorder);
    } catch (const std::exception&) {
        trace.Faulted = true;
    }
    trace.Animation = recorder.Finish();
    // One repaint per traced point; the one after the loop shows nothing new.
    trace.Points = host.Points;
    host.Planes.resize(std::min(host.Planes.size(), host.Points.size()));
    trace.StepPlanes = std::move(host.Planes);
    return trace;
}

// A plot state holding only a world window.
inline PlotState Window(double x1, double x2, double y1, double y2)
{
    PlotState state;
    state.X1 = x1;
    state.X2 = x2;
    state.Y1 = y1;
    state.Y2 = y2;
    return state;
}

inline TraceTexts PresetTexts(const CurvePreset& preset, const char* segments)
{
    TraceTexts texts;
    ApplyPreset(texts, preset);
    texts.Segments = segments;
    return texts;
}

inline const CurvePreset& Preset(const char* name)
{
    return *FindPreset(name);
}

// A device that takes the first `room` bytes and refuses the rest.
class FullDevice : public QIODevice {
public:
    explicit FullDevice(qint64 room) : room_(room) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 length) override
    {
        if (length > room_)
            return -1;
        room_ -= length;
        return length;
    }

private:
    qint64 room_;
};

// The frames of an animation laid one after another on its start picture.
inline std::vector<QImage> ComposeFrames(const PlaneAnimation& animation)
{
    std::vector<QImage> frames;
    RgbImage picture = animation.Start;
    for (const PlaneFrame& frame : animation.Frames) {
        ApplyFrame(picture, frame);
        frames.push_back(ToQImage(picture));
    }
    return frames;
}
