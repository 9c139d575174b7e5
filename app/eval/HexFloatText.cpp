// SPDX-License-Identifier: GPL-3.0-or-later
#include "HexFloatText.h"

#include <bit>
#include <cstdint>

#include "BitCast.h"

std::string HexFloatText(double value)
{
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const bool negative = (bits >> 63) != 0;
    const int exponent = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    std::string text = negative ? "-" : "";
    if (exponent == 0x7FF)
        return text + (fraction != 0 ? "nan" : "inf");
    if (exponent == 0 && fraction == 0)
        return text + "0x0p+0";
    // glibc writes a denormal with the leading digit 0 and the exponent of
    // the least normal double.
    text += exponent == 0 ? "0x0" : "0x1";
    const int power = exponent == 0 ? -1022 : exponent - 1023;
    if (fraction != 0) {
        text += '.';
        int digits = 13;
        while ((fraction & 0xF) == 0) {
            fraction >>= 4;
            --digits;
        }
        for (int k = digits - 1; k >= 0; --k)
            text += "0123456789abcdef"[(fraction >> (4 * k)) & 0xF];
    }
    text += power < 0 ? "p-" : "p+";
    text += std::to_string(power < 0 ? -power : power);
    return text;
}
