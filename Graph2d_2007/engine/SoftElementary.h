// SPDX-License-Identifier: GPL-3.0-or-later
// The elementary functions of the software extended format, as the x87
// instructions and the C library functions the evaluator takes give them:
// each formed in double-double (about 100 good bits) and rounded once to the
// 64-bit significand, so it is the correctly rounded value but in cases
// closer to a tie than 2^-90 or so. (The x87 and glibc are within about one
// unit of the last bit and usually exact, so the doubles stored from either
// agree but where a result lies within that unit of a double's midpoint.)
#pragma once

#include "SoftExtended.h"

namespace soft_extended {

// fyl2x with fldln2: ln 2 (rounded to 64 bits, the x87's constant) times
// log2 v, rounded once. -inf for 0, the default NaN below 0.
SoftExtended NaturalLogarithm(SoftExtended v) noexcept;

// f2xm1: 2^f - 1, for |f| <= 1.
SoftExtended TwoToPowerMinusOne(SoftExtended f) noexcept;

// fscale: value * 2^trunc(exponent), rounded once.
SoftExtended ScaleByPower(SoftExtended value, SoftExtended exponent) noexcept;

// fpatan against 1: arctan q.
SoftExtended Arctangent(SoftExtended q) noexcept;

// sinl, cosl and sincosl of a double, |v| < 2^63 (0 from there on, as the
// evaluator takes them).
SoftExtended Sine(double v) noexcept;
SoftExtended Cosine(double v) noexcept;
void SineCosine(double v, SoftExtended& sine, SoftExtended& cosine) noexcept;

}  // namespace soft_extended
