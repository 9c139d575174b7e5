// SPDX-License-Identifier: GPL-3.0-or-later
#include "AxisScale.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Beyond this many steps from the origin an index cannot be 32-bit; checked
// before the estimate is turned into an integer.
constexpr Extended IndexEstimateLimit = 0x1p33L;

constexpr std::int64_t Int32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t Int32Max = std::numeric_limits<std::int32_t>::max();

// The search compares the extended product, never rounded to a double.
Extended TickValue(std::int64_t index, double step)
{
    return Extended(index) * Extended(step);
}

Extended IndexEstimate(double value, double step)
{
    const Extended quotient = DivideExtended(value, step);
    if (std::fabs(quotient) > IndexEstimateLimit)
        RaiseFloatFault(FloatFaultKind::InvalidOperation);
    return quotient;
}

// Least j with j * step >= bound.
std::int64_t LeastAtOrAbove(double bound, double step)
{
    auto j = std::int64_t(std::ceil(IndexEstimate(bound, step)));
    while (TickValue(j - 1, step) >= bound)
        --j;
    while (TickValue(j, step) < bound)
        ++j;
    return j;
}

// Greatest j with j * step <= bound.
std::int64_t GreatestAtOrBelow(double bound, double step)
{
    auto j = std::int64_t(std::floor(IndexEstimate(bound, step)));
    while (TickValue(j + 1, step) <= bound)
        ++j;
    while (TickValue(j, step) > bound)
        --j;
    return j;
}

std::int64_t FirstTickIndex(double min, double step)
{
    if (min < 0)
        return std::min<std::int64_t>(-1, LeastAtOrAbove(min, step));
    return std::max<std::int64_t>(1, GreatestAtOrBelow(min, step));
}

}  // namespace

AxisStep FindAxisStep(double min, double max)
{
    const Extended range = Extended(max) - Extended(min);
    AxisStep result;
    while (DivideExtended(range, result.Step) < 3) {
        result.Step = StoreReal(Extended(result.Step) * AxisStepFactor);
        --result.Exponent;
    }
    return result;
}

std::int32_t FirstTick(double min, double step)
{
    const std::int64_t first = FirstTickIndex(min, step);
    // The search looks one index past the one it settles on.
    if (first - 1 < Int32Min || first + 1 > Int32Max)
        RaiseFloatFault(FloatFaultKind::InvalidOperation);
    return std::int32_t(first);
}

TickRange FindTicks(double min, double max, double step)
{
    TickRange ticks;
    ticks.First = FirstTick(min, step);
    const std::int64_t last = std::max<std::int64_t>(ticks.First, GreatestAtOrBelow(max, step) - 1);
    // The tick loop tests (i + 1) * step after stepping past the last tick.
    if (last + 2 > Int32Max)
        RaiseFloatFault(FloatFaultKind::InvalidOperation);
    ticks.Last = std::int32_t(last);
    if (ticks.Count() > MaxAxisTicks)
        RaiseFloatFault(FloatFaultKind::InvalidOperation);
    return ticks;
}
