// SPDX-License-Identifier: GPL-3.0-or-later
// Where the decimal ticks of an axis stand. Qt-free, so the rules can be
// checked on their own; Axes.cpp draws what these return.
//
// The step starts at 10^30 and is multiplied by the extended 0.1 (the
// extended value nearest to 0.1, a hair above it) until the range holds at
// least three steps; each product is stored as a double, so the step drifts a
// little above the exact power of ten. Tick i stands at i * step.
//
// Two limits keep every axis finite and quick: the tick indices that the
// search and the tick loop touch must fit in 32 bits, and an axis has at most
// MaxAxisTicks ticks. Beyond either the axis is refused with the
// invalid-operation fault.
#pragma once

#include <cstdint>

#include "RealArith.h"

// 0.1 in the extended format: significand 0xCCCCCCCCCCCCCCCD, just above 0.1.
inline constexpr Extended AxisStepFactor = 0xC.CCCCCCCCCCCCCCDp-7L;
inline constexpr double AxisFirstStep = 1e30;
inline constexpr std::int32_t AxisFirstExponent = 30;
inline constexpr std::int64_t MaxAxisTicks = 1000000;

struct AxisStep {
    double Step = AxisFirstStep;
    std::int32_t Exponent = AxisFirstExponent;
};

// The step for the range min .. max. A reversed range descends until the step
// is 0 and ends in the division-by-zero fault, an empty range in 0 / 0, the
// invalid-operation fault.
AxisStep FindAxisStep(double min, double max);

// The tick index after the first-tick search: for min < 0 the smaller of -1
// and the first multiple at or right of min, else the larger of 1 and the
// last multiple at or left of min.
std::int32_t FirstTick(double min, double step);

struct TickRange {
    std::int32_t First = 0;
    std::int32_t Last = 0;  // inclusive
    std::int64_t Count() const { return std::int64_t(Last) - First + 1; }
};

// First and last tick drawn: the first one always, then tick j while
// (j + 1) * step <= max.
TickRange FindTicks(double min, double max, double step);
