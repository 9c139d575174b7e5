// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and checking the inputs of a press, with no widgets: the variables'
// values, the six bounds and the segment count (PressRun.h runs the press).
//
// Order of the checks (nothing is drawn before a refusal):
//   1. the six bound fields X1, X2, Y1, Y2, T1, T2, each evaluated in turn; the
//      first one with an engine message is refused, the rest are not read;
//   2. the segment text: not entirely a number -> refused; a value beyond the
//      32-bit range -> floating-point fault;
//   3. the segment count: below 0 or above 1731 -> refused (0 is let through
//      and gives the division-by-zero fault of the step, after the axes);
//
// Refusals come back as a TraceOutcome; floating-point faults pass out as
// FloatFault.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "PlotState.h"
#include "RealArith.h"
#include "TracePress.h"

// What ReadTraceInputs keeps besides the bounds it writes into the plot state.
struct TraceInputs {
    std::string EquationX;
    std::string EquationY;
    std::int32_t SegmentCount = 0;
};

// A refusal of an input: its message and the input it is about.
struct TraceOutcome {
    std::string Message;                 // UTF-8; empty when nothing was refused
    InputField Focus = InputField::None;
    bool Ok() const { return Message.empty(); }
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

// The two below take an optional `place`, kept up to date as they go, so
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

// The press with these inputs on `state` as it stands: its curve colour and
// the t the press before left behind.
TracePress PressOn(const PlotState& state, const TraceTexts& texts, bool showAxes, bool dashed = false);
