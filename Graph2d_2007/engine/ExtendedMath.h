// SPDX-License-Identifier: GPL-3.0-or-later
// Extended-precision elementary functions of the evaluator.
//
// Logarithm, exponential and arc tangent are formed with the x87 instructions
// that define their results: fyl2x (ln v = ln 2 * log2 v), frndint, f2xm1 and
// fscale (e^u = 2^f * 2^i with t = u * log2 e, i = nearest integer of t,
// 2^f = (2^f - 1) + 1), and fpatan (arctan q against 1). GCC-style inline
// assembly keeps each one exactly that instruction sequence, with the x87
// precision control left at its default 64-bit significand and every x87
// exception masked, so overflow and underflow come back as inf and 0 and the
// callers test them where the result is stored. Sine and cosine are the C
// library's (see TrigCache).
//
// With Extended in software (ExtendedType.h) each instruction and C library
// function is its software counterpart (SoftElementary.h), and the sequences
// built of them, ExpExtended among them, stay as they are.
#pragma once

#include <cmath>

#include "RealArith.h"

#if EXTENDED_IN_SOFTWARE
#include "SoftElementary.h"
#elif !defined(__x86_64__) && !defined(__i386__)
#error "the evaluator forms its results with x87 instructions"
#endif

inline constexpr Extended Log2E = 1.44269504088896340735992468100189214L;
inline constexpr Extended PiHalfExtended = 1.57079632679489661923132169163975144L;
// From this magnitude on, sine and cosine are 0 (beyond the x87 reduction range).
inline constexpr double TrigLimit = 0x1p63;

#if EXTENDED_IN_SOFTWARE
// Read by the target's own long double (binary128 in WebAssembly) and
// rounded again to 64 bits: still the bits the x87 reads.
static_assert(Log2E.Significand == 0xB8AA3B295C17F0BCu && Log2E.SignExponent == 0x3FFF);
static_assert(PiHalfExtended.Significand == 0xC90FDAA22168C235u && PiHalfExtended.SignExponent == 0x3FFF);
#endif

#if EXTENDED_IN_SOFTWARE

inline Extended LnExtended(Extended v)
{
    return soft_extended::NaturalLogarithm(v);
}

inline Extended ArctanExtended(Extended q)
{
    return soft_extended::Arctangent(q);
}

inline Extended RoundToIntegral(Extended t)
{
    return std::nearbyint(t);
}

inline Extended TwoToFractionMinusOne(Extended f)
{
    return soft_extended::TwoToPowerMinusOne(f);
}

inline Extended ScaleByPowerOfTwo(Extended value, Extended exponent)
{
    return soft_extended::ScaleByPower(value, exponent);
}

inline Extended SineExtended(double v)
{
    return soft_extended::Sine(v);
}

inline Extended CosineExtended(double v)
{
    return soft_extended::Cosine(v);
}

inline void SineCosineExtended(double v, Extended& sine, Extended& cosine)
{
    soft_extended::SineCosine(v, sine, cosine);
}

#else

// ln 2 * log2 v, for v > 0.
inline Extended LnExtended(Extended v)
{
    Extended result;
    __asm__("fldln2\n\t"
            "fxch\n\t"
            "fyl2x"
            : "=t"(result)
            : "0"(v));
    return result;
}

// arctan(q / 1).
inline Extended ArctanExtended(Extended q)
{
    Extended result;
    __asm__("fld1\n\t"
            "fpatan"
            : "=t"(result)
            : "0"(q));
    return result;
}

inline Extended RoundToIntegral(Extended t)  // to nearest, ties to even
{
    Extended result;
    __asm__("frndint" : "=t"(result) : "0"(t));
    return result;
}

inline Extended TwoToFractionMinusOne(Extended f)  // 2^f - 1 for |f| <= 1
{
    Extended result;
    __asm__("f2xm1" : "=t"(result) : "0"(f));
    return result;
}

inline Extended ScaleByPowerOfTwo(Extended value, Extended exponent)  // value * 2^exponent
{
    Extended result;
    __asm__("fscale" : "=t"(result) : "0"(value), "u"(exponent));
    return result;
}

inline Extended SineExtended(double v)
{
    return sinl(v);
}

inline Extended CosineExtended(double v)
{
    return cosl(v);
}

inline void SineCosineExtended(double v, Extended& sine, Extended& cosine)
{
    sincosl(v, &sine, &cosine);
}

#endif

// e^u; beyond the extended range it is inf (the caller's store raises the
// overflow), far below it 0.
inline Extended ExpExtended(Extended u)
{
    const Extended t = u * Log2E;
    const Extended i = RoundToIntegral(t);
    const Extended f = t - i;  // exact, |f| <= 1/2
    return ScaleByPowerOfTwo(TwoToFractionMinusOne(f) + 1.0L, i);
}

// StoreReal for the hot paths: the value stays in its x87 register and is
// rounded by one 64-bit store; only a non-finite result (always a fault) goes
// through StoreReal, which raises the matching kind.
[[gnu::always_inline]] inline double StoreFast(Extended value)
{
    const double stored = static_cast<double>(value);
    if (!std::isfinite(stored)) [[unlikely]]
        return StoreReal(value);
    return stored;
}

// The test of a stored value: a NaN is the invalid-operation fault,
// anything else non-finite the overflow, as in StoreReal.
[[gnu::always_inline]] inline void TestStored(double stored)
{
    if (!std::isfinite(stored)) [[unlikely]]
        RaiseFloatFault(std::isnan(stored) ? FloatFaultKind::InvalidOperation : FloatFaultKind::Overflow);
}

// The same store straight into its slot: one rounding fstp, and the value
// is tested from the slot.
[[gnu::always_inline]] inline void StoreInto(double& slot, Extended value)
{
#if EXTENDED_IN_SOFTWARE
    slot = static_cast<double>(value);
#else
    __asm__("fstpl %0" : "=m"(slot) : "t"(value) : "st");
#endif
    TestStored(slot);
}

// The same store without the test, for a value known to fit.
[[gnu::always_inline]] inline void StoreUntested(double& slot, Extended value)
{
#if EXTENDED_IN_SOFTWARE
    slot = static_cast<double>(value);
#else
    __asm__("fstpl %0" : "=m"(slot) : "t"(value) : "st");
#endif
}
