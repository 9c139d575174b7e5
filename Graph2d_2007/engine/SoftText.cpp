// SPDX-License-Identifier: GPL-3.0-or-later
// The software extended format as decimal text and back, exactly rounded.
#include <algorithm>
#include <cmath>
#include <string>

#include "BigNumber.h"
#include "DecimalText.h"
#include "SoftExtended.h"

namespace soft_extended {

std::from_chars_result ReadDecimal(const char* first, const char* last, SoftExtended& value,
                                   std::chars_format format)
{
    DecimalValue decimal;
    int special = 0;
    const std::from_chars_result read = ReadDecimalValue(first, last, decimal, special, format);
    if (read.ec != std::errc())
        return read;
    if (special != 0) {
        const SoftExtended magnitude = special == 1 ? Infinity(false) : std::numeric_limits<SoftExtended>::quiet_NaN();
        value = decimal.Negative ? -magnitude : magnitude;
        return read;
    }
    if (decimal.Zero) {
        value = Zero(decimal.Negative);
        return read;
    }
    // The leading bit of Whole has the weight 2^(Scale + 63).
    const long long biased = static_cast<long long>(decimal.Scale) + 63 + Bias;
    const int clamped = static_cast<int>(std::max(-100000LL, std::min(100000LL, biased)));
    const SoftExtended nearest = Pack(decimal.Negative, clamped, decimal.Whole, decimal.Below);
    // As glibc's strtold, whose ERANGE from_chars reports: an overflow, or
    // an inexact result that is tiny, below the least normal value after
    // rounding to 64 bits as if the exponent had no lower bound.
    const bool carry = decimal.Whole == ~std::uint64_t{0} && decimal.Below >= IntegerBit;
    const bool tiny = clamped + (carry ? 1 : 0) <= 0;
    bool inexact = decimal.Below != 0;
    if (clamped <= 0)
        inexact = inexact || 1 - clamped >= 64 || (decimal.Whole & ((std::uint64_t{1} << (1 - clamped)) - 1)) != 0;
    if (nearest.IsInf() || (tiny && inexact))
        return {read.ptr, std::errc::result_out_of_range};
    value = nearest;
    return read;
}

namespace {

// Ten to the power as a big number.
BigNumber PowerOfTen(int exponent)
{
    BigNumber n(1);
    for (; exponent >= 9; exponent -= 9)
        n.MultiplyAdd(1000000000, 0);
    std::uint32_t rest = 1;
    for (; exponent > 0; --exponent)
        rest *= 10;
    n.MultiplyAdd(rest, 0);
    return n;
}

std::string DecimalDigits(BigNumber n)
{
    std::string digits;
    while (!n.IsZero()) {
        std::uint32_t group = n.DivideSmall(1000000000);
        for (int i = 0; i < 9; ++i) {
            digits.push_back(static_cast<char>('0' + group % 10));
            group /= 10;
        }
    }
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    return std::string(digits.rbegin(), digits.rend());
}

}  // namespace

std::to_chars_result ScientificText(char* first, char* last, SoftExtended x, int precision)
{
    std::string text = x.Negative() ? "-" : "";
    if (x.IsNaN() || x.IsInf()) {
        text += x.IsNaN() ? "nan" : "inf";
    } else {
        const auto wanted = static_cast<std::size_t>(precision) + 1;
        std::string digits(wanted, '0');
        long long exponent = 0;  // of the first digit
        if (!x.IsZero()) {
            // |x| = m 2^e. With X the decimal exponent of its first digit,
            // q = floor(|x| 10^D), D = precision + 1 - X, holds the digits
            // kept and one more; `rest` whether anything lies below q.
            const Parts p = TakeApart(x);
            const int e = p.Exponent - Bias - 63;
            const int top = e + 63;  // 2^top <= |x| < 2^(top + 1)
            exponent = static_cast<long long>(std::floor(top * 0.30102999566398119521));  // X or X - 1
            const int d = static_cast<int>(wanted - exponent);
            BigNumber q(p.Significand);
            bool rest = false;
            const auto shift = [&](int bits) {
                if (bits >= 0) {
                    q.ShiftLeft(bits);
                } else {
                    rest = rest || q.LowBitsSet(-bits);
                    q.ShiftRight(-bits);
                }
            };
            if (d >= 0) {
                q.MultiplyByPowerOfFive(d);
                shift(e + d);
            } else {
                shift(e + d);
                int divide = -d;  // by 5^divide
                for (; divide >= 13; divide -= 13)
                    rest = q.DivideSmall(1220703125) != 0 || rest;
                std::uint32_t five = 1;
                for (; divide > 0; --divide)
                    five *= 5;
                rest = q.DivideSmall(five) != 0 || rest;
            }
            if (Compare(q, PowerOfTen(static_cast<int>(wanted) + 1)) >= 0) {  // X was one more
                rest = q.DivideSmall(10) != 0 || rest;
                ++exponent;
            }
            const std::uint32_t next = q.DivideSmall(10);
            digits = DecimalDigits(q);
            // Rounded to the digits kept, ties to even.
            const bool odd = ((digits.back() - '0') & 1) != 0;
            if (next > 5 || (next == 5 && (rest || odd))) {
                std::size_t i = digits.size();
                while (i > 0 && digits[i - 1] == '9')
                    digits[--i] = '0';
                if (i == 0) {
                    digits.insert(digits.begin(), '1');
                    digits.pop_back();
                    ++exponent;
                } else {
                    ++digits[i - 1];
                }
            }
        }
        text += digits[0];
        if (precision > 0) {
            text += '.';
            text.append(digits, 1, std::string::npos);
        }
        text += exponent < 0 ? "e-" : "e+";
        const long long magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude < 10)
            text += '0';
        text += std::to_string(magnitude);
    }
    if (static_cast<std::size_t>(last - first) < text.size())
        return {last, std::errc::value_too_large};
    text.copy(first, text.size());
    return {first + text.size(), std::errc()};
}

}  // namespace soft_extended
