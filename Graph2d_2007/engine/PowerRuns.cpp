// SPDX-License-Identifier: GPL-3.0-or-later
// Why the runs give the x87 products bit for bit.
//
// Up, a = 1 + J 2^-52. Let r = m 2^(E-52) be normal, 2^52 <= m < 2^53, and
// count in units of 2^(E-52). The exact product is z = m + P 2^-52 with
// P = m J. While z < 2^53 it lies in r's binade, where a 64-bit significand
// has 11 bits below the unit: RN64(z) = m + u 2^-11 with u = RNE(P / 2^41)
// (the parity of that significand is the parity of u, as m 2^11 is even).
// The store rounds that to a whole unit: m + D, where D = u / 2^11 rounded to
// nearest, and at a tie (u mod 2^11 = 2^10) the D of the two that makes
// m + D even. So D depends on P alone except at ties, and since RNE is
// monotone, writing B(k) = (k 2^12 + 2^11 - 1) 2^40:
//     B(d-1) + 2^41 < P < B(d)   gives D = d, without a tie;
//     B(d) <= P <= B(d) + 2^41   is the tie between d and d + 1.
// (At P = B(d), P / 2^41 is a tie between an odd u and the even tie value of
// u, so it belongs to the tie.) Starting from m0 with D(m0) = d and no tie,
// P only grows along m0, m0 + d, m0 + 2d, ..., so every m_t = m0 + t d with
// m_t J < B(d), that is m_t <= floor((B(d) - 1) / J), keeps the increment d.
// z < m_t + d + 1 keeps the product in the binade while m_t + d <= 2^53 - 1.
// So a run of s products is m += s d, with s the least of the three bounds.
//
// Down, a = 1 - J 2^-53, the same with z = m - P 2^-53, u = RNE(P / 2^42),
// m - D even at a tie, and m falling: with A(k) = (k 2^12 - 2^11 + 1) 2^41
// the increment stays d while P > A(d), that is m >= floor(A(d) / J) + 1,
// and the product stays in the binade while m - d >= 2^52 + 1.
//
// A tie is taken as one product by the same formula, with its parity rule.
// The product that leaves the binade is formed by x87.
#include "PowerRuns.h"

#include <algorithm>
#include <bit>

namespace {

using U128 = unsigned __int128;

constexpr std::uint64_t SignificandLow = std::uint64_t{1} << 52;   // m of 2^E
constexpr std::uint64_t SignificandHigh = std::uint64_t{1} << 53;  // m of 2^(E+1)

// Runs shorter than this (estimated) are left to the products one at a time.
constexpr double MinRunLength = 1.5;

// RNE(p / 2^shift) for shift >= 1.
inline std::uint64_t RoundShifted(U128 p, unsigned shift)
{
    const std::uint64_t whole = static_cast<std::uint64_t>(p >> shift);
    const std::uint64_t rest = static_cast<std::uint64_t>(p) & ((std::uint64_t{1} << shift) - 1);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    return whole + ((rest > half) | ((rest == half) & (whole & 1)));
}

struct WordDivision {
    std::uint64_t Quotient;
    std::uint64_t Remainder;
};

// n / d when the quotient fits in 64 bits (n < 2^64 d): one divq on x86,
// the 128-bit division of the compiler's library elsewhere.
inline WordDivision DivideToWord(U128 n, std::uint64_t d)
{
#if EXTENDED_IN_SOFTWARE
    return {static_cast<std::uint64_t>(n / d), static_cast<std::uint64_t>(n % d)};
#else
    WordDivision result;
    __asm__("divq %4"
            : "=a"(result.Quotient), "=d"(result.Remainder)
            : "a"(static_cast<std::uint64_t>(n)), "d"(static_cast<std::uint64_t>(n >> 64)), "rm"(d)
            : "cc");
    return result;
#endif
}

// What a base fixes for all its runs. The bound of increment d is
// last(d) = floor((B(d) - 1) / J) (Up) or first(d) = floor(A(d) / J) + 1;
// from one d to the next, B moves by 2^52 and A by 2^53 (Step), and a tie
// spans 2^41 + 1 (Up) or 2^42 (Tie) beyond B or below A.
struct RunBase {
    std::uint64_t J;
    WordDivision Step;
    WordDivision Tie;
    double PayLimit;  // runs pay while m <= PayLimit
    std::uint64_t PayBound;  // the same as a whole number
};

// The integer walk through one binade of r.
struct Walk {
    std::uint64_t M;
    std::uint32_t Left;
    std::uint32_t Budget;
};

// Where the run of increment d ends: last(d) (Up) or first(d), and the
// division's remainder (B(d) - 1 - last(d) J, or A(d) - (first(d) - 1) J).
template <bool Up>
WordDivision RunBound(const RunBase& base, std::uint64_t d)
{
    if constexpr (Up)
        return DivideToWord((static_cast<U128>(d * 4096 + 2047) << 40) - 1, base.J);
    const WordDivision q = DivideToWord(static_cast<U128>(d * 4096 - 2047) << 41, base.J);
    return {q.Quotient + 1, q.Remainder};
}

// Products of increment d that stay in the binade, from m.
template <bool Up>
std::uint64_t StepsInBinade(std::uint64_t m, std::uint64_t d)
{
    if constexpr (Up)
        return (SignificandHigh - 1 - m) / d;
    return m > SignificandLow ? (m - SignificandLow - 1) / d : 0;
}

// s products of increment d.
template <bool Up>
void Advance(Walk& walk, std::uint64_t d, std::uint64_t s)
{
    walk.M = Up ? walk.M + s * d : walk.M - s * d;
    walk.Left -= static_cast<std::uint32_t>(s);
}

// The runs after one of increment d, without a division while each next
// run goes as expected. After the run of d, m lies past its bound; the next
// increment is d + 1 (Up; d - 1 down) when m is past the tie beyond that
// bound and within the bound of d + 1, both found by adding Step and Tie to
// the division of the bound (quotient and remainder). The run of d + 1 from
// m then has floor(x / d) + 1 products, x being the distance from m to its
// bound. Run lengths change slowly, so x / d is taken as g or g + 1 by one
// comparison, with g kept from run to run; where x falls outside
// [g d, (g + 2) d) it is divided out and g moves. A run that would leave the
// binade (or pass PayBound), use more than the products left, or a next
// increment that is not as expected, ends the loop: the general loop takes
// it from there.
template <bool Up>
void SteadyRuns(const RunBase& base, Walk& walk, std::uint64_t d, WordDivision bound)
{
    const std::uint64_t j = base.J;
    const std::uint64_t limit = Up ? std::min(SignificandHigh - 1, base.PayBound) : SignificandLow + 1;
    std::uint64_t m = walk.M;
    std::uint32_t left = walk.Left;
    std::uint32_t budget = walk.Budget;
    std::uint64_t g = 0;
    while (budget > 0) {
        WordDivision next;
        if constexpr (Up) {
            const std::uint64_t tieLast =
                bound.Quotient + base.Tie.Quotient + (bound.Remainder + base.Tie.Remainder >= j);
            const std::uint64_t sum = bound.Remainder + base.Step.Remainder;
            const bool carry = sum >= j;
            next = {bound.Quotient + base.Step.Quotient + carry, carry ? sum - j : sum};
            if (m <= tieLast || m > next.Quotient)
                break;
            ++d;
        } else {
            if (d == 1)
                break;
            const std::uint64_t tieFirst =
                bound.Quotient - 1 - base.Tie.Quotient + (bound.Remainder > base.Tie.Remainder);
            const bool borrow = bound.Remainder < base.Step.Remainder;
            next = {bound.Quotient - base.Step.Quotient - borrow,
                    bound.Remainder - base.Step.Remainder + (borrow ? j : 0)};
            if (m >= tieFirst || m < next.Quotient)
                break;
            --d;
        }
        bound = next;
        const std::uint64_t x = Up ? bound.Quotient - m : m - bound.Quotient;
        std::uint64_t shorter = (g + 1) * d;  // the move of g + 1 products
        if (x + d - shorter >= 2 * d) [[unlikely]] {  // x below g d, or from (g + 2) d on
            const std::uint64_t q = x / d;
            g = x < shorter - d ? q : q - 1;
            shorter = (g + 1) * d;
        }
        const bool longer = x >= shorter;
        const std::uint64_t steps = g + 1 + longer;
        const std::uint64_t move = shorter + (longer ? d : 0);
        if (steps > left || (Up ? m + move > limit : move + limit > m))
            break;
        m = Up ? m + move : m - move;
        left -= static_cast<std::uint32_t>(steps);
        --budget;
    }
    walk.M = m;
    walk.Left = left;
    walk.Budget = budget;
}

// Runs and tie products through r's binade. Returns true when the next
// product leaves it.
template <bool Up>
bool Runs(const RunBase& base, Walk& walk)
{
    constexpr unsigned Shift = Up ? 41 : 42;
    while (walk.Left > 0 && walk.Budget > 0 && static_cast<double>(walk.M) <= base.PayLimit) {
        --walk.Budget;
        const std::uint64_t m = walk.M;
        const std::uint64_t u = RoundShifted(static_cast<U128>(m) * base.J, Shift);
        const std::uint64_t low = u >> 11;
        const std::uint64_t fraction = u & 2047;
        if (fraction == 1024) {  // a tie: one product, d of the parity of m
            const std::uint64_t d = low + ((low ^ m) & 1);
            if (d == 0) {  // (down only) m is a fixed point, unless it is 2^52
                if (m == SignificandLow)
                    return true;
                walk.Left = 0;
                return false;
            }
            if (StepsInBinade<Up>(m, d) == 0)
                return true;
            Advance<Up>(walk, d, 1);
            continue;
        }
        const std::uint64_t d = low + (fraction > 1024);
        const WordDivision bound = RunBound<Up>(base, d);
        const std::uint64_t steps = (Up ? bound.Quotient - m : m - bound.Quotient) / d + 1;
        const std::uint64_t cap = std::min<std::uint64_t>(StepsInBinade<Up>(m, d), walk.Left);
        if (cap == 0)
            return true;
        Advance<Up>(walk, d, std::min(steps, cap));
        if (steps <= cap)
            SteadyRuns<Up>(base, walk, d, bound);
    }
    return false;
}

RunBase RunBaseOf(const NearOneBase& base)
{
    const U128 step = static_cast<U128>(1) << (base.Up ? 52 : 53);
    const U128 tie = base.Up ? (static_cast<U128>(1) << 41) + 1 : static_cast<U128>(1) << 42;
    const std::uint64_t payBound =
        base.PayLimit >= 0x1p53 ? SignificandHigh : static_cast<std::uint64_t>(base.PayLimit);
    return {base.J, DivideToWord(step, base.J), DivideToWord(tie, base.J), base.PayLimit, payBound};
}

}  // namespace

NearOneBase NearOneOf(double a)
{
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(a);
    const std::uint64_t fraction = bits & FractionMask;
    NearOneBase base;
    if ((bits & ExponentMask) == std::bit_cast<std::uint64_t>(1.0) && fraction != 0) {
        base.Up = true;
        base.J = fraction;  // a = (2^52 + J) 2^-52
    } else if ((bits & ExponentMask) == std::bit_cast<std::uint64_t>(0.5)) {
        base.J = SignificandLow - fraction;  // a = (2^53 - J) 2^-53
    }
    base.Valid = base.J != 0 && base.J <= MaxRunJ;
    if (base.Valid) {
        // The estimated run length is 2^104 / (m J^2) (Up) or 2^106 / (m J^2).
        const double jj = static_cast<double>(base.J) * static_cast<double>(base.J);
        base.PayLimit = (base.Up ? 0x1p104 : 0x1p106) / (MinRunLength * jj);
    }
    return base;
}

bool RunsPay(const NearOneBase& base, double r)
{
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(r);
    if ((bits & ExponentMask) == 0 || (bits & ExponentMask) == ExponentMask)
        return false;
    const std::uint64_t m = (bits & FractionMask) | SignificandLow;
    return static_cast<double>(m) <= base.PayLimit;
}

void ProductsByRuns(PowerWalk& w, double a, const NearOneBase& base, std::uint32_t& budget)
{
    const RunBase runBase = RunBaseOf(base);
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(w.R);
    Walk walk{(bits & FractionMask) | SignificandLow, w.Left, budget};
    const bool edge = base.Up ? Runs<true>(runBase, walk) : Runs<false>(runBase, walk);
    budget = walk.Budget;
    w.R = std::bit_cast<double>((bits & ExponentMask) | (walk.M & FractionMask));
    w.Left = walk.Left;
    if (edge)
        ProductsByX87(w, a, 1);
}
