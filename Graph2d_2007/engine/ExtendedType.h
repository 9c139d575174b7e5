// SPDX-License-Identifier: GPL-3.0-or-later
// The one place that chooses how Extended is formed.
//
// On x86 it is the x87's own 80-bit long double, formed by the FPU. Where
// there is no x87 (WebAssembly, whose long double is a binary128 in
// software), and natively when configured with PARAMCURVE_SOFT_EXTENDED=ON
// to check that form bit for bit against the x87, it is SoftExtended: the
// same format and the same results, formed in integer arithmetic.
// EXTENDED_IN_SOFTWARE is 1 in the second case, 0 in the first.
#pragma once

#include <limits>

#include "BitCast.h"

#if defined(__EMSCRIPTEN__) || (defined(PARAMCURVE_SOFT_EXTENDED) && PARAMCURVE_SOFT_EXTENDED)
#define EXTENDED_IN_SOFTWARE 1
#include "SoftExtended.h"
using Extended = SoftExtended;
#else
#define EXTENDED_IN_SOFTWARE 0
using Extended = long double;
#endif

static_assert(std::numeric_limits<Extended>::digits == 64,
              "Extended must be the 80-bit extended format with a 64-bit significand");
