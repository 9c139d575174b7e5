// SPDX-License-Identifier: GPL-3.0-or-later
// Products of a base near 1 taken many at a time, in exact integer
// arithmetic. Private to the engine (IntegerPowers.cpp).
//
// Within one binade, r = m 2^(E-52) with 2^52 <= m < 2^53, and a product by
// a = 1 + J 2^-52 (or 1 - J 2^-53) moves m by an increment D(m) that depends
// on m alone; D stays constant over long stretches of m, along which m runs
// through an arithmetic progression whose end follows from one division.
// PowerRuns.cpp gives the proof.
#pragma once

#include <cstdint>

#include "PowerProducts.h"

// A base a = 1 + J 2^-52 (Up) or a = 1 - J 2^-53 (not Up), 1 <= J <= MaxRunJ.
// Any other base has Valid false.
struct NearOneBase {
    bool Valid = false;
    bool Up = false;
    std::uint64_t J = 0;
    double PayLimit = 0.0;  // runs pay while the significand of r is at most this
};

// Beyond this the runs are shorter than one product, wherever r is.
inline constexpr std::uint64_t MaxRunJ = std::uint64_t{1} << 28;

NearOneBase NearOneOf(double a);

// True when r is normal and the runs there are long enough to beat forming
// the products one at a time.
bool RunsPay(const NearOneBase& base, double r);

// Forms the products of w by runs while they pay, until r leaves its binade
// (the product that leaves it is formed by x87), w.Left is used up, or
// `budget` (one unit per run) is spent. Forms at least one product. The base
// must be Valid and r normal.
void ProductsByRuns(PowerWalk& w, double a, const NearOneBase& base, std::uint32_t& budget);
