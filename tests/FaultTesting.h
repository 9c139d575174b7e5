// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the tests: which floating-point fault a piece of code
// raises, and bit-for-bit comparison of doubles.
#pragma once

#include <cstring>
#include <optional>

#include "RealArith.h"

template <typename F>
std::optional<FloatFaultKind> FaultOf(F&& f)
{
    try {
        f();
    } catch (const FloatFault& fault) {
        return fault.Kind();
    }
    return std::nullopt;
}

inline bool SameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}
