// SPDX-License-Identifier: GPL-3.0-or-later
// paramcurve-eval --time: the time per evaluation of the example curves'
// formulas, on this build (x87 or software extended, native or Node).
#pragma once

#include <string>

// One line per formula: nanoseconds per evaluation prepared (the trace's
// way), of the compiled program (EvaluatePostfix), and compiled anew each
// time (EvaluateExpression, as a line of input is). Then the sum per curve.
std::string TimeExampleCurves();
