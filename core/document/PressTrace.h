// SPDX-License-Identifier: GPL-3.0-or-later
// A press of "Kresli" on the document's plane: the press run step by step
// (PressRun.h) through the window's host, recorded as the animation
// "Uložit animaci…" saves, the pen followed point by point, and, once it
// got past reading its inputs, added to the document's presses however it
// ended. A refused press, or one stopped in a slow bound, is not kept.
//
// The desktop drives it to its end with its pauses (Drive); a browser's
// timer takes one Step() at a time.
#pragma once

#include <optional>

#include "GifStream.h"
#include "PlotDocument.h"
#include "PressRun.h"
#include "TraceRecorder.h"

class PressTrace : private TraceHost {
public:
    // `window` answers the dashes, repaints and pauses.
    PressTrace(PlotDocument& document, const TracePress& press, TraceHost& window);
    ~PressTrace() override;
    PressTrace(const PressTrace&) = delete;
    PressTrace& operator=(const PressTrace&) = delete;

    PressRun& Run() { return run_; }
    const PressResult& Result() const { return run_.Result(); }

    // Reads the inputs (PressRun::ReadInputs); the recording starts when
    // they pass. False when the press ended here.
    bool ReadInputs();
    // One step and the window's repaint; false once the press has ended
    // (then recorded). The caller pauses between steps.
    bool Step();
    // To the end, with the window's repaints and pauses; then recorded.
    const PressResult& Drive();
    // Ends it as stopped after the points so far, recorded.
    void Stop();

private:
    // The run's host: the recorder, which passes everything on to the
    // window and the pen.
    bool Dashed() override { return recorder_->Dashed(); }
    void Repaint() override { recorder_->Repaint(); }
    void Pause() override { recorder_->Pause(); }
    void PointTraced(std::size_t index, double t, const WorldPoint& point) override
    {
        recorder_->PointTraced(index, t, point);
    }
    void StartRecording();
    void Record();

    // The window's host, and the pen followed.
    class WindowAndPen : public TraceHost {
    public:
        WindowAndPen(PlotDocument& document, TraceHost& window) : document_(document), window_(window) {}
        bool Dashed() override { return window_.Dashed(); }
        void Repaint() override { window_.Repaint(); }
        void Pause() override { window_.Pause(); }
        void PointTraced(std::size_t index, double t, const WorldPoint& point) override;

    private:
        PlotDocument& document_;
        TraceHost& window_;
    };

    PlotDocument& document_;
    WindowAndPen window_;
    PressRun run_;
    std::optional<PlaneSnapshot> before_;
    std::optional<GifInMemory> gif_;
    std::optional<TraceRecorder> recorder_;
    bool recorded_ = false;
};
