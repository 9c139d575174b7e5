// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the position readout: the pen's point, the point under the
// mouse, the line Ctrl+C copies, and the bounds a zoom writes into the
// fields. Plain text, no toolkit, the same whatever the user's locale.
//
// A readout number has a given count of significant digits, a decimal comma
// and "-" for a minus, as typed in the fields; trailing zeros after the comma
// are left out, as %g does. A number whose decimal exponent (once rounded) is
// from -4 to 5 is written out in full (0,000123, 123457); any other is a
// mantissa and a plain exponent, without "+" or leading zeros: 1,23457e20,
// -4,5e-7. So huge and tiny values keep to one short line.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "RealText.h"

inline constexpr int PenReadoutDigits = 6;
inline constexpr int MaxReadoutDigits = 17;  // enough to tell any two doubles apart

// `value` to `significant` digits (1 to 17), as described above.
std::string ReadoutNumber(double value, int significant);

// The value a readout number stands for; none for text that is not one.
std::optional<double> ReadReadoutNumber(const std::string& text);

// "t = 2,5   x = 1,20001   y = -3,4"
std::string PenReadoutText(double t, double x, double y);

// "x = 1,25   y = -0,031"
std::string MouseReadoutText(double x, int xDigits, double y, int yDigits);

// The fewest significant digits at which `here` prints differently from both
// its neighbours and its text still passes `readsBack` (given the value the
// text stands for); MaxReadoutDigits when none is enough.
int DistinctDigits(double before, double here, double after,
                   const std::function<bool(double)>& readsBack = nullptr);

// "t;x;y" in that form, for a spreadsheet.
std::string CopiedPoint(double t, double x, double y);
