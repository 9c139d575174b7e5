// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the draw inputs and tracing the curve, with no widgets: the control
// panel hands in its texts and check states, the command-line renderer its
// options, and both run this very code on a PlotSurface.
//
// Order of the checks (nothing is drawn before a refusal):
//   1. the six bound fields X1, X2, Y1, Y2, T1, T2, each evaluated in turn; the
//      first one with an engine message is refused, the rest are not read;
//   2. the segment text: not entirely a number -> refused; a value beyond the
//      32-bit range -> floating-point fault;
//   3. the segment count: below 0 or above 1731 -> refused (0 is let through
//      and gives the division-by-zero fault of the step, after the axes);
// then SetWorld, the axes, the step, both compiles and the loop.
//
// Formula errors and refusals come back as a TraceOutcome for the caller to
// show; floating-point faults pass out as FloatFault.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "PlotState.h"
#include "RealArith.h"
#include "TracePress.h"

class PlotSurface;

// What ReadTraceInputs keeps besides the bounds it writes into the plot state.
struct TraceInputs {
    std::string EquationX;
    std::string EquationY;
    std::int32_t SegmentCount = 0;
};

struct TraceOutcome {
    std::string Message;                 // UTF-8; empty when there is nothing to show
    InputField Focus = InputField::None;  // the input the message is about
    std::size_t PointCount = 0;          // points evaluated and stored in Points
    bool Ok() const { return Message.empty(); }
};

// What the trace needs from its surroundings, step by step. The panel reads
// its check box, repaints the plot window and waits 50 ms; tests and the
// renderer answer at once.
class TraceHost {
public:
    virtual ~TraceHost() = default;
    virtual bool Dashed() = 0;   // asked at every step
    virtual void Repaint() = 0;  // after every step and once at the end
    virtual void Pause() = 0;    // after every step's repaint
    // Called before point `index` is evaluated; may stop the trace there by
    // throwing EvaluationCancelled.
    virtual void BeforePoint(std::size_t index);
    // Called once a point is evaluated and stored, before its segment is drawn.
    virtual void PointTraced(std::size_t index, double t, const WorldPoint& point);
};

// Two entries of Points beyond the segment count: the loop runs one step past T2.
inline constexpr std::int32_t MaxSegmentCount = static_cast<std::int32_t>(PointCapacity) - 2;

inline constexpr char SegmentsNotNumberText[] = "Počet segmentů není číslo";
inline constexpr char SegmentsOutOfRangeText[] = "Počet segmentů musí být číslo od 1 do 1731";

// Rounds to the 6-byte real format: 40-bit significand, ties to even. A result
// of 2^127 or more is the overflow fault; one below 2^-128 becomes 0.
Extended RoundToReal48(Extended value);

// Reads the segment text as a plain decimal number: leading spaces, optional
// sign, digits with an optional "." and fraction, optional exponent. False when
// the text is not entirely such a number. Otherwise the value is rounded to the
// 6-byte real and truncated toward zero; beyond the 32-bit range (or the 6-byte
// real's) it is a floating-point fault.
bool ReadSegmentCount(const std::string& text, std::int32_t& count);

// What the trace was doing, for a floating-point fault's message.
enum class TraceStage {
    ReadingInputs,  // evaluating a bound or reading the segment count
    SettingWorld,   // the mapping of the world window
    DrawingAxisX,
    DrawingAxisY,
    FindingStep,    // (T2 - T1) / segment count
    Compiling,      // a formula's number literals
    Evaluating,     // a formula at a point
    DrawingSegment,
    AdvancingT,
};

// Where a fault came from: the stage, the input being read or evaluated
// (None for the trace's own arithmetic) and the point being worked on.
struct FaultPlace {
    TraceStage Stage = TraceStage::ReadingInputs;
    InputField Input = InputField::None;
    std::size_t Point = 0;
};

// The three below take an optional `place`, kept up to date as they go, so
// that after a floating-point fault thrown out of them it tells where the
// fault came from.

// Evaluates the seven values of the press's variables, in the order of
// PressVariables, into their slots of `draw` (VarK, ...). The first value
// that is refused ends it with its message, the variable as the focus.
TraceOutcome WriteVariables(PlotState& draw, const TracePress& press, FaultPlace* place = nullptr);

// Evaluates the bounds into X1..T2 of `draw` and reads the segment count, with
// every refusal described above. `inputs` is filled as far as it was read.
TraceOutcome ReadTraceInputs(PlotState& draw, const TraceTexts& texts, TraceInputs& inputs,
                             FaultPlace* place = nullptr);

// SetWorld, the optional axes, the step, both compiles and the tracing loop,
// on bounds already in `surface` (ReadTraceInputs). The loop stops after at
// most SegmentCount + 2 points and never runs past Points.
TraceOutcome TraceCurve(PlotSurface& surface, const TraceInputs& inputs, bool showAxes,
                        TraceHost& host, FaultPlace* place = nullptr);

// The press with these inputs on `state` as it stands: its curve colour and
// the t the press before left behind.
TracePress PressOn(const PlotState& state, const TraceTexts& texts, bool showAxes, bool dashed = false);

// One press from its start: its colour, its t and its variables written into
// `surface`, then ReadTraceInputs, and TraceCurve when nothing was refused. The host's
// Dashed() decides the dashes (a replay answers the press's own).
TraceOutcome RunPress(PlotSurface& surface, const TracePress& press, TraceHost& host,
                      FaultPlace* place = nullptr);
