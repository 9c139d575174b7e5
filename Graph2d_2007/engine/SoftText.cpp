// SPDX-License-Identifier: GPL-3.0-or-later
// The software extended format as decimal text and back, exactly rounded.
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
    if (nearest.IsInf() || nearest.IsZero())
        return {read.ptr, std::errc::result_out_of_range};
    value = nearest;
    return read;
}

std::to_chars_result ScientificText(char* first, char* last, SoftExtended x, int precision)
{
    std::string text = x.Negative() ? "-" : "";
    if (x.IsNaN() || x.IsInf()) {
        text += x.IsNaN() ? "nan" : "inf";
    } else {
        // The exact decimal digits of |x| = m * 2^e, and the decimal
        // exponent of the first.
        std::string digits = "0";
        long long exponent = 0;
        if (!x.IsZero()) {
            const Parts p = TakeApart(x);
            const int e = p.Exponent - Bias - 63;
            BigNumber n(p.Significand);
            int decimalShift = 0;
            if (e >= 0) {
                n.ShiftLeft(e);
            } else {
                n.MultiplyByPowerOfFive(-e);  // m * 2^e = m * 5^-e * 10^e
                decimalShift = e;
            }
            digits.clear();
            while (!n.IsZero()) {
                std::uint32_t group = n.DivideSmall(1000000000);
                for (int i = 0; i < 9; ++i) {
                    digits.push_back(static_cast<char>('0' + group % 10));
                    group /= 10;
                }
            }
            while (digits.size() > 1 && digits.back() == '0')
                digits.pop_back();
            digits.assign(digits.rbegin(), digits.rend());
            exponent = static_cast<long long>(digits.size()) - 1 + decimalShift;
        }
        // Rounded to precision + 1 digits, ties to even.
        const auto wanted = static_cast<std::size_t>(precision) + 1;
        if (digits.size() > wanted) {
            const char next = digits[wanted];
            const bool rest = digits.find_first_not_of('0', wanted + 1) != std::string::npos;
            const bool odd = ((digits[wanted - 1] - '0') & 1) != 0;
            digits.resize(wanted);
            if (next > '5' || (next == '5' && (rest || odd))) {
                std::size_t i = wanted;
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
        digits.resize(wanted, '0');
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
