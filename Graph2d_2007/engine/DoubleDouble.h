// SPDX-License-Identifier: GPL-3.0-or-later
// Double-double arithmetic: an unevaluated sum hi + lo of two doubles with
// |lo| <= ulp(hi) / 2, about 106 significant bits. The software elementary
// functions form their results in it and round once to the 64-bit
// significand. Products use Dekker's splitting rather than a fused
// multiply-add: WebAssembly has none, and the native software build must
// form the very same bits. Needs round to nearest and no contraction
// (-ffp-contract=off, as the whole program is built). Private to the engine.
#pragma once

struct DoubleDouble {
    double Hi;
    double Lo;
};

namespace double_double {

// a + b exactly, as sum and error.
constexpr DoubleDouble TwoSum(double a, double b)
{
    const double s = a + b;
    const double bb = s - a;
    const double e = (a - (s - bb)) + (b - bb);
    return {s, e};
}

// The same for |a| >= |b| (or a = 0).
constexpr DoubleDouble FastTwoSum(double a, double b)
{
    const double s = a + b;
    return {s, b - (s - a)};
}

// a = hi + lo, each of at most 26 significant bits (Veltkamp). Exact for
// |a| < 2^996.
constexpr DoubleDouble Split(double a)
{
    const double c = 134217729.0 * a;  // 2^27 + 1
    const double hi = c - (c - a);
    return {hi, a - hi};
}

// a * b exactly (Dekker), while neither overflows in the splitting nor the
// error underflows.
constexpr DoubleDouble TwoProduct(double a, double b)
{
    const double p = a * b;
    const DoubleDouble x = Split(a);
    const DoubleDouble y = Split(b);
    const double e = ((x.Hi * y.Hi - p) + x.Hi * y.Lo + x.Lo * y.Hi) + x.Lo * y.Lo;
    return {p, e};
}

constexpr DoubleDouble Add(DoubleDouble a, DoubleDouble b)
{
    DoubleDouble s = TwoSum(a.Hi, b.Hi);
    const DoubleDouble t = TwoSum(a.Lo, b.Lo);
    s = FastTwoSum(s.Hi, s.Lo + t.Hi);
    return FastTwoSum(s.Hi, s.Lo + t.Lo);
}

constexpr DoubleDouble Add(DoubleDouble a, double b)
{
    const DoubleDouble s = TwoSum(a.Hi, b);
    return FastTwoSum(s.Hi, s.Lo + a.Lo);
}

constexpr DoubleDouble Negate(DoubleDouble a)
{
    return {-a.Hi, -a.Lo};
}

constexpr DoubleDouble Subtract(DoubleDouble a, DoubleDouble b)
{
    return Add(a, Negate(b));
}

constexpr DoubleDouble Multiply(DoubleDouble a, DoubleDouble b)
{
    const DoubleDouble p = TwoProduct(a.Hi, b.Hi);
    return FastTwoSum(p.Hi, p.Lo + (a.Hi * b.Lo + a.Lo * b.Hi));
}

constexpr DoubleDouble Multiply(DoubleDouble a, double b)
{
    const DoubleDouble p = TwoProduct(a.Hi, b);
    return FastTwoSum(p.Hi, p.Lo + a.Lo * b);
}

// a / b by one correction of the double quotient.
constexpr DoubleDouble Divide(DoubleDouble a, DoubleDouble b)
{
    const double q1 = a.Hi / b.Hi;
    const DoubleDouble r = Subtract(a, Multiply(b, q1));
    const double q2 = r.Hi / b.Hi;
    const DoubleDouble r2 = Subtract(r, Multiply(b, q2));
    const double q3 = r2.Hi / b.Hi;
    return Add(FastTwoSum(q1, q2), q3);
}

}  // namespace double_double
