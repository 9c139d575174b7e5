// SPDX-License-Identifier: GPL-3.0-or-later
// Reals as text for files, fields and the clipboard: the shortest text that
// reads back as the very same double, with a "." whatever the locale (the
// toolkit sets the user's, whose decimal point may be a comma).
#pragma once

#include <string>

// 0.1, 1e-05, 6.283185307179586, -0.
std::string ShortestText(double value);

// The same as a number of the formula language, which has no exponent: in
// plain decimals, 0.00001, -4, 2.5 (a huge or tiny value is long). What a
// zoom writes into the fields and what a slider's step writes as the value.
std::string FormulaText(double value);
