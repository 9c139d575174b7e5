// SPDX-License-Identifier: GPL-3.0-or-later
// The rarer operations of the software extended format: the root, the
// remainder, the whole-number roundings and the conversions with long double.
#include "SoftExtended.h"

#include <algorithm>
#include <cmath>

namespace soft_extended {

namespace {

// floor(sqrt(n)) and n minus its square, for n < 2^128.
std::uint64_t IntegerRoot(U128 n, U128& rest)
{
    const double estimate = std::sqrt(static_cast<double>(n));
    U128 q = estimate >= 0x1p64 ? ~std::uint64_t{0} : static_cast<std::uint64_t>(estimate);
    if (q == 0)
        q = 1;
    // One Newton step from 53 good bits leaves q within one of the root.
    q = (q + n / q) >> 1;
    q = std::min<U128>(q, ~std::uint64_t{0});
    while (q * q > n)
        --q;
    while (q < ~std::uint64_t{0} && (q + 1) * (q + 1) <= n)
        ++q;
    rest = n - q * q;
    return static_cast<std::uint64_t>(q);
}

}  // namespace

SoftExtended SquareRoot(SoftExtended x) noexcept
{
    if (x.IsNaN())
        return Quieted(x);
    if (x.IsZero())
        return x;  // sqrt(-0) is -0
    if (x.Negative())
        return DefaultNaN;
    if (x.IsInf())
        return x;
    const Parts p = TakeApart(x);
    const int e = p.Exponent - Bias;  // x = significand * 2^(e - 63)
    // An odd e: the root of significand * 2^64 times 2^((e - 127) / 2);
    // an even e: of significand * 2^63 times 2^((e - 126) / 2). Either root
    // lies in [2^63, 2^64). It is never a tie: the root of a whole number is
    // whole or irrational.
    const bool odd = (e & 1) != 0;
    const U128 n = U128{p.Significand} << (odd ? 64 : 63);
    const int exponent = (odd ? (e - 1) / 2 : e / 2) + Bias;
    U128 rest = 0;
    const std::uint64_t q = IntegerRoot(n, rest);
    std::uint64_t low = 0;
    if (rest > q)  // n >= q^2 + q + 1: the root is past q + 1/2
        low = IntegerBit | 1;
    else if (rest != 0)
        low = 1;
    return Pack(false, exponent, q, low);
}

SoftExtended Remainder(SoftExtended x, SoftExtended y) noexcept
{
    if (x.IsNaN())
        return Quieted(x);
    if (y.IsNaN())
        return Quieted(y);
    if (x.IsInf() || y.IsZero())
        return DefaultNaN;
    if (y.IsInf() || x.IsZero())
        return x;
    const Parts a = TakeApart(x);
    const Parts b = TakeApart(y);
    if (a.Exponent < b.Exponent || (a.Exponent == b.Exponent && a.Significand < b.Significand))
        return x;
    // In units of y's last bit, x is a.Significand * 2^distance: its
    // remainder is formed 64 bits of the distance at a time. Exact.
    int distance = a.Exponent - b.Exponent;
    U128 r = a.Significand;
    while (true) {
        r %= b.Significand;
        if (distance == 0)
            break;
        const int shift = std::min(distance, 64);
        r <<= shift;
        distance -= shift;
    }
    if (r == 0)
        return Zero(x.Negative());
    const auto m = static_cast<std::uint64_t>(r);
    const int shift = std::countl_zero(m);
    return Pack(x.Negative(), b.Exponent - shift, m << shift, 0);
}

SoftExtended Scaled(SoftExtended x, int exponent) noexcept
{
    if (!std::isfinite(x) || x.IsZero())
        return x;
    const Parts p = TakeApart(x);
    const int scaled = p.Exponent + std::clamp(exponent, -100000, 100000);
    return Pack(p.Negative, scaled, p.Significand, 0);
}

SoftExtended Fraction(SoftExtended x, int* exponent) noexcept
{
    if (!std::isfinite(x) || x.IsZero()) {
        *exponent = 0;
        return x;
    }
    const Parts p = TakeApart(x);
    *exponent = p.Exponent - Bias + 1;
    return SoftExtended::FromBits(static_cast<std::uint16_t>((p.Negative ? SignBit : 0) | (Bias - 1)), p.Significand);
}

SoftExtended ToWhole(SoftExtended x, Whole direction) noexcept
{
    if (!std::isfinite(x) || x.IsZero())
        return x;
    const bool negative = x.Negative();
    const int e = x.BiasedExponent() - Bias;
    if (e >= 63)
        return x;  // no bits below the point
    if (e < 0) {  // 0 < |x| < 1
        const SoftExtended one = negative ? SoftExtended(-1.0) : SoftExtended(1.0);
        switch (direction) {
        case Whole::Down:
            return negative ? one : Zero(false);
        case Whole::Up:
            return negative ? Zero(true) : one;
        case Whole::TowardZero:
            return Zero(negative);
        case Whole::NearestEven:
            return e == -1 && x.Significand > IntegerBit ? one : Zero(negative);
        }
    }
    const std::uint64_t unit = std::uint64_t{1} << (63 - e);
    const std::uint64_t fraction = x.Significand & (unit - 1);
    if (fraction == 0)
        return x;
    std::uint64_t whole = x.Significand - fraction;
    bool away = false;
    switch (direction) {
    case Whole::Down:
        away = negative;
        break;
    case Whole::Up:
        away = !negative;
        break;
    case Whole::TowardZero:
        break;
    case Whole::NearestEven: {
        const std::uint64_t half = unit >> 1;
        away = fraction > half || (fraction == half && (whole & unit) != 0);
        break;
    }
    }
    std::uint16_t signExponent = x.SignExponent;
    if (away) {
        whole += unit;
        if (whole == 0) {  // 2^(e+1)
            whole = IntegerBit;
            ++signExponent;
        }
    }
    return SoftExtended::FromBits(signExponent, whole);
}

}  // namespace soft_extended

SoftExtended::operator long double() const noexcept
{
    using namespace soft_extended;
    if constexpr (LDBL_MANT_DIG == 64) {
        long double value = 0;
        std::memcpy(&value, &Significand, 8);
        std::memcpy(reinterpret_cast<char*>(&value) + 8, &SignExponent, 2);
        return value;
    } else if constexpr (LDBL_MANT_DIG == 113) {
        // Exact: binary128 holds every extended value, denormals among them.
        std::uint64_t words[2];
        const int biased = BiasedExponent();
        std::uint64_t high = static_cast<std::uint64_t>(SignExponent) << 48;
        std::uint64_t fraction = Significand & ~IntegerBit;
        if (biased == 0)
            fraction = Significand;  // m * 2^-16445: in binary128, m * 2^49 on its denormal grid
        if (biased == MaxBiased && (Significand << 1) != 0)
            fraction |= QuietBit;
        high |= fraction >> 15;
        words[0] = fraction << 49;
        words[1] = high;
        long double value = 0;
        std::memcpy(&value, words, 16);
        return value;
    } else {
        return static_cast<double>(*this);
    }
}
