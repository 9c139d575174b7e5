// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers of the tests that hold the software extended format against the
// x87: the x87's own results (its long double arithmetic and its
// instructions, here rather than through the engine, which may itself be
// built on the software form), exact comparison, and random operands.
#pragma once

#include <QtTest>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "SoftExtended.h"

static_assert(LDBL_MANT_DIG == 64, "these tests hold the software form against the x87's long double");

inline long double LongDoubleOf(std::uint16_t signExponent, std::uint64_t significand)
{
    long double v = 0;
    std::memcpy(&v, &significand, 8);
    std::memcpy(reinterpret_cast<char*>(&v) + 8, &signExponent, 2);
    return v;
}

inline SoftExtended SoftOf(long double v)
{
    return soft_extended::FromLongDoubleBits(v);
}

// The same bits, any NaN matching any NaN.
inline bool SameValue(SoftExtended soft, long double x87)
{
    if (std::isnan(x87))
        return soft.IsNaN();
    const SoftExtended bits = SoftOf(x87);
    return soft.Significand == bits.Significand && soft.SignExponent == bits.SignExponent;
}

inline QByteArray Shown(long double v)
{
    char text[64];
    std::snprintf(text, sizeof text, "%La", v);
    return text;
}

inline QByteArray Shown(SoftExtended v)
{
    return Shown(static_cast<long double>(v));
}

// Distance in units of the last place of the 64-bit significand between two
// finite values of the same sign (the x87's ordering of the bits).
inline long long UlpsApart(long double a, long double b)
{
    const SoftExtended x = SoftOf(a);
    const SoftExtended y = SoftOf(b);
    if (x.Negative() != y.Negative())
        return a == b ? 0 : 1LL << 62;
    const auto key = [](SoftExtended v) {
        return (static_cast<__int128>(v.BiasedExponent()) << 63) + static_cast<__int128>(v.Significand & ~(1ULL << 63));
    };
    __int128 d = key(x) - key(y);
    if (d < 0)
        d = -d;
    return d > (1LL << 62) ? 1LL << 62 : static_cast<long long>(d);
}

// The x87 instructions the evaluator's functions are made of.
inline long double X87Ln(long double v)
{
    long double r;
    __asm__("fldln2\n\tfxch\n\tfyl2x" : "=t"(r) : "0"(v));
    return r;
}

// y log2 x, rounded once.
inline long double X87Log2Times(long double x, long double y)
{
    long double r;
    __asm__("fyl2x" : "=t"(r) : "0"(x), "u"(y) : "st(1)");
    return r;
}

inline long double X87Arctan(long double q)
{
    long double r;
    __asm__("fld1\n\tfpatan" : "=t"(r) : "0"(q));
    return r;
}

inline long double X87TwoToPowerMinusOne(long double f)
{
    long double r;
    __asm__("f2xm1" : "=t"(r) : "0"(f));
    return r;
}

inline long double X87Scale(long double v, long double e)
{
    long double r;
    __asm__("fscale" : "=t"(r) : "0"(v), "u"(e));
    return r;
}

// Random extended operands (xorshift64*, the same on every run): every
// exponent region (denormal, tiny, around 1, huge, at the edges of the
// range), significands random, with few bits, or with the low bits of a
// double clear.
class RandomExtended {
public:
    explicit RandomExtended(std::uint64_t seed) : state_(seed | 1) {}

    std::uint64_t Next()
    {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return state_ * 0x2545F4914F6CDD1Du;
    }

    long double Value()
    {
        const std::uint64_t choice = Next() % 16;
        int exponent = 0;
        if (choice < 8)
            exponent = 16383 + static_cast<int>(Next() % 129) - 64;  // around 1
        else if (choice < 10)
            exponent = static_cast<int>(Next() % 0x7FFF);  // anywhere, 0 a denormal
        else if (choice < 11)
            exponent = static_cast<int>(Next() % 70);  // the bottom of the range
        else if (choice < 12)
            exponent = 0x7FFE - static_cast<int>(Next() % 70);  // the top
        else
            exponent = 16383 + static_cast<int>(Next() % 2200) - 1100;  // the doubles' range and a bit
        std::uint64_t significand = Next();
        switch (Next() % 4) {
        case 0:
            significand &= ~std::uint64_t{0x7FF};  // a double's bits
            break;
        case 1:
            significand &= ~((std::uint64_t{1} << (Next() % 64)) - 1);  // few bits
            break;
        default:
            break;
        }
        if (exponent != 0)
            significand |= std::uint64_t{1} << 63;
        else
            significand &= ~(std::uint64_t{1} << 63);
        const std::uint16_t sign = (Next() & 1) != 0 ? 0x8000 : 0;
        return LongDoubleOf(static_cast<std::uint16_t>(sign | exponent), significand);
    }

    // A neighbour of v, a few units of its last place away (cancellations).
    long double Near(long double v)
    {
        SoftExtended s = SoftOf(v);
        s.Significand += Next() % 5;
        s.Significand -= Next() % 5;
        if (s.BiasedExponent() != 0)
            s.Significand |= std::uint64_t{1} << 63;
        else
            s.Significand &= ~(std::uint64_t{1} << 63);  // no pseudo-denormal: arithmetic never makes one
        return static_cast<long double>(s);
    }

private:
    std::uint64_t state_;
};
