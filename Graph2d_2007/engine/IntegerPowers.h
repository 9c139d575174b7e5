// SPDX-License-Identifier: GPL-3.0-or-later
// The two ways IntPower can be formed, for the tests and the benchmarks.
#pragma once

#include <cstdint>

// The plain loop: |n| rounded products one after another (leaving early only
// where the outcome is already certain: an overflow, a fixed point). The
// reference every faster form is checked against.
double IntPowerByLoop(double x, std::int32_t n);

// The fast form, bit for bit and fault for fault the same as the loop.
// IntPower is this with useFma = CpuHasFma(); false takes the x87 products
// instead of the FMA-checked ones. (useFma on a CPU without FMA would stop
// the program at the first FMA instruction.)
double IntPowerFast(double x, std::int32_t n, bool useFma);

// True when this CPU executes FMA instructions.
bool CpuHasFma();
