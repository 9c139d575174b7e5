// SPDX-License-Identifier: GPL-3.0-or-later
// One line of paramcurve-eval: "T<TAB>FORMULA" in, "VALUE<TAB>MESSAGE<TAB>FAULT"
// out (without the newlines).
#pragma once

#include <string>
#include <string_view>

struct PlotState;

// What a malformed T (or a line without a tab) gives: the value 0, this
// message, no fault.
inline constexpr char MalformedParameterText[] = "Chybné t";

// Evaluates the formula at t = T with every other variable 0, as
// EvaluateExpression on a fresh PlotState: VALUE is the double returned (as
// glibc's %a writes it), MESSAGE the error text left, FAULT "-" or the
// FloatFault thrown (DIVZERO, INVALID, OVERFLOW; VALUE is then 0x0p+0 and
// MESSAGE empty). `state` is only scratch: what the engine reads of it
// is set here first.
std::string EvaluateLine(std::string_view line, PlotState& state);
