// SPDX-License-Identifier: GPL-3.0-or-later
// IntPower and Factorial: the whole-number arithmetic of "^" and FA.
//
// IntPower is defined by its loop, |n| products r <- r * x each rounded to
// 64 bits (IntPowerByLoop below). The fast form gives the same bits: it forms
// the products on |x| either one at a time (PowerProducts.h: by x87, or by
// SSE2 checked with an FMA residual) or, for bases near 1, many at a time by
// exact integer runs (PowerRuns.h). Each way is proved where it is written.
#include "IntegerPowers.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "Expression.h"
#include "ExtendedMath.h"
#include "LongWork.h"
#include "PowerProducts.h"
#include "PowerRuns.h"

namespace {

// True when |r| is sure to pass the 64-bit range within `count` roundings of
// r * |x| starting from 1. Each rounded product keeps at least
// |r * x| * (1 - 2^-52) (one rounding to 64 bits, one to 53), so after k steps
// |r| >= (|x| * (1 - 2^-52))^k; the margins make the test err on "not sure".
bool OverflowIsCertain(Extended magnitude, std::uint32_t count)
{
    if (magnitude <= 1.0L)
        return false;
    const Extended growthBits = std::log2(magnitude) - 0x1p-50L;
    if (growthBits <= 0.0L)
        return false;
    return static_cast<Extended>(count) * growthBits > 1025.0L * (1.0L + 0x1p-20L);
}

std::uint32_t Magnitude(std::int32_t n)
{
    return n < 0 ? 0u - static_cast<std::uint32_t>(n) : static_cast<std::uint32_t>(n);
}

// The products are formed on the magnitude; the sign of every partial
// product is sign(x)^k, since rounding never changes a sign. A negative n
// takes the reciprocal (of 0: the division-by-zero fault).
double SignAndReciprocal(double x, std::int32_t n, double magnitude)
{
    double r = magnitude;
    if (std::signbit(x) && (Magnitude(n) & 1u) != 0)
        r = -r;
    if (n < 0)
        r = StoreReal(DivideExtended(1.0L, r));
    return r;
}

// Shorter powers go to the loop, which is as quick there (setting up the
// fast form costs about as much as a dozen products).
constexpr std::uint32_t FastFrom = 16;

// Products one at a time between two looks at the way to form them.
constexpr std::uint32_t BlockProducts = 1024;

// |x|^count for a normal |x| other than a power of two, polling the
// long-work hook every LongWorkPollInterval units (one product formed alone,
// or one run).
double PositivePower(double a, std::uint32_t count, bool useFma)
{
    PowerWalk w{1.0, count};
    const NearOneBase nearOne = NearOneOf(a);
    std::uint32_t budget = LongWorkPollInterval;
    while (w.Left > 0) {
        if (budget == 0) {
            PollLongWork();
            budget = LongWorkPollInterval;
        }
        if (nearOne.Valid && RunsPay(nearOne, w.R)) {
            ProductsByRuns(w, a, nearOne, budget);
            continue;
        }
        const std::uint32_t steps = std::min({w.Left, budget, BlockProducts});
        budget -= steps;
        if (w.R < std::numeric_limits<double>::min() && a < 1.0)
            ProductsOfDenormal(w, a, steps);
        else if (useFma && w.R >= FmaLow && w.R < FmaHigh)
            ProductsByFma(w, a, steps);
        else
            ProductsByX87(w, a, steps);
    }
    return w.R;
}

// The plain loop.
[[gnu::always_inline]] inline double LoopPower(double x, std::int32_t n)
{
    const std::uint32_t count = Magnitude(n);
    const Extended magnitude = std::fabs(static_cast<Extended>(x));

    // An overflow that must happen somewhere in the loop is raised at once:
    // the outcome is the same fault, only sooner.
    // (Short powers are left to the loop, which is quicker than the test.)
    if (count > 2048 && OverflowIsCertain(magnitude, count))
        RaiseFloatFault(FloatFaultKind::Overflow);

    double r = 1.0;
    for (std::uint32_t k = 0; k < count; ++k) {
        // A long run lets the program around it breathe, or stop it.
        if ((k & (LongWorkPollInterval - 1)) == LongWorkPollInterval - 1)
            PollLongWork();
        const double next = StoreFast(r * magnitude);
        // The magnitude evolves by a fixed rule of r alone: once a product
        // rounds back to r (1, 0, the smallest denormals), it stays there.
        if (next == r)
            break;
        r = next;
    }
    return SignAndReciprocal(x, n, r);
}

// Powers the loop forms as quickly, of 16 products or more: non-finite and
// denormal bases and 0, which end within two products; powers of two (1
// among them), which reach overflow, 0 or a fixed point within 1075 exact
// products, and would fail every FMA check; and a certain overflow, which
// the loop raises before any product, thrown from the loop's own small
// function (the unwinder's work grows with the function a throw leaves).
[[gnu::always_inline]] inline bool LeftToLoop(double x, std::uint32_t count)
{
    return !std::isnormal(x) || (std::bit_cast<std::uint64_t>(x) & FractionMask) == 0 ||
           (count > 2048 && OverflowIsCertain(std::fabs(x), count));
}

// The fast form of what the loop does not take.
[[gnu::noinline]] double FastPower(double x, std::int32_t n, bool useFma)
{
    const std::uint32_t count = Magnitude(n);
    return SignAndReciprocal(x, n, PositivePower(std::fabs(x), count, useFma));
}

// IntPower with the products one at a time by FMA or x87. Short powers run
// the loop inline (the compiler drops its overflow test, which needs 2049
// products); the rest go on to the loop's own function or the fast form.
[[gnu::always_inline]] inline double Power(double x, std::int32_t n, bool useFma)
{
    const std::uint32_t count = Magnitude(n);
    if (count < FastFrom)
        return LoopPower(x, n);
    if (LeftToLoop(x, count))
        return IntPowerByLoop(x, n);
    return FastPower(x, n, useFma);
}

}  // namespace

double IntPowerByLoop(double x, std::int32_t n)
{
    return LoopPower(x, n);
}

double IntPowerFast(double x, std::int32_t n, bool useFma)
{
    return Power(x, n, useFma);
}

bool CpuHasFma()
{
#if EXTENDED_IN_SOFTWARE
    return true;  // the residual is formed without FMA instructions (ProductResidual)
#else
    static const bool hasFma = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("fma") != 0;
    }();
    return hasFma;
#endif
}

double IntPower(double x, std::int32_t n)
{
    // Short powers, the common ones, return before the CPU is asked about FMA.
    const std::uint32_t count = Magnitude(n);
    if (count < FastFrom)
        return LoopPower(x, n);
    return Power(x, n, CpuHasFma());
}

std::int32_t Factorial(std::int32_t n)
{
    // 34! holds 2^32 among its factors, so from 34 on the low 32 bits are 0.
    if (n >= 34)
        return 0;
    std::uint32_t product = 1;  // unsigned: the wrap is defined
    for (std::int32_t k = 2; k <= n; ++k)
        product *= static_cast<std::uint32_t>(k);
    return static_cast<std::int32_t>(product);
}
