// SPDX-License-Identifier: GPL-3.0-or-later
// Decimal text to binary reals, exactly rounded, without the C++ library's
// floating-point from_chars (which the WebAssembly build's library lacks):
// the same results on every build.
#pragma once

#include <charconv>
#include <cstdint>

// What decimal text stands for, exactly enough to round it once to any
// format of at most 64 significant bits: 0, or (Whole + Below / 2^64) * 2^Scale
// with 2^63 <= Whole < 2^64, where Below holds the bits after Whole (only
// whether it is 0, below, at or above 2^63 is kept). A Scale of
// DecimalHuge or -DecimalHuge stands for values beyond every format's range.
struct DecimalValue {
    bool Negative = false;
    bool Zero = true;
    int Scale = 0;
    std::uint64_t Whole = 0;
    std::uint64_t Below = 0;
};

inline constexpr int DecimalHuge = 1 << 20;

// Reads a number as std::from_chars reads one: an optional "-", digits with
// at most one ".", then (unless `format` is fixed) an exponent "e-12"; or
// "inf", "infinity", "nan". Leaves `value` alone and returns first with
// invalid_argument when no number starts at first. `special` is set for
// "inf" (1) and "nan" (2), else 0.
std::from_chars_result ReadDecimalValue(const char* first, const char* last, DecimalValue& value, int& special,
                                        std::chars_format format);

// The nearest double, ties to even, as std::from_chars reads one: beyond the
// range (an infinity, or 0 from digits that are not all 0) it returns
// result_out_of_range and leaves `value` alone.
std::from_chars_result ReadDecimalDouble(const char* first, const char* last, double& value,
                                         std::chars_format format = std::chars_format::general);

// The double nearest to a DecimalValue (not a special).
double NearestDouble(const DecimalValue& value);
