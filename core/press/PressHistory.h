// SPDX-License-Identifier: GPL-3.0-or-later
// The presses of "Kresli" since the plane was last wiped, in order, each
// with how it ended: what the plane shows, as inputs rather than pixels.
// Drawing them again in order (PressReplay.h) gives the same plane.
//
// Plain data, no toolkit.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "RealArith.h"
#include "TracePress.h"

enum class PressEnd {
    Completed,     // the loop ran to its end
    FormulaError,  // a refusal or a formula error; Message holds it
    Fault,         // a floating-point fault; Message holds it, as its box words it
    Stopped,       // stopped by the user (Esc, a timeout or a signal)
};

// How a press ended. Follows from the press itself except for a stop, so a
// replay works it out afresh. Made in one place, by the run (PressRun.h).
struct PressResult {
    PressEnd End = PressEnd::Completed;
    std::string Message;                 // UTF-8; empty for Completed and Stopped
    InputField Focus = InputField::None;  // the input the message is about
    std::size_t PointCount = 0;          // points evaluated and drawn
    // A fault's kind, its cause in Czech as a second line, and the input to change.
    FloatFaultKind Fault = FloatFaultKind::InvalidOperation;
    std::string Advice;
    InputField AdviceField = InputField::None;

    bool Ok() const { return End == PressEnd::Completed; }
};

// A press the user stopped after that many points: it has no message.
inline PressResult StoppedResult(std::size_t points)
{
    PressResult result;
    result.End = PressEnd::Stopped;
    result.PointCount = points;
    return result;
}

struct RecordedPress {
    TracePress Press;
    // A press the user stopped: drawing it again stops after this many
    // points, as it did. Empty for every other press.
    std::optional<std::size_t> StopAt;
    PressResult Result;
};

using PressHistory = std::vector<RecordedPress>;
