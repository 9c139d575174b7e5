// SPDX-License-Identifier: GPL-3.0-or-later
// One press of "Kresli", a step at a time: the one road every press takes,
// by hand, drawn again (a lesson, a zoom, a slider, "Animovat", a sweep), in
// the renderer and in the browser.
//
//   ReadInputs()  the press's colour, t and variables into the plot state,
//                 then the six bounds and the segment count (PressInputs.h)
//   Begin()       SetWorld, the axes, the step, both compiles
//   Next()        one point: x and y evaluated, stored in Points, the segment
//                 from the point before drawn; t advanced
//
// Each stage runs once, and each calls the one before it if the caller did
// not. The caller repaints and pauses after each Next() that traced a point
// (the window 50 ms, a replay not at all, a browser's timer), and repaints
// once more when the run completed. DriveRun below is that loop.
//
// However it ends, the run makes its PressResult here: completed, a formula
// error or a refusal (with its message and input), a floating-point fault
// (the fault stops at the run's edge: its message as its box words it, its
// cause and the input to change), or stopped from outside (Stop(), or the
// engine's long-work hook cancelled).
#pragma once

#include <cstddef>
#include <optional>

#include "PressHistory.h"
#include "PressInputs.h"
#include "PreparedProgram.h"

class PlotSurface;

// What a run asks of its surroundings and tells them, step by step.
class TraceHost {
public:
    virtual ~TraceHost() = default;
    // Asked at every step whose point was traced: the panel's check box for
    // "Kresli", the press's own when drawn again.
    virtual bool Dashed() = 0;
    virtual void Repaint() = 0;  // DriveRun: after every step and once at the end
    virtual void Pause() = 0;    // DriveRun: after every step's repaint; may throw EvaluationCancelled
    // Told once a point is evaluated and stored, before its segment is drawn.
    virtual void PointTraced(std::size_t index, double t, const WorldPoint& point);
};

class PressRun {
public:
    // `host` (not owned, may be null: the press's own dashes) is asked and
    // told as described above; the surface must outlive the run.
    PressRun(PlotSurface& surface, const TracePress& press, TraceHost* host = nullptr);
    PressRun(const PressRun&) = delete;
    PressRun& operator=(const PressRun&) = delete;

    // Each false once the run has ended (Result() says how).
    bool ReadInputs();
    bool Begin();
    // True when a point was traced.
    bool Next();
    // Ends the run as stopped after the points traced so far.
    void Stop();
    // A press recorded as stopped after `points` points stops there again:
    // before that point, once t has moved on to it.
    void StopAt(std::optional<std::size_t> points) { stopAt_ = points; }
    // Whether it ended so, rather than stopped from outside.
    bool StoppedAsRecorded() const { return stoppedAsRecorded_; }

    bool Ended() const { return ended_; }
    const PressResult& Result() const { return result_; }
    const TracePress& Press() const { return press_; }
    // What ReadInputs read (the formulas and the segment count).
    const TraceInputs& Inputs() const { return inputs_; }
    std::size_t Points() const { return points_; }
    // Whether it got past reading its inputs and began to draw: a press
    // stopped before that (in a slow bound) drew nothing and, by hand, is
    // not kept.
    bool BeganDrawing() const { return drawing_; }

private:
    enum class Stage { Start, InputsRead, Tracing, Ended };

    bool Trace();
    void Prepare();
    // Runs `work` and turns whatever ends the run into its result.
    template <typename Work>
    bool Guarded(Work&& work);
    void End(PressResult result);
    void Refuse(const TraceOutcome& refusal);
    void Refuse(const std::string& message, InputField focus);
    void Fault(const FloatFault& fault);
    void Note(TraceStage stage, InputField input = InputField::None);

    PlotSurface& surface_;
    TracePress press_;
    TraceHost* host_;
    Stage stage_ = Stage::Start;
    bool ended_ = false;
    bool drawing_ = false;
    std::optional<std::size_t> stopAt_;
    bool stoppedAsRecorded_ = false;
    TraceInputs inputs_;
    FaultPlace place_;
    std::optional<PreparedProgram> programX_;
    std::optional<PreparedProgram> programY_;
    std::size_t limit_ = 0;
    std::size_t points_ = 0;
    PressResult result_;
};

// Drives a run to its end: after each point the host's Repaint() and
// Pause(), and a Repaint() once more when it completed. True when it was
// stopped from outside (the host's pause, or the engine's long-work hook,
// threw EvaluationCancelled), rather than where its record says.
bool DriveRun(PressRun& run, TraceHost& host);

// One press from its start to its end on `surface`, through `host`.
PressResult RunPress(PlotSurface& surface, const TracePress& press, TraceHost& host);
