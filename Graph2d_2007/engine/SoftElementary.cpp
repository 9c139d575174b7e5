// SPDX-License-Identifier: GPL-3.0-or-later
// The software elementary functions. Each reduces its argument exactly (or
// to far more bits than it keeps), takes a short series around a point of a
// table (SoftTables.h), sums in double-double with the small tail terms in
// plain doubles, and rounds the double-double once.
#include "SoftElementary.h"

#include <bit>
#include <cmath>

#include "DoubleDouble.h"
#include "SoftTables.h"

namespace soft_extended {

namespace {

using namespace double_double;
using namespace soft_tables;

constexpr DoubleDouble Dd(double v)
{
    return {v, 0.0};
}

// (v.Hi + v.Lo) * 2^scale rounded once to the extended format.
SoftExtended RoundScaled(DoubleDouble v, int scale)
{
    if (v.Hi == 0.0)
        return Zero(std::signbit(v.Hi));
    Parts hi = TakeApart(FromDouble(v.Hi));
    hi.Exponent += scale;
    if (v.Lo == 0.0)
        return Pack(hi.Negative, hi.Exponent, hi.Significand, 0);
    Parts lo = TakeApart(FromDouble(v.Lo));
    lo.Exponent += scale;
    return SumOfParts(hi, lo);
}

// |x| = (result.Hi + result.Lo) * 2^scale with result in [1, 2): the 64-bit
// significand split 53 + 11. x finite and non-zero.
DoubleDouble Unscaled(SoftExtended x, int& scale)
{
    const Parts p = TakeApart(x);
    scale = p.Exponent - Bias;
    return {static_cast<double>(p.Significand >> 11) * 0x1p-52, static_cast<double>(p.Significand & 0x7FF) * 0x1p-63};
}

// 2^k for -1022 <= k <= 1023.
double PowerOfTwo(int k)
{
    return std::bit_cast<double>(static_cast<std::uint64_t>(k + 1023) << 52);
}

// |x| as a double-double, for 2^-900 < |x| < 2^900.
DoubleDouble Magnitude(SoftExtended x)
{
    int scale = 0;
    const DoubleDouble m = Unscaled(x, scale);
    const double factor = PowerOfTwo(scale);
    return {m.Hi * factor, m.Lo * factor};
}

// The x87's ln 2, 0xB17217F7D1CF79AC * 2^-64.
constexpr std::uint64_t Ln2Bits = 0xB17217F7D1CF79ACu;
constexpr DoubleDouble Ln2Of64Bits = {static_cast<double>(Ln2Bits >> 11) * 0x1p-53,
                                      static_cast<double>(Ln2Bits & 0x7FF) * 0x1p-64};

// log2 v for a finite v > 0: k + log2(c) + 2 atanh(s) / ln 2 with
// v = m 2^k, c = 1 + j/32 the nearest table point to m and s = (m - c)/(m + c),
// |s| <= 2^-7. The sum is exact where it cancels (v near 1).
DoubleDouble Log2(SoftExtended v)
{
    int k = 0;
    const DoubleDouble m = Unscaled(v, k);
    const int j = static_cast<int>(std::nearbyint((m.Hi - 1.0) * 32.0));
    const double c = 1.0 + j / 32.0;
    const DoubleDouble numerator = Add(Dd(m.Hi - c), m.Lo);  // m.Hi - c is exact
    const DoubleDouble denominator = Add(m, c);
    const DoubleDouble s = Divide(numerator, denominator);
    const DoubleDouble z = Multiply(s, s);
    const double zh = z.Hi;
    // atanh(s) = s (1 + z/3 + z^2/5 + z^3/7 + ...), z^3/7 < 2^-44 onwards in doubles.
    const double tail = zh * zh * zh * (1.0 / 7 + zh * (1.0 / 9 + zh * (1.0 / 11 + zh * (1.0 / 13))));
    const DoubleDouble inner = Add(Inverse3, Multiply(z, Inverse5));
    const DoubleDouble series = Add(Add(Multiply(z, inner), tail), 1.0);
    const DoubleDouble a = Multiply(Multiply(s, series), DoubleDouble{2 * InverseLn2.Hi, 2 * InverseLn2.Lo});
    return Add(Add(Log2OfStep[j], static_cast<double>(k)), a);
}

// 2^f - 1 for |f| <= 1/2 (or a little more): with j/32 the nearest table
// point, 2^f - 1 = T + E + T E, T = 2^(j/32) - 1 and E = expm1((f - j/32) ln 2).
DoubleDouble Exp2MinusOne(DoubleDouble f)
{
    const int j = static_cast<int>(std::nearbyint(f.Hi * 32.0));
    const DoubleDouble r = Add(f, -j / 32.0);
    const DoubleDouble y = Multiply(r, Ln2);
    const double yh = y.Hi;
    // expm1(y) = y + y^2 (1/2 + y/6 + y^2/24 + y^3/120 + y^4 D), |y| < 2^-6.5:
    // from y^5/720 on in doubles.
    const double d =
        1.0 / 720 + yh * (1.0 / 5040 + yh * (1.0 / 40320 + yh * (1.0 / 362880 + yh * (1.0 / 3628800 + yh / 39916800))));
    DoubleDouble t = Add(Inverse120, Multiply(y, d));
    t = Add(Inverse24, Multiply(y, t));
    t = Add(Inverse6, Multiply(y, t));
    t = Add(Dd(0.5), Multiply(y, t));
    const DoubleDouble e = Add(y, Multiply(Multiply(y, y), t));
    if (j == 0)
        return e;
    const DoubleDouble table = Exp2MinusOneOfStep[j + 16];
    return Add(Add(Multiply(table, e), e), table);
}

// arctan x for 0 <= x <= 1: arctan(c) + arctan((x - c)/(1 + x c)), c = j/32.
DoubleDouble ArctanOfReduced(DoubleDouble x)
{
    const int j = static_cast<int>(std::nearbyint(x.Hi * 32.0));
    const double c = j / 32.0;
    const DoubleDouble t = j == 0 ? x : Divide(Add(x, -c), Add(Multiply(x, c), 1.0));
    const DoubleDouble z = Multiply(t, t);
    const double zh = z.Hi;
    // arctan t = t (1 - z/3 + z^2/5 - z^3/7 + z^4 D), |t| <= 2^-6: from z^4/9 on in doubles.
    const double d = 1.0 / 9 - zh * (1.0 / 11 - zh * (1.0 / 13 - zh * (1.0 / 15 - zh / 17)));
    DoubleDouble p = Add(Negate(Inverse7), Multiply(z, d));
    p = Add(Inverse5, Multiply(z, p));
    p = Add(Negate(Inverse3), Multiply(z, p));
    p = Add(Multiply(z, p), 1.0);
    return Add(ArctanOfStep[j], Multiply(t, p));
}

struct SineAndCosine {
    DoubleDouble Sin;
    DoubleDouble Cos;
};

// sin r and cos r for 0 <= r <= pi/4 (and a hair): r = a + s with a = j/32,
// sin(a + s) = sin a + (sin a (cos s - 1) + cos a sin s) and the like, the
// series of sin s and cos s - 1 for |s| <= 1/64 with their tails in doubles.
SineAndCosine OfReduced(DoubleDouble r)
{
    const int j = static_cast<int>(std::nearbyint(r.Hi * 32.0));
    const DoubleDouble s = Add(r, -j / 32.0);
    const DoubleDouble z = Multiply(s, s);
    const double zh = z.Hi;
    const double sineTail = zh * (-1.0 / 5040 + zh * (1.0 / 362880 - zh / 39916800));
    DoubleDouble u = Add(Inverse120, sineTail);
    u = Add(Negate(Inverse6), Multiply(z, u));
    const DoubleDouble sine = Add(s, Multiply(Multiply(s, z), u));
    const double cosineTail = zh * (-1.0 / 720 + zh * (1.0 / 40320 + zh * (-1.0 / 3628800 + zh / 479001600)));
    DoubleDouble v = Add(Inverse24, cosineTail);
    v = Add(Dd(-0.5), Multiply(z, v));
    const DoubleDouble cosineLess1 = Multiply(z, v);
    if (j == 0)
        return {sine, Add(cosineLess1, 1.0)};
    const DoubleDouble sa = SinOfStep[j];
    const DoubleDouble ca = CosOfStep[j];
    return {Add(sa, Add(Multiply(sa, cosineLess1), Multiply(ca, sine))),
            Add(ca, Subtract(Multiply(ca, cosineLess1), Multiply(sa, sine)))};
}

using U128 = unsigned __int128;

// The 64 bits of a 384-bit number (six words, least significant first) from
// bit `position` up.
std::uint64_t BitsFrom(const std::uint64_t (&words)[6], int position)
{
    const int word = position / 64;
    const int shift = position % 64;
    const std::uint64_t low = words[word] >> shift;
    if (shift == 0 || word + 1 >= 6)
        return low;
    return low | (words[word + 1] << (64 - shift));
}

struct Reduced {
    int Quadrant;    // v = Quadrant pi/2 + R, mod 2 pi
    DoubleDouble R;  // |R| <= pi/4
};

// |v| >= pi/4, |v| < 2^63: v 2/pi from 320 bits of 2/pi, in whole numbers
// (v = M 2^E with M < 2^53 and E <= 10, so the product's error stays below
// 2^-250 quadrants); the nearest whole number of quadrants and 192 bits of
// the rest, which stays at least some 120 bits long after the cancellation
// any double below 2^63 can bring.
Reduced Reduce(double v)
{
    const auto bits = std::bit_cast<std::uint64_t>(v);  // normal: v >= pi/4
    const std::uint64_t significand = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    const int exponent = static_cast<int>(bits >> 52) - 1075;  // v = significand 2^exponent
    std::uint64_t product[6] = {};
    std::uint64_t carry = 0;
    for (int k = 0; k < 5; ++k) {
        const U128 t = U128{significand} * TwoOverPi[4 - k] + carry;
        product[k] = static_cast<std::uint64_t>(t);
        carry = static_cast<std::uint64_t>(t >> 64);
    }
    product[5] = carry;
    const int point = 320 - exponent;  // v 2/pi = product 2^-point
    int quadrant = static_cast<int>(BitsFrom(product, point) & 3);
    std::uint64_t f2 = BitsFrom(product, point - 64);
    std::uint64_t f1 = BitsFrom(product, point - 128);
    std::uint64_t f0 = BitsFrom(product, point - 192);
    bool negative = false;
    if ((f2 >> 63) != 0) {  // a half quadrant or more: from the next one back
        ++quadrant;
        negative = true;
        f0 = ~f0;
        f1 = ~f1;
        f2 = ~f2;
        if (++f0 == 0 && ++f1 == 0)
            ++f2;
    }
    // The 192-bit fraction f2:f1:f0 / 2^192, normalized.
    int zeros = 0;
    while (f2 == 0 && zeros < 192) {
        f2 = f1;
        f1 = f0;
        f0 = 0;
        zeros += 64;
    }
    if (f2 == 0)
        return {quadrant & 3, {0.0, 0.0}};
    const int shift = std::countl_zero(f2);
    if (shift != 0) {
        f2 = (f2 << shift) | (f1 >> (64 - shift));
        f1 = (f1 << shift) | (f0 >> (64 - shift));
    }
    zeros += shift;
    const double hi = static_cast<double>(f2 >> 11) * PowerOfTwo(-53 - zeros);
    const double lo = static_cast<double>(((f2 & 0x7FF) << 53) | (f1 >> 11)) * PowerOfTwo(-117 - zeros);
    DoubleDouble r = Multiply(FastTwoSum(hi, lo), PiHalf);
    if (negative)
        r = Negate(r);
    return {quadrant & 3, r};
}

constexpr double QuarterPi = 0.78539816339744830961;  // just below pi/4

void Trigonometric(double v, SoftExtended* sine, SoftExtended* cosine)
{
    const double a = std::fabs(v);
    if (!(a < 0x1p63)) {
        if (sine)
            *sine = Zero(false);
        if (cosine)
            *cosine = Zero(false);
        return;
    }
    if (a < 0x1p-32) {  // sin v rounds to v and cos v to 1
        if (sine)
            *sine = FromDouble(v);
        if (cosine)
            *cosine = FromDouble(1.0);
        return;
    }
    Reduced reduced{0, {a, 0.0}};
    if (a > QuarterPi)
        reduced = Reduce(a);
    const bool negativeR = reduced.R.Hi < 0;
    const SineAndCosine sc = OfReduced(negativeR ? Negate(reduced.R) : reduced.R);
    const DoubleDouble sinR = negativeR ? Negate(sc.Sin) : sc.Sin;
    const DoubleDouble cosR = sc.Cos;
    DoubleDouble s;
    DoubleDouble c;
    switch (reduced.Quadrant) {
    case 0:
        s = sinR;
        c = cosR;
        break;
    case 1:
        s = cosR;
        c = Negate(sinR);
        break;
    case 2:
        s = Negate(sinR);
        c = Negate(cosR);
        break;
    default:
        s = Negate(cosR);
        c = sinR;
        break;
    }
    if (sine)
        *sine = RoundScaled(v < 0 ? Negate(s) : s, 0);
    if (cosine)
        *cosine = RoundScaled(c, 0);
}

}  // namespace

SoftExtended NaturalLogarithm(SoftExtended v) noexcept
{
    if (v.IsNaN())
        return Quieted(v);
    if (v.IsZero())
        return Infinity(true);
    if (v.Negative())
        return DefaultNaN;
    if (v.IsInf())
        return v;
    return RoundScaled(Multiply(Log2(v), Ln2Of64Bits), 0);
}

SoftExtended BinaryLogarithm(SoftExtended x) noexcept
{
    if (x.IsNaN())
        return Quieted(x);
    if (x.IsZero())
        return Infinity(true);
    if (x.Negative())
        return DefaultNaN;
    if (x.IsInf())
        return x;
    return RoundScaled(Log2(x), 0);
}

SoftExtended TwoToPowerMinusOne(SoftExtended f) noexcept
{
    if (f.IsNaN())
        return Quieted(f);
    if (f.IsZero())
        return f;
    if (f.IsInf())
        return f.Negative() ? SoftExtended(-1.0) : f;
    const int e = f.BiasedExponent() - Bias;
    if (e < -200) {
        // 2^f - 1 = f ln 2 (1 + f ln 2 / 2 + ...): the correction lies far
        // below the last bit, and f may lie beyond the range of doubles.
        int scale = 0;
        const DoubleDouble m = Unscaled(f, scale);
        const DoubleDouble product = Multiply(m, Ln2);
        return RoundScaled(f.Negative() ? Negate(product) : product, scale);
    }
    const DoubleDouble x = Magnitude(f);
    return RoundScaled(Exp2MinusOne(f.Negative() ? Negate(x) : x), 0);
}

SoftExtended ScaleByPower(SoftExtended value, SoftExtended exponent) noexcept
{
    if (value.IsNaN())
        return Quieted(value);
    if (exponent.IsNaN())
        return Quieted(exponent);
    if (exponent.IsInf()) {
        if (value.IsZero() || value.IsInf())
            return exponent.Negative() == value.IsZero() ? value : DefaultNaN;
        return exponent.Negative() ? Zero(value.Negative()) : Infinity(value.Negative());
    }
    const SoftExtended whole = std::trunc(exponent);
    const int n = std::fabs(whole) > SoftExtended(1 << 20)
                      ? (whole.Negative() ? -(1 << 20) : (1 << 20))
                      : static_cast<int>(whole);
    return Scaled(value, n);
}

SoftExtended Arctangent(SoftExtended q) noexcept
{
    if (q.IsNaN())
        return Quieted(q);
    if (q.IsZero())
        return q;
    const bool negative = q.Negative();
    const int e = q.BiasedExponent() - Bias;
    DoubleDouble result;
    if (q.IsInf() || e > 200) {
        result = PiHalf;  // pi/2 - 1/q, 1/q far below the last bit
    } else if (e < -40) {
        return q;  // q - q^3/3 rounds to q
    } else {
        DoubleDouble x = Magnitude(q);
        const bool inverted = x.Hi > 1.0;
        if (inverted)
            x = Divide(Dd(1.0), x);
        result = ArctanOfReduced(x);
        if (inverted)
            result = Subtract(PiHalf, result);
    }
    return RoundScaled(negative ? Negate(result) : result, 0);
}

SoftExtended Sine(double v) noexcept
{
    SoftExtended s;
    Trigonometric(v, &s, nullptr);
    return s;
}

SoftExtended Cosine(double v) noexcept
{
    SoftExtended c;
    Trigonometric(v, nullptr, &c);
    return c;
}

void SineCosine(double v, SoftExtended& sine, SoftExtended& cosine) noexcept
{
    Trigonometric(v, &sine, &cosine);
}

SoftExtended Power(SoftExtended x, SoftExtended y) noexcept
{
    const SoftExtended one = 1.0;
    if (y.IsZero() || x == one)
        return one;
    if (x.IsNaN())
        return Quieted(x);
    if (y.IsNaN())
        return Quieted(y);
    const bool wholeY = std::isfinite(y) && std::trunc(y) == y;
    const bool oddY = wholeY && std::fabs(y) < SoftExtended(0x1p64) &&
                      (static_cast<std::uint64_t>(std::fabs(y)) & 1) != 0;
    if (x.Negative() && !x.IsZero() && !x.IsInf() && !wholeY)
        return DefaultNaN;
    const bool negative = x.Negative() && oddY;
    const SoftExtended a = std::fabs(x);
    if (a.IsZero() || a.IsInf()) {
        const bool large = a.IsInf() != y.Negative();
        return large ? Infinity(negative) : Zero(negative);
    }
    if (y.IsInf()) {
        if (a == one)
            return one;
        return (a > one) != y.Negative() ? Infinity(false) : Zero(false);
    }
    // As glibc's powl forms it on the x87 for the powers the program takes
    // (the zoom's 1.25^(k/120), checked against it): t = y log2 a rounded
    // once (fyl2x), then 2^t = 2^(t - i) 2^i, i its nearest whole number
    // (frndint, f2xm1, fscale).
    const int ye = y.BiasedExponent() - Bias;
    const DoubleDouble l = Log2(a);
    const bool positive = (l.Hi > 0) != y.Negative();
    SoftExtended t = Zero(false);
    if (l.Hi != 0.0 && ye > 900)
        return positive ? Infinity(negative) : Zero(negative);  // |t| far past 2^16
    if (l.Hi != 0.0 && ye >= -900) {
        const DoubleDouble yy = Magnitude(y);
        t = RoundScaled(Multiply(l, y.Negative() ? Negate(yy) : yy), 0);
    }
    const SoftExtended i = std::nearbyint(t);
    const SoftExtended power = ScaleByPower(TwoToPowerMinusOne(t - i) + SoftExtended(1.0), i);
    return negative ? -power : power;
}

}  // namespace soft_extended
