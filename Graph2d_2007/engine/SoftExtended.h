// SPDX-License-Identifier: GPL-3.0-or-later
// The x87 80-bit extended format in software, for builds without an x87
// (WebAssembly) and for checking them natively (ExtendedType.h chooses).
//
// A value is kept exactly as the x87 keeps it in memory: a 64-bit
// significand with an explicit integer bit and a 16-bit word of the sign and
// the exponent (biased by 16383). Every operation gives the x87 result at
// precision control 64 bits and round to nearest even, bit for bit: the
// exact result rounded once to the 64-bit significand, onto the denormal grid
// 2^-16445 below 2^-16382, to an infinity past the range, and an invalid
// operation (0 / 0, inf - inf, the root of a negative number) gives the x87's
// default NaN. The conversion to double is one more rounding, that of an
// x87 store (fstp): to 53 bits, ties to even, onto the denormal grid of the
// doubles. Nothing raises: like the masked x87, faults come back as
// infinities and NaNs, which the callers test where a value is stored.
//
// It converts implicitly from the numbers the program mixes with Extended
// (double, long double, integers) and explicitly to them, so the formulas
// written for long double compile unchanged; the functions of <cmath> and
// <charconv> the program calls on Extended are given as overloads in std
// (the calls are qualified, std::fabs(x), so argument-dependent lookup would
// not find them elsewhere).
#pragma once

#include <bit>
#include <cfloat>
#include <charconv>
#include <concepts>
#include <cstdint>
#include <cstring>
#include <limits>
#include <type_traits>

#include "BitCast.h"

class SoftExtended;

namespace soft_extended {

using U128 = unsigned __int128;

inline constexpr int Bias = 16383;
inline constexpr int MaxBiased = 0x7FFF;  // infinities and NaNs
inline constexpr std::uint64_t IntegerBit = std::uint64_t{1} << 63;
inline constexpr std::uint64_t QuietBit = std::uint64_t{1} << 62;
inline constexpr std::uint16_t SignBit = 0x8000;

// A finite non-zero value taken apart: Significand has its bit 63 set and the
// value is (-1)^Negative * Significand * 2^(Exponent - Bias - 63). Exponent
// may lie outside the format's range (a normalized denormal, an unrounded
// result).
struct Parts {
    bool Negative;
    int Exponent;
    std::uint64_t Significand;
};

constexpr int LeadingZeros(U128 v)
{
    const auto high = static_cast<std::uint64_t>(v >> 64);
    return high != 0 ? std::countl_zero(high) : 64 + std::countl_zero(static_cast<std::uint64_t>(v));
}

}  // namespace soft_extended

class SoftExtended {
public:
    std::uint64_t Significand;   // with the explicit integer bit, as the x87 stores it
    std::uint16_t SignExponent;  // sign in bit 15, then the biased exponent

    SoftExtended() = default;  // uninitialized, as a long double is

    constexpr SoftExtended(double value) noexcept;
    constexpr SoftExtended(float value) noexcept : SoftExtended(static_cast<double>(value)) {}
    constexpr SoftExtended(long double value) noexcept;
    template <std::integral I>
        requires(!std::same_as<I, bool>)
    constexpr SoftExtended(I value) noexcept;

    static constexpr SoftExtended FromBits(std::uint16_t signExponent, std::uint64_t significand) noexcept
    {
        SoftExtended x;
        x.Significand = significand;
        x.SignExponent = signExponent;
        return x;
    }

    explicit constexpr operator double() const noexcept;
    explicit operator long double() const noexcept;  // exact
    // Truncation toward zero, as a C++ conversion; out of the type's range
    // the result is meaningless (callers test the range first).
    template <std::integral I>
        requires(!std::same_as<I, bool>)
    explicit constexpr operator I() const noexcept;

    constexpr bool Negative() const noexcept { return (SignExponent & soft_extended::SignBit) != 0; }
    constexpr int BiasedExponent() const noexcept { return SignExponent & soft_extended::MaxBiased; }
    constexpr bool IsNaN() const noexcept
    {
        return BiasedExponent() == soft_extended::MaxBiased && (Significand << 1) != 0;
    }
    constexpr bool IsInf() const noexcept
    {
        return BiasedExponent() == soft_extended::MaxBiased && (Significand << 1) == 0;
    }
    constexpr bool IsZero() const noexcept { return BiasedExponent() == 0 && Significand == 0; }

    constexpr SoftExtended operator-() const noexcept
    {
        return FromBits(SignExponent ^ soft_extended::SignBit, Significand);
    }
    constexpr SoftExtended operator+() const noexcept { return *this; }

    friend constexpr SoftExtended operator+(SoftExtended a, SoftExtended b) noexcept;
    friend constexpr SoftExtended operator-(SoftExtended a, SoftExtended b) noexcept;
    friend constexpr SoftExtended operator*(SoftExtended a, SoftExtended b) noexcept;
    friend constexpr SoftExtended operator/(SoftExtended a, SoftExtended b) noexcept;

    constexpr SoftExtended& operator+=(SoftExtended b) noexcept { return *this = *this + b; }
    constexpr SoftExtended& operator-=(SoftExtended b) noexcept { return *this = *this - b; }
    constexpr SoftExtended& operator*=(SoftExtended b) noexcept { return *this = *this * b; }
    constexpr SoftExtended& operator/=(SoftExtended b) noexcept { return *this = *this / b; }

    friend constexpr bool operator==(SoftExtended a, SoftExtended b) noexcept
    {
        if (a.IsNaN() || b.IsNaN())
            return false;
        if (a.IsZero() && b.IsZero())
            return true;
        return a.SignExponent == b.SignExponent && a.Significand == b.Significand;
    }
    friend constexpr bool operator<(SoftExtended a, SoftExtended b) noexcept { return Less(a, b); }
    friend constexpr bool operator>(SoftExtended a, SoftExtended b) noexcept { return Less(b, a); }
    friend constexpr bool operator<=(SoftExtended a, SoftExtended b) noexcept { return Less(a, b) || a == b; }
    friend constexpr bool operator>=(SoftExtended a, SoftExtended b) noexcept { return Less(b, a) || a == b; }

private:
    static constexpr bool Less(SoftExtended a, SoftExtended b) noexcept
    {
        if (a.IsNaN() || b.IsNaN() || (a.IsZero() && b.IsZero()))
            return false;
        if (a.Negative() != b.Negative())
            return a.Negative();
        const auto key = [](SoftExtended x) {
            return (static_cast<soft_extended::U128>(x.BiasedExponent()) << 64) | x.Significand;
        };
        return a.Negative() ? key(b) < key(a) : key(a) < key(b);
    }
};

namespace soft_extended {

inline constexpr SoftExtended DefaultNaN = SoftExtended::FromBits(0xFFFF, IntegerBit | QuietBit);

constexpr SoftExtended Infinity(bool negative)
{
    return SoftExtended::FromBits(static_cast<std::uint16_t>((negative ? SignBit : 0) | MaxBiased), IntegerBit);
}

constexpr SoftExtended Zero(bool negative)
{
    return SoftExtended::FromBits(negative ? SignBit : 0, 0);
}

// A NaN operand comes back quiet, as the x87 passes it on.
constexpr SoftExtended Quieted(SoftExtended x)
{
    return SoftExtended::FromBits(x.SignExponent, x.Significand | QuietBit);
}

// x finite and non-zero; a denormal is normalized.
constexpr Parts TakeApart(SoftExtended x)
{
    int exponent = x.BiasedExponent();
    std::uint64_t significand = x.Significand;
    if (exponent == 0) {
        const int shift = std::countl_zero(significand);
        significand <<= shift;
        exponent = 1 - shift;
    }
    return {x.Negative(), exponent, significand};
}

// The one rounding: (-1)^negative * high:low * 2^(exponent - Bias - 63), where
// high has its bit 63 set and low holds the bits below the 64-bit
// significand (any lower ones folded into its bit 0), to nearest even; below
// the normal range onto the denormal grid, past it an infinity.
constexpr SoftExtended Pack(bool negative, int exponent, std::uint64_t high, std::uint64_t low)
{
    const std::uint16_t sign = negative ? SignBit : 0;
    if (exponent <= 0) [[unlikely]] {
        const int shift = 1 - exponent;
        U128 v = (U128{high} << 64) | low;
        if (shift >= 128) {
            v = v != 0 ? 1 : 0;
        } else {
            const bool lost = (v << (128 - shift)) != 0;
            v = (v >> shift) | static_cast<U128>(lost);
        }
        high = static_cast<std::uint64_t>(v >> 64);
        low = static_cast<std::uint64_t>(v);
        exponent = 0;
        if (low > IntegerBit || (low == IntegerBit && (high & 1) != 0)) {
            ++high;
            if (high == IntegerBit)
                exponent = 1;  // rounded up to the least normal value
        }
        return SoftExtended::FromBits(static_cast<std::uint16_t>(sign | exponent), high);
    }
    if (low > IntegerBit || (low == IntegerBit && (high & 1) != 0)) {
        ++high;
        if (high == 0) {
            high = IntegerBit;
            ++exponent;
        }
    }
    if (exponent >= MaxBiased)
        return Infinity(negative);
    return SoftExtended::FromBits(static_cast<std::uint16_t>(sign | exponent), high);
}

constexpr SoftExtended Pack(bool negative, int exponent, U128 v)
{
    return Pack(negative, exponent, static_cast<std::uint64_t>(v >> 64), static_cast<std::uint64_t>(v));
}

// x + y rounded once, both finite and non-zero.
constexpr SoftExtended SumOfParts(Parts x, Parts y)
{
    if (x.Exponent < y.Exponent || (x.Exponent == y.Exponent && x.Significand < y.Significand)) {
        const Parts larger = y;
        y = x;
        x = larger;
    }
    const int distance = x.Exponent - y.Exponent;
    const U128 big = U128{x.Significand} << 64;
    U128 small = U128{y.Significand} << 64;
    // Bits shifted out are kept as one sticky bit: beyond a distance of one
    // the difference loses at most one leading bit, so it stays far below
    // the rounding position.
    if (distance >= 128) {
        small = 1;
    } else if (distance > 0) {
        const bool lost = (small << (128 - distance)) != 0;
        small = (small >> distance) | static_cast<U128>(lost);
    }
    int exponent = x.Exponent;
    U128 r;
    if (x.Negative == y.Negative) {
        r = big + small;
        if (r < big) {  // carried out of the 128 bits
            r = (r >> 1) | (r & 1) | (U128{1} << 127);
            ++exponent;
        }
    } else {
        r = big - small;
        if (r == 0)
            return Zero(false);  // x - x is +0 when rounding to nearest
        const int shift = LeadingZeros(r);
        r <<= shift;
        exponent -= shift;
    }
    return Pack(x.Negative, exponent, r);
}

constexpr SoftExtended Sum(SoftExtended a, SoftExtended b)
{
    if (a.BiasedExponent() == MaxBiased || b.BiasedExponent() == MaxBiased) [[unlikely]] {
        if (a.IsNaN())
            return Quieted(a);
        if (b.IsNaN())
            return Quieted(b);
        if (a.IsInf() && b.IsInf() && a.Negative() != b.Negative())
            return DefaultNaN;
        return a.IsInf() ? a : b;
    }
    if (b.IsZero())
        return a.IsZero() ? Zero(a.Negative() && b.Negative()) : a;
    if (a.IsZero())
        return b;
    return SumOfParts(TakeApart(a), TakeApart(b));
}

constexpr SoftExtended Product(SoftExtended a, SoftExtended b)
{
    const bool negative = a.Negative() != b.Negative();
    if (a.BiasedExponent() == MaxBiased || b.BiasedExponent() == MaxBiased) [[unlikely]] {
        if (a.IsNaN())
            return Quieted(a);
        if (b.IsNaN())
            return Quieted(b);
        if (a.IsZero() || b.IsZero())
            return DefaultNaN;
        return Infinity(negative);
    }
    if (a.IsZero() || b.IsZero())
        return Zero(negative);
    const Parts x = TakeApart(a);
    const Parts y = TakeApart(b);
    U128 p = U128{x.Significand} * y.Significand;
    int exponent = x.Exponent + y.Exponent - Bias;
    if ((p >> 127) != 0)
        ++exponent;
    else
        p <<= 1;
    return Pack(negative, exponent, p);
}

constexpr SoftExtended Quotient(SoftExtended a, SoftExtended b)
{
    const bool negative = a.Negative() != b.Negative();
    if (a.BiasedExponent() == MaxBiased || b.BiasedExponent() == MaxBiased) [[unlikely]] {
        if (a.IsNaN())
            return Quieted(a);
        if (b.IsNaN())
            return Quieted(b);
        if (a.IsInf())
            return b.IsInf() ? DefaultNaN : Infinity(negative);
        return Zero(negative);  // finite / inf
    }
    if (b.IsZero())
        return a.IsZero() ? DefaultNaN : Infinity(negative);
    if (a.IsZero())
        return Zero(negative);
    const Parts x = TakeApart(a);
    const Parts y = TakeApart(b);
    // A 64-bit quotient q in [2^63, 2^64) and its remainder: the remainder
    // against half the divisor decides the rounding (a tie only when it is
    // exactly half).
    int exponent = x.Exponent - y.Exponent + Bias;
    U128 numerator = U128{x.Significand} << 63;
    if (x.Significand < y.Significand) {
        numerator <<= 1;
        --exponent;
    }
    const auto q = static_cast<std::uint64_t>(numerator / y.Significand);
    const auto r = static_cast<std::uint64_t>(numerator % y.Significand);
    const U128 twice = U128{r} << 1;
    std::uint64_t low = 0;
    if (twice > y.Significand)
        low = IntegerBit | 1;
    else if (twice == y.Significand)
        low = IntegerBit;
    else if (r != 0)
        low = 1;
    return Pack(negative, exponent, q, low);
}

constexpr SoftExtended FromDouble(double value)
{
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const std::uint16_t sign = (bits >> 63) != 0 ? SignBit : 0;
    const int exponent = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    if (exponent == 0x7FF) {
        if (fraction == 0)
            return SoftExtended::FromBits(sign | MaxBiased, IntegerBit);
        return SoftExtended::FromBits(sign | MaxBiased, IntegerBit | QuietBit | (fraction << 11));
    }
    if (exponent == 0) {
        if (fraction == 0)
            return SoftExtended::FromBits(sign, 0);
        const int shift = std::countl_zero(fraction);  // the value is fraction * 2^-1074
        return SoftExtended::FromBits(static_cast<std::uint16_t>(sign | (Bias - 1011 - shift)), fraction << shift);
    }
    return SoftExtended::FromBits(static_cast<std::uint16_t>(sign | (exponent - 1023 + Bias)),
                                  ((fraction | (std::uint64_t{1} << 52)) << 11));
}

// The rounding of an x87 store to double.
constexpr double ToDouble(SoftExtended x)
{
    const std::uint64_t sign = static_cast<std::uint64_t>(x.Negative()) << 63;
    const int biased = x.BiasedExponent();
    const std::uint64_t m = x.Significand;
    if (biased == MaxBiased) {
        if ((m << 1) == 0)
            return std::bit_cast<double>(sign | 0x7FF0000000000000u);
        return std::bit_cast<double>(sign | 0x7FF8000000000000u | ((m << 1) >> 12));
    }
    if (biased == 0 || m == 0)  // below 2^-16382: far below half the least double
        return std::bit_cast<double>(sign);
    const int e = biased - Bias;  // the value is m * 2^(e - 63)
    if (e > 1023)
        return std::bit_cast<double>(sign | 0x7FF0000000000000u);
    if (e >= -1022) {
        std::uint64_t q = m >> 11;
        const std::uint64_t rest = m & 0x7FF;
        q += static_cast<std::uint64_t>(rest > 0x400 || (rest == 0x400 && (q & 1) != 0));
        // q is 2^52 .. 2^53; a carry to 2^53 moves into the next binade (or
        // to the infinity).
        return std::bit_cast<double>(sign | ((static_cast<std::uint64_t>(e + 1022) << 52) + q));
    }
    const int shift = -1011 - e;  // in units of 2^-1074 the value is m / 2^shift
    if (shift > 64)
        return std::bit_cast<double>(sign);
    std::uint64_t q = 0;
    std::uint64_t rest = m;
    std::uint64_t half = IntegerBit;
    if (shift < 64) {
        q = m >> shift;
        rest = m & ((std::uint64_t{1} << shift) - 1);
        half = std::uint64_t{1} << (shift - 1);
    }
    q += static_cast<std::uint64_t>(rest > half || (rest == half && (q & 1) != 0));
    return std::bit_cast<double>(sign | q);
}

constexpr SoftExtended FromInteger(bool negative, std::uint64_t magnitude)
{
    if (magnitude == 0)
        return Zero(false);
    const int shift = std::countl_zero(magnitude);
    return SoftExtended::FromBits(static_cast<std::uint16_t>((negative ? SignBit : 0) | (Bias + 63 - shift)),
                                  magnitude << shift);
}

// |x| truncated to a whole number, as 64 bits (2^64 - 1 at most; beyond,
// the x87's integer indefinite 2^63).
constexpr std::uint64_t TruncatedMagnitude(SoftExtended x)
{
    const int e = x.BiasedExponent() - Bias;
    if (x.BiasedExponent() == 0 || e < 0)
        return 0;
    if (e >= 64)
        return IntegerBit;
    return x.Significand >> (63 - e);
}

// A long double constant at compile time, by its own arithmetic (exact in
// the x87 format and in binary128): scaled into [2^63, 2^64), then rounded.
constexpr SoftExtended FromLongDoubleConstant(long double value)
{
    if (value != value)
        return SoftExtended::FromBits(MaxBiased, IntegerBit | QuietBit);
    const bool negative = __builtin_copysignl(1.0L, value) < 0;
    long double a = negative ? -value : value;
    if (a == 0)
        return Zero(negative);
    if (a > LDBL_MAX)
        return Infinity(negative);
    int e = 0;  // a * 2^e is the value
    while (a >= 0x1p64L) {
        a *= 0x1p-32L;
        e += 32;
    }
    while (a < 1) {
        a *= 0x1p32L;
        e -= 32;
    }
    while (a < 0x1p63L) {
        a *= 2;
        --e;
    }
    while (a >= 0x1p64L) {
        a *= 0.5L;
        ++e;
    }
    int biased = e + 63 + Bias;
    if (biased <= 0) {  // onto the denormal grid, 2^-16445
        for (int k = biased; k <= 0; ++k)
            a *= 0.5L;
        biased = 0;
    }
    std::uint64_t q = static_cast<std::uint64_t>(a);
    const long double rest = a - static_cast<long double>(q);
    if (rest > 0.5L || (rest == 0.5L && (q & 1) != 0)) {
        ++q;
        if (q == 0) {
            q = IntegerBit;
            ++biased;
        } else if (biased == 0 && q == IntegerBit) {
            biased = 1;
        }
    }
    if (biased >= MaxBiased)
        return Infinity(negative);
    return SoftExtended::FromBits(static_cast<std::uint16_t>((negative ? SignBit : 0) | biased), q);
}

// The same at run time, from the bits (inline, so that a literal folds).
inline SoftExtended FromLongDoubleBits(long double value) noexcept
{
    if constexpr (LDBL_MANT_DIG == 64) {
        SoftExtended x;
        std::memcpy(&x.Significand, &value, 8);
        std::memcpy(&x.SignExponent, reinterpret_cast<const char*>(&value) + 8, 2);
        return x;
    } else if constexpr (LDBL_MANT_DIG == 113) {
        // binary128: the same exponent field and bias, a 112-bit fraction.
        std::uint64_t words[2];
        std::memcpy(words, &value, 16);
        const std::uint64_t low = words[0];
        const std::uint64_t high = words[1];
        const std::uint16_t signExponent = static_cast<std::uint16_t>(high >> 48);
        const bool negative = (signExponent & SignBit) != 0;
        const int biased = signExponent & MaxBiased;
        const std::uint64_t fractionHigh = high & ((std::uint64_t{1} << 48) - 1);
        if (biased == MaxBiased) {
            if ((fractionHigh | low) == 0)
                return Infinity(negative);
            return SoftExtended::FromBits(signExponent, IntegerBit | QuietBit | (fractionHigh << 15) | (low >> 49));
        }
        if (biased == 0 && (fractionHigh | low) == 0)
            return Zero(negative);
        // The 113-bit significand as significand * 2^49 + the 49 bits below,
        // rounded once; a denormal of binary128 lies below the least normal
        // extended value, whose grid is 2^-16445, 2^49 times its own.
        const std::uint64_t significand = (biased == 0 ? 0 : IntegerBit) | (fractionHigh << 15) | (low >> 49);
        const std::uint64_t below = low << 15;
        if (biased == 0) {
            std::uint64_t q = (fractionHigh << 15) | (low >> 49);
            if (below > IntegerBit || (below == IntegerBit && (q & 1) != 0))
                ++q;
            return SoftExtended::FromBits(static_cast<std::uint16_t>((negative ? SignBit : 0) | (q >> 63)), q);
        }
        return Pack(negative, biased, significand, below);
    } else {
        return FromDouble(static_cast<double>(value));
    }
}

}  // namespace soft_extended

constexpr SoftExtended::SoftExtended(double value) noexcept : SoftExtended(soft_extended::FromDouble(value)) {}

constexpr SoftExtended::SoftExtended(long double value) noexcept
    : SoftExtended(std::is_constant_evaluated() ? soft_extended::FromLongDoubleConstant(value)
                                                : soft_extended::FromLongDoubleBits(value))
{
}

template <std::integral I>
    requires(!std::same_as<I, bool>)
constexpr SoftExtended::SoftExtended(I value) noexcept
    : SoftExtended(soft_extended::FromInteger(value < 0, value < 0 ? 0 - static_cast<std::uint64_t>(value)
                                                                  : static_cast<std::uint64_t>(value)))
{
}

constexpr SoftExtended::operator double() const noexcept
{
    return soft_extended::ToDouble(*this);
}

template <std::integral I>
    requires(!std::same_as<I, bool>)
constexpr SoftExtended::operator I() const noexcept
{
    const std::uint64_t magnitude = soft_extended::TruncatedMagnitude(*this);
    return static_cast<I>(Negative() ? 0 - magnitude : magnitude);
}

constexpr SoftExtended operator+(SoftExtended a, SoftExtended b) noexcept
{
    return soft_extended::Sum(a, b);
}

constexpr SoftExtended operator-(SoftExtended a, SoftExtended b) noexcept
{
    return soft_extended::Sum(a, -b);
}

constexpr SoftExtended operator*(SoftExtended a, SoftExtended b) noexcept
{
    return soft_extended::Product(a, b);
}

constexpr SoftExtended operator/(SoftExtended a, SoftExtended b) noexcept
{
    return soft_extended::Quotient(a, b);
}

// The functions of <cmath> the program takes on Extended, with the results
// of glibc's long double functions: exact for all of these but log2 (here
// rounded once from a wider result) and pow (the x87 steps glibc takes,
// each as SoftElementary.h forms it).
namespace soft_extended {

SoftExtended SquareRoot(SoftExtended x) noexcept;
SoftExtended Remainder(SoftExtended x, SoftExtended y) noexcept;  // fmod
SoftExtended Scaled(SoftExtended x, int exponent) noexcept;      // ldexp, rounded once
SoftExtended Fraction(SoftExtended x, int* exponent) noexcept;   // frexp

enum class Whole { Down, Up, TowardZero, NearestEven };
SoftExtended ToWhole(SoftExtended x, Whole direction) noexcept;

SoftExtended BinaryLogarithm(SoftExtended x) noexcept;             // SoftElementary.cpp
SoftExtended Power(SoftExtended x, SoftExtended y) noexcept;       // SoftElementary.cpp

// Text (SoftText.cpp). The decimal text of x in scientific form with
// `precision` digits after the point, correctly rounded, ties to even.
std::to_chars_result ScientificText(char* first, char* last, SoftExtended x, int precision);
// Decimal (or "inf", "nan") text to the nearest value, as std::from_chars
// reads a long double with glibc: an exponent only with `scientific`, none
// with `fixed`; out of range (an overflow, or an inexact value below the
// least normal one: a denormal or 0 from digits that are not all 0) it
// reports result_out_of_range and leaves `value` alone.
std::from_chars_result ReadDecimal(const char* first, const char* last, SoftExtended& value,
                                   std::chars_format format);

}  // namespace soft_extended

namespace std {

template <>
class numeric_limits<SoftExtended> {
public:
    static constexpr bool is_specialized = true;
    static constexpr bool is_signed = true;
    static constexpr bool is_integer = false;
    static constexpr bool is_exact = false;
    static constexpr bool has_infinity = true;
    static constexpr bool has_quiet_NaN = true;
    static constexpr bool has_signaling_NaN = true;
    static constexpr float_denorm_style has_denorm = denorm_present;
    static constexpr bool has_denorm_loss = false;
    static constexpr float_round_style round_style = round_to_nearest;
    static constexpr bool is_iec559 = true;
    static constexpr bool is_bounded = true;
    static constexpr bool is_modulo = false;
    static constexpr int digits = 64;
    static constexpr int digits10 = 18;
    static constexpr int max_digits10 = 21;
    static constexpr int radix = 2;
    static constexpr int min_exponent = -16381;
    static constexpr int min_exponent10 = -4931;
    static constexpr int max_exponent = 16384;
    static constexpr int max_exponent10 = 4932;
    static constexpr bool traps = false;
    static constexpr bool tinyness_before = false;

    static constexpr SoftExtended min() noexcept { return SoftExtended::FromBits(1, soft_extended::IntegerBit); }
    static constexpr SoftExtended max() noexcept { return SoftExtended::FromBits(0x7FFE, ~std::uint64_t{0}); }
    static constexpr SoftExtended lowest() noexcept { return -max(); }
    static constexpr SoftExtended epsilon() noexcept
    {
        return SoftExtended::FromBits(soft_extended::Bias - 63, soft_extended::IntegerBit);
    }
    static constexpr SoftExtended round_error() noexcept { return 0.5; }
    static constexpr SoftExtended infinity() noexcept { return soft_extended::Infinity(false); }
    static constexpr SoftExtended quiet_NaN() noexcept
    {
        return SoftExtended::FromBits(soft_extended::MaxBiased, soft_extended::IntegerBit | soft_extended::QuietBit);
    }
    static constexpr SoftExtended signaling_NaN() noexcept
    {
        return SoftExtended::FromBits(soft_extended::MaxBiased, soft_extended::IntegerBit | 1);
    }
    static constexpr SoftExtended denorm_min() noexcept { return SoftExtended::FromBits(0, 1); }
};

// Overloads of the standard functions for the software type: the program
// calls them qualified, as std::fabs(x), written for long double.
constexpr bool isnan(SoftExtended x) noexcept { return x.IsNaN(); }
constexpr bool isinf(SoftExtended x) noexcept { return x.IsInf(); }
constexpr bool isfinite(SoftExtended x) noexcept { return x.BiasedExponent() != soft_extended::MaxBiased; }
constexpr bool signbit(SoftExtended x) noexcept { return x.Negative(); }
constexpr SoftExtended fabs(SoftExtended x) noexcept
{
    return SoftExtended::FromBits(x.SignExponent & ~soft_extended::SignBit, x.Significand);
}
constexpr SoftExtended abs(SoftExtended x) noexcept { return fabs(x); }
inline SoftExtended floor(SoftExtended x) noexcept { return soft_extended::ToWhole(x, soft_extended::Whole::Down); }
inline SoftExtended ceil(SoftExtended x) noexcept { return soft_extended::ToWhole(x, soft_extended::Whole::Up); }
inline SoftExtended trunc(SoftExtended x) noexcept
{
    return soft_extended::ToWhole(x, soft_extended::Whole::TowardZero);
}
inline SoftExtended nearbyint(SoftExtended x) noexcept
{
    return soft_extended::ToWhole(x, soft_extended::Whole::NearestEven);
}
inline SoftExtended rint(SoftExtended x) noexcept { return nearbyint(x); }
inline SoftExtended sqrt(SoftExtended x) noexcept { return soft_extended::SquareRoot(x); }
inline SoftExtended fmod(SoftExtended x, SoftExtended y) noexcept { return soft_extended::Remainder(x, y); }
inline SoftExtended ldexp(SoftExtended x, int exponent) noexcept { return soft_extended::Scaled(x, exponent); }
inline SoftExtended scalbn(SoftExtended x, int exponent) noexcept { return soft_extended::Scaled(x, exponent); }
inline SoftExtended frexp(SoftExtended x, int* exponent) noexcept { return soft_extended::Fraction(x, exponent); }
inline SoftExtended log2(SoftExtended x) noexcept { return soft_extended::BinaryLogarithm(x); }
inline SoftExtended pow(SoftExtended x, SoftExtended y) noexcept { return soft_extended::Power(x, y); }

inline to_chars_result to_chars(char* first, char* last, SoftExtended value, chars_format format, int precision)
{
    if (format != chars_format::scientific)
        return {last, errc::invalid_argument};  // only the form the program writes
    return soft_extended::ScientificText(first, last, value, precision);
}

inline from_chars_result from_chars(const char* first, const char* last, SoftExtended& value,
                                    chars_format format = chars_format::general)
{
    return soft_extended::ReadDecimal(first, last, value, format);
}

}  // namespace std
