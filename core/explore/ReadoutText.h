// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the position readout: the pen's point, the point under the
// mouse, the lines "Kopírovat polohu" and "Kopírovat polohu přesně" copy,
// and the bounds a zoom writes into the fields. Plain text, no toolkit, the
// same whatever the user's locale.
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

// Below what magnitude a coordinate reads 0: a hundredth of a pixel of the
// window the plane shows. The rounding left in a computed point (the origin
// as -3e-15 after a zoom) is then not shown as a value of its own. Both 0
// where there is no window: every value is shown as it is.
struct ReadoutZero {
    double X = 0.0;
    double Y = 0.0;
};
inline constexpr double ZeroPixelFraction = 0.01;

// For the world window x1 .. x2, y1 .. y2 on a plane of `width` x `height`
// pixels (reversed bounds as well; bounds at the ends of the double range
// too).
ReadoutZero ZeroOfWindow(double x1, double x2, double y1, double y2, int width, int height);

// `value` to `significant` digits, or "0" when its magnitude is below `zero`.
std::string ReadoutCoordinate(double value, int significant, double zero);

// "t = 2,5   x = 1,20001   y = -3,4"; x and y under the zero rule.
std::string PenReadoutText(double t, double x, double y, const ReadoutZero& zero);

// "x = 1,25   y = -0,031"
std::string MouseReadoutText(double x, int xDigits, double y, int yDigits, const ReadoutZero& zero);

// The fewest significant digits at which `here` prints differently from both
// its neighbours and its text still passes `readsBack` (given the value the
// text stands for); MaxReadoutDigits when none is enough.
int DistinctDigits(double before, double here, double after,
                   const std::function<bool(double)>& readsBack = nullptr);

// "2,5\t1,20001\t-3,4": the pen's point as its readout shows it, a cell
// each, for a spreadsheet that reads a decimal comma.
std::string CopiedShownPoint(double t, double x, double y, const ReadoutZero& zero);

// "t;x;y", each the shortest text that reads back as the same double, with
// a decimal point, as the renderer's --points writes them.
std::string CopiedExactPoint(double t, double x, double y);
