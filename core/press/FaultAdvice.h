// SPDX-License-Identifier: GPL-3.0-or-later
// The second line of a floating-point fault's message: what caused it, in
// Czech, and the input to change. The first line stays the fault's own text
// ("Floating point division by zero."); this one tells a student what to fix.
#pragma once

#include <string>

#include "PressInputs.h"
#include "RealArith.h"

struct FaultAdvice {
    std::string Cause;                   // UTF-8, a whole sentence; empty when not known
    InputField Field = InputField::None;  // the input to change
};

// `state` is the plot state as the fault left it: the bounds read, the
// mapping as far as it was set, the points traced.
FaultAdvice AdviseFault(FloatFaultKind kind, const FaultPlace& place, const PlotState& state);
