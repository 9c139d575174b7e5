// SPDX-License-Identifier: GPL-3.0-or-later
#include "PowerProducts.h"

#include <cmath>

#include "DoubleDouble.h"

PRODUCT_LOOP void ProductsByX87(PowerWalk& w, double a, std::uint32_t steps)
{
    double r = w.R;
    for (std::uint32_t k = 0; k < steps; ++k) {
        const double next = ExactProduct(r, a);
        if (next == r) {  // r * a rounds back to r: so does every later product
            w.R = r;
            w.Left = 0;
            return;
        }
        r = next;
    }
    w.R = r;
    w.Left -= steps;
}

namespace {

// Why an SSE2 product p = RN53(r * a) with its exact residual e = r * a - p
// tells when it equals the x87 product RN53(RN64(r * a)):
//
// Let z = r * a, and d1 <= z <= d2 the doubles around it with midpoint M.
// Rounding is monotone and d1, d2, M all have at most 64 significant bits, so
// RN64(z) lies on the same side of M as z, or on M. Off M, both roundings
// then give the double on z's side: the same. At z = M both round M alike.
// Only RN64(z) = M with z != M can differ (the x87 store breaks that tie by
// parity), and it needs |z - M| <= half a 64-bit unit of M, that is 2^-11 of
// the half spacing s/2 of d1, d2; hence s/2 (1 - 2^-11) <= |e| < s/2, with
// e = z - p. Where p is not a power of two its own ulp is s, so
//     |e| < ulp(p) / 2 * (1 - 2^-11)  or  |e| = ulp(p) / 2 (z = M),
// with p not a power of two, prove the two products equal. (Where p is a
// power of two, s may be half its ulp; such a p is formed again by x87.)
//
// e is exact: r and a are whole multiples of their ulps, so z, p and e are
// multiples of g = ulp(r) ulp(a), and z < 2^106 g bounds |e| <= ulp(p) / 2 by
// 2^53 g. Where p >= 2^-960, g > 2^-1067: e is a multiple of 2^-1074 with at
// most 53 bits, a double. Below p < 2^1023 no product overflows, so no fault
// is missed. (Outside that range each product is formed by x87.) Both need
// the default modes: round to nearest, no flush to zero.
// The bound is a double built from p's exponent field Ep:
// 2^(Ep-54) * (2 - 2^-10), normal since Ep >= -960; ulp(p) / 2 lies 2^42
// above it in the ordering of the bits.
constexpr std::uint64_t ThresholdBelowExponent = std::uint64_t{54} << 52;
constexpr std::uint64_t ThresholdFraction = (std::uint64_t{1} << 52) - (std::uint64_t{1} << 42);
constexpr std::uint64_t HalfUlpAboveThreshold = std::uint64_t{1} << 42;
constexpr std::uint64_t FmaLowBits = std::bit_cast<std::uint64_t>(FmaLow);
constexpr std::uint64_t FmaHighBits = std::bit_cast<std::uint64_t>(FmaHigh);
constexpr std::uint64_t SignMask = std::uint64_t{1} << 63;

// r * a - p, exact, for p = RN(r * a): one FMA on x86; elsewhere Dekker's
// product, whose error term is that same residual wherever the check below
// trusts it (p >= 2^-960 keeps every partial product a multiple of
// ulp(r) ulp(a) > 2^-1067 with at most 53 bits). Where its splitting
// overflows (|r| or |a| from 2^996 on) it gives a NaN, which fails the check,
// so the product is formed by x87 instead.
#if EXTENDED_IN_SOFTWARE
#define FMA_TARGET maybe_unused
inline double ProductResidual(double r, double a, double)
{
    return double_double::TwoProduct(r, a).Lo;
}
#else
#define FMA_TARGET gnu::target("fma")
[[FMA_TARGET, gnu::always_inline]] inline double ProductResidual(double r, double a, double p)
{
    return __builtin_fma(r, a, -p);
}
#endif

// 1 where the check proves p the x87 product, else 0 (a number, so that four
// checks combine without branches).
[[FMA_TARGET, gnu::always_inline]] inline unsigned FmaProductHolds(double p, double r, double a)
{
    const double e = ProductResidual(r, a, p);
    const std::uint64_t pb = std::bit_cast<std::uint64_t>(p);
    const std::uint64_t eb = std::bit_cast<std::uint64_t>(e) & ~SignMask;
    const std::uint64_t threshold = (pb & ExponentMask) - ThresholdBelowExponent + ThresholdFraction;
    const bool inRange = pb - FmaLowBits < FmaHighBits - FmaLowBits;
    const bool farFromMidpoint = (eb < threshold) | (eb == threshold + HalfUlpAboveThreshold);
    return static_cast<unsigned>(inRange & ((pb & FractionMask) != 0) & farFromMidpoint);
}

inline bool InFmaRange(double r)
{
    return std::bit_cast<std::uint64_t>(r) - FmaLowBits < FmaHighBits - FmaLowBits;
}

}  // namespace

// Four products at a time, with one test for the four checks. Where one
// fails, one product is formed by x87, and the loop ends if that leaves the
// range of the check (below it the products are denormal, slow to form both
// ways, and the x87 loop looks for their fixed point) or is a fixed point.
// No product that passes the check rounds back to r unless a = 1, so the
// fast path needs no look for a fixed point.
PRODUCT_LOOP [[FMA_TARGET]] void ProductsByFma(PowerWalk& w, double a, std::uint32_t steps)
{
    double r = w.R;
    std::uint32_t done = 0;
    while (done < steps) {
        if (steps - done >= 4) {
            const double p1 = r * a;
            const double p2 = p1 * a;
            const double p3 = p2 * a;
            const double p4 = p3 * a;
            if ((FmaProductHolds(p1, r, a) & FmaProductHolds(p2, p1, a) & FmaProductHolds(p3, p2, a) &
                 FmaProductHolds(p4, p3, a)) != 0) [[likely]] {
                r = p4;
                done += 4;
                continue;
            }
        }
        const double p = r * a;
        if (FmaProductHolds(p, r, a) != 0) {
            r = p;
            ++done;
            continue;
        }
        const double next = ExactProduct(r, a);
        ++done;
        if (next == r) {
            w.R = r;
            w.Left = 0;
            return;
        }
        r = next;
        if (!InFmaRange(r))
            break;
    }
    w.R = r;
    w.Left -= done;
}

namespace {

using U128 = unsigned __int128;

// RNE(p / 2^shift) for shift >= 1 and p < 2^127.
inline U128 RoundShifted(U128 p, unsigned shift)
{
    if (shift >= 128)
        return 0;
    const U128 whole = p >> shift;
    const U128 rest = p & ((U128{1} << shift) - 1);
    const U128 half = U128{1} << (shift - 1);
    return whole + ((rest > half) | ((rest == half) & static_cast<unsigned>(whole & 1)));
}

inline unsigned BitLength(U128 p)
{
    const auto high = static_cast<std::uint64_t>(p >> 64);
    const auto low = static_cast<std::uint64_t>(p);
    return high != 0 ? 128 - std::countl_zero(high) : 64 - std::countl_zero(low);
}

}  // namespace

// Why these are the x87 products: r = m 2^-1074 (m < 2^52) and a = A 2^e
// (2^52 <= A < 2^53, e <= -53 as a < 1), so z = r a = m A 2^e in units of
// 2^-1074. The x87 product keeps the 64 leading bits of m A, rounded to
// nearest even: P 2^s. Its store rounds P 2^(s+e) units to a whole unit, to
// nearest even: the result's m. As z < m, the result stays denormal.
PRODUCT_LOOP void ProductsOfDenormal(PowerWalk& w, double a, std::uint32_t steps)
{
    const std::uint64_t aBits = std::bit_cast<std::uint64_t>(a);
    const std::uint64_t significand = (aBits & FractionMask) | (std::uint64_t{1} << 52);
    const int exponent = static_cast<int>(aBits >> 52) - 1075;
    std::uint64_t m = std::bit_cast<std::uint64_t>(w.R) & FractionMask;
    for (std::uint32_t k = 0; k < steps; ++k) {
        U128 product = static_cast<U128>(m) * significand;
        int scale = exponent;
        if (const unsigned length = BitLength(product); length > 64) {
            product = RoundShifted(product, length - 64);
            scale += static_cast<int>(length - 64);
        }
        const auto next = static_cast<std::uint64_t>(RoundShifted(product, static_cast<unsigned>(-scale)));
        if (next == m) {
            w.R = std::bit_cast<double>(m);
            w.Left = 0;
            return;
        }
        m = next;
    }
    w.R = std::bit_cast<double>(m);
    w.Left -= steps;
}
