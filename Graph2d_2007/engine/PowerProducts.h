// SPDX-License-Identifier: GPL-3.0-or-later
// The rounded products of an integer power, r <- r * a with a = |x|, formed
// one at a time. Private to the engine (IntegerPowers.cpp and PowerRuns.cpp).
//
// The defining product is the x87 one: r * a exact, rounded to a 64-bit
// significand, then stored as a double (a second rounding, to 53 bits or to
// the denormal grid). Every faster way of forming it here gives the same bits;
// the comments at each one say why.
#pragma once

#include <bit>
#include <cstdint>

#include "ExtendedMath.h"

// A power in progress: the magnitude of the partial product and the number
// of products still to form.
struct PowerWalk {
    double R = 1.0;
    std::uint32_t Left = 0;
};

// The loops that form products one at a time run up to 2^31 times per
// power; in the fuzzing build (clang) they carry no coverage instrumentation,
// whose hook on every comparison would make them some five times slower.
// The sanitizers still check them, and the fuzz target checks their results.
#if defined(__clang__)
#define PRODUCT_LOOP [[clang::no_sanitize("coverage")]]
#else
#define PRODUCT_LOOP
#endif

inline constexpr std::uint64_t FractionMask = (std::uint64_t{1} << 52) - 1;
inline constexpr std::uint64_t ExponentMask = std::uint64_t{0x7FF} << 52;

// The defining product: one x87 multiplication, one rounding store. A
// product past the double range raises the overflow fault.
[[gnu::always_inline]] inline double ExactProduct(double r, double a)
{
    return StoreFast(static_cast<Extended>(r) * a);
}

// Up to `steps` products (no more than w.Left). Stops early at a fixed
// point, where every further product gives r again: then w.Left becomes 0.
void ProductsByX87(PowerWalk& w, double a, std::uint32_t steps);

// The same with SSE2 products checked by an FMA residual; call only where
// the CPU has FMA. Gives the same bits as ProductsByX87 for every r and a,
// fastest while r stays within FmaLow .. FmaHigh; returns early where a
// product leaves that range.
void ProductsByFma(PowerWalk& w, double a, std::uint32_t steps);

// Below FmaLow the FMA residual of a product may be inexact (and the
// products round to the denormal grid); from FmaHigh on a product may
// overflow. ProductsByFma forms each product there by x87.
inline constexpr double FmaLow = 0x1p-960;
inline constexpr double FmaHigh = 0x1p1023;

// The same in integer arithmetic, for a denormal (or zero) r and a normal
// a < 1, where the x87 products are slow (each denormal result takes a
// microcode assist). Gives the same bits as ProductsByX87.
void ProductsOfDenormal(PowerWalk& w, double a, std::uint32_t steps);
