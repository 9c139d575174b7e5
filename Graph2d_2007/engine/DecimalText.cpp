// SPDX-License-Identifier: GPL-3.0-or-later
// Decimal text to binary: the digits as one big integer D and a decimal
// exponent k, the value D * 10^k = D * 5^k * 2^k as a quotient of big
// integers, and 64 bits of that quotient by long division with its remainder
// for the rounding. Exact; long texts cost time, not accuracy.
#include "DecimalText.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <string>

#include "BigNumber.h"
#include "BitCast.h"

namespace {

// A halfway point between two neighbouring extended values (the longest of
// any format here) has at most about 11,500 significant decimal digits, so
// digits beyond these can only tell which side of one the number lies on:
// they are kept as one non-zero digit.
constexpr int KeptDigits = 12000;

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The length of `word` at `p` (case-insensitive), or 0.
std::size_t Matches(const char* p, const char* last, const char* word)
{
    std::size_t n = 0;
    for (; word[n] != 0; ++n) {
        if (p + n == last || Lower(p[n]) != word[n])
            return 0;
    }
    return n;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

using U128 = unsigned __int128;

int BitLength(U128 v)
{
    const auto high = static_cast<std::uint64_t>(v >> 64);
    return high != 0 ? 128 - std::countl_zero(high) : 64 - std::countl_zero(static_cast<std::uint64_t>(v));
}

// The common case in 128-bit words: at most 19 digits (D < 2^64) and
// |k| <= 27 (5^|k| < 2^63). The same arithmetic as the general case below.
bool EvaluateShort(std::uint64_t d, int k, DecimalValue& result)
{
    std::uint64_t five = 1;
    for (int i = 0; i < (k < 0 ? -k : k); ++i)
        five *= 5;
    if (k >= 0) {
        const U128 p = U128{d} * five;  // below 2^128
        const int shift = 128 - BitLength(p);
        const U128 v = p << shift;
        result.Whole = static_cast<std::uint64_t>(v >> 64);
        result.Below = static_cast<std::uint64_t>(v);
        result.Scale = k + 64 - shift;
        return true;
    }
    // d / 5^-k * 2^k: a quotient in [2^63, 2^64) of d 2^s by 5^-k, below 2^127.
    int s = 63 - (BitLength(d) - BitLength(five));
    if (s < 0)
        return false;
    U128 numerator = U128{d} << s;
    if (numerator < (U128{five} << 63)) {
        numerator <<= 1;
        ++s;
    }
    result.Whole = static_cast<std::uint64_t>(numerator / five);
    const auto rest = static_cast<std::uint64_t>(numerator % five);
    if (rest != 0) {
        const U128 twice = U128{rest} << 1;
        result.Below = twice > five ? (std::uint64_t{1} << 63) | 1 : twice == five ? std::uint64_t{1} << 63 : 1;
    }
    result.Scale = k - s;
    return true;
}

// (D * 10^k) as a DecimalValue, D given by its significant digits.
DecimalValue Evaluate(const std::string& digits, long long exponent)
{
    DecimalValue result;
    if (digits.empty())
        return result;
    result.Zero = false;
    if (digits.size() <= 19 && exponent >= -27 && exponent <= 27) {
        std::uint64_t d = 0;
        for (const char c : digits)
            d = d * 10 + static_cast<std::uint64_t>(c - '0');
        if (EvaluateShort(d, static_cast<int>(exponent), result))
            return result;
    }
    const long long magnitude = static_cast<long long>(digits.size()) + exponent;  // value < 10^magnitude
    if (magnitude > 4940) {
        result.Scale = DecimalHuge;
        result.Whole = std::uint64_t{1} << 63;
        return result;
    }
    if (magnitude < -4960) {
        result.Scale = -DecimalHuge;
        result.Whole = std::uint64_t{1} << 63;
        result.Below = 1;
        return result;
    }
    BigNumber numerator;
    std::uint32_t chunk = 0;
    std::uint32_t chunkScale = 1;
    for (const char c : digits) {
        chunk = chunk * 10 + static_cast<std::uint32_t>(c - '0');
        chunkScale *= 10;
        if (chunkScale == 1000000000) {
            numerator.MultiplyAdd(chunkScale, chunk);
            chunk = 0;
            chunkScale = 1;
        }
    }
    if (chunkScale != 1)
        numerator.MultiplyAdd(chunkScale, chunk);
    BigNumber denominator(1);
    const int k = static_cast<int>(exponent);
    if (k >= 0)
        numerator.MultiplyByPowerOfFive(k);
    else
        denominator.MultiplyByPowerOfFive(-k);
    // numerator / denominator * 2^k; scaled by 2^s into [2^63, 2^64).
    int s = 63 - (numerator.BitLength() - denominator.BitLength());
    const auto scale = [&](int by) {
        if (by >= 0)
            numerator.ShiftLeft(by);
        else
            denominator.ShiftLeft(-by);
    };
    scale(s);
    BigNumber low = denominator;
    low.ShiftLeft(63);
    if (Compare(numerator, low) < 0) {
        numerator.ShiftLeft(1);
        ++s;
    }
    result.Whole = DivideToWord(numerator, denominator);  // numerator keeps the remainder
    if (!numerator.IsZero()) {
        numerator.ShiftLeft(1);
        const int side = Compare(numerator, denominator);
        result.Below = side > 0 ? (std::uint64_t{1} << 63) | 1 : side == 0 ? std::uint64_t{1} << 63 : 1;
    }
    result.Scale = k - s;
    return result;
}

}  // namespace

std::from_chars_result ReadDecimalValue(const char* first, const char* last, DecimalValue& value, int& special,
                                        std::chars_format format)
{
    const char* p = first;
    const bool negative = p != last && *p == '-';
    if (negative)
        ++p;
    special = 0;
    if (std::size_t n = Matches(p, last, "inf")) {
        if (std::size_t more = Matches(p, last, "infinity"))
            n = more;
        value = DecimalValue{};
        value.Negative = negative;
        special = 1;
        return {p + n, std::errc()};
    }
    if (std::size_t n = Matches(p, last, "nan")) {
        const char* end = p + n;
        if (end != last && *end == '(') {
            const char* q = end + 1;
            while (q != last && (IsDigit(*q) || (Lower(*q) >= 'a' && Lower(*q) <= 'z') || *q == '_'))
                ++q;
            if (q != last && *q == ')')
                end = q + 1;
        }
        value = DecimalValue{};
        value.Negative = negative;
        special = 2;
        return {end, std::errc()};
    }

    std::string digits;  // significant digits, no leading zeros
    long long exponent = 0;
    bool seenDigit = false;
    bool dropped = false;  // a non-zero digit beyond KeptDigits
    const auto take = [&](char c, bool fraction) {
        seenDigit = true;
        if (digits.empty() && c == '0') {
            if (fraction)
                --exponent;
            return;
        }
        if (static_cast<int>(digits.size()) < KeptDigits) {
            digits.push_back(c);
            if (fraction)
                --exponent;
        } else {
            dropped = dropped || c != '0';
            if (!fraction)
                ++exponent;
        }
    };
    for (; p != last && IsDigit(*p); ++p)
        take(*p, false);
    if (p != last && *p == '.') {
        const char* q = p + 1;
        for (; q != last && IsDigit(*q); ++q)
            take(*q, true);
        if (seenDigit)
            p = q;
    }
    if (!seenDigit)
        return {first, std::errc::invalid_argument};
    const bool scientific = (static_cast<int>(format) & static_cast<int>(std::chars_format::scientific)) != 0;
    const bool fixed = (static_cast<int>(format) & static_cast<int>(std::chars_format::fixed)) != 0;
    bool hasExponent = false;
    if (scientific && p != last && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        const bool minus = q != last && *q == '-';
        if (q != last && (*q == '+' || *q == '-'))
            ++q;
        if (q != last && IsDigit(*q)) {
            long long e = 0;
            for (; q != last && IsDigit(*q); ++q)
                e = std::min<long long>(e * 10 + (*q - '0'), 100000000);
            exponent += minus ? -e : e;
            p = q;
            hasExponent = true;
        }
    }
    if (scientific && !fixed && !hasExponent)
        return {first, std::errc::invalid_argument};
    if (dropped) {
        digits.push_back('1');  // strictly between the kept digits and the next
        --exponent;
    }
    value = Evaluate(digits, exponent);
    value.Negative = negative;
    return {p, std::errc()};
}

double NearestDouble(const DecimalValue& value)
{
    const std::uint64_t sign = static_cast<std::uint64_t>(value.Negative) << 63;
    if (value.Zero)
        return std::bit_cast<double>(sign);
    // The leading bit of Whole has the weight 2^(Scale + 63).
    const long long top = static_cast<long long>(value.Scale) + 63;
    if (top > 1023)
        return std::bit_cast<double>(sign | 0x7FF0000000000000u);
    const long long shift = top >= -1022 ? 11 : 11 + (-1022 - top);  // bits below the last kept one
    U128 v = (U128{value.Whole} << 64) | value.Below;
    std::uint64_t kept = 0;
    U128 rest = 0;
    U128 half = 0;
    if (shift + 64 >= 128) {
        rest = v;
        half = shift + 64 == 128 ? U128{1} << 127 : 0;
        if (shift + 64 > 128)
            rest = 1;  // far below half the least unit
    } else {
        const int drop = static_cast<int>(shift) + 64;
        kept = static_cast<std::uint64_t>(v >> drop);
        rest = v & ((U128{1} << drop) - 1);
        half = U128{1} << (drop - 1);
    }
    const bool up = half != 0 && (rest > half || (rest == half && (kept & 1) != 0));
    kept += up ? 1 : 0;
    if (top >= -1022) {
        // kept is 2^52 .. 2^53; a carry moves into the next binade.
        const std::uint64_t bits = (static_cast<std::uint64_t>(top + 1022) << 52) + kept;
        if (bits >= 0x7FF0000000000000u)
            return std::bit_cast<double>(sign | 0x7FF0000000000000u);
        return std::bit_cast<double>(sign | bits);
    }
    return std::bit_cast<double>(sign | kept);  // a carry to 2^52 is the least normal double
}

std::from_chars_result ReadDecimalDouble(const char* first, const char* last, double& value,
                                         std::chars_format format)
{
    DecimalValue decimal;
    int special = 0;
    const std::from_chars_result read = ReadDecimalValue(first, last, decimal, special, format);
    if (read.ec != std::errc())
        return read;
    if (special != 0) {
        const double magnitude =
            special == 1 ? std::numeric_limits<double>::infinity() : std::numeric_limits<double>::quiet_NaN();
        value = decimal.Negative ? -magnitude : magnitude;
        return read;
    }
    const double nearest = NearestDouble(decimal);
    if (std::isinf(nearest) || (nearest == 0 && !decimal.Zero))
        return {read.ptr, std::errc::result_out_of_range};
    value = nearest;
    return read;
}
