// SPDX-License-Identifier: GPL-3.0-or-later
// The value of t as paramcurve-eval reads it: decimal (2.5, -1e-3, .5) or C99
// hexadecimal (0x1.8p+1, -0x.8p-2, 0x10), with an optional sign, exactly
// rounded to the nearest double on every build. Nothing else may stand in
// the text: no spaces, no "inf" or "nan", nothing beyond the double range.
#pragma once

#include <string_view>

bool ReadParameter(std::string_view text, double& value);
