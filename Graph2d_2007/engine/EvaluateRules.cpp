// SPDX-License-Identifier: GPL-3.0-or-later
// The power rule and the functions with a domain test.
#include "EvaluateRules.h"

namespace {

// Rounds an exponent or factorial argument to a 32-bit integer. A whole
// number in range is taken as it is; every other value goes through the
// checked rounding, which raises the invalid-operation fault out of range.
std::int32_t RoundOperand(double v)
{
    if (v >= -2147483648.0 && v <= 2147483647.0) {
        const auto whole = static_cast<std::int32_t>(v);
        if (static_cast<double>(whole) == v)
            return whole;
    }
    return RoundToInt32(v);
}

bool FactorialRule(double v, double& result)
{
    if (v < 0.0)
        return false;
    const std::int32_t k = RoundOperand(v);
    if (static_cast<double>(k) != v)
        return false;
    result = Factorial(k);
    return true;
}

// v / sqrt(1 - v*v) in extended precision, for |v| < 1.
Extended ArcQuotient(double v)
{
    const Extended e = v;
    return e / std::sqrt(1.0L - e * e);
}

constexpr double HalfPi = 1.5707963267948966;  // nearest 64-bit reals
constexpr double Pi = 3.141592653589793;

}  // namespace

bool PowerRule(double x, double y, double& result)
{
    const Extended base = x;
    if (std::fabs(base) < ZeroTolerance && y < 0.0)
        return false;
    const std::int32_t k = RoundOperand(y);
    if (static_cast<double>(k) == y) {
        result = IntPower(x, k);
    } else if (base > ZeroTolerance) {
        result = StoreReal(ExpExtended(y * LnExtended(base)));
    } else if (std::fabs(base) < ZeroTolerance) {
        result = 0.0;
    } else {
        return false;
    }
    return true;
}

const char* ApplyCheckedFunction(unsigned char tag, double& v)
{
    switch (tag) {
    case CodeLn:
        if (static_cast<Extended>(v) <= ZeroTolerance)
            return LogArgumentErrorText;
        v = StoreReal(LnExtended(v));
        break;
    case CodeSqrt:
        if (v < 0.0)
            return SqrtArgumentErrorText;
        v = StoreReal(std::sqrt(static_cast<Extended>(v)));
        break;
    case CodeArcsin:
        if (std::fabs(v) < 1.0)
            v = StoreReal(ArctanExtended(ArcQuotient(v)));
        else if (v == -1.0)
            v = -HalfPi;
        else if (v == 1.0)
            v = HalfPi;
        else
            return ArcsinArgumentErrorText;
        break;
    case CodeArccos:
        if (std::fabs(v) < 1.0)
            v = StoreReal(PiHalfExtended - ArctanExtended(ArcQuotient(v)));
        else if (v == -1.0)
            v = Pi;
        else if (v == 1.0)
            v = 0.0;
        else
            return ArccosArgumentErrorText;
        break;
    case CodeFa:
        if (!FactorialRule(v, v))
            return FactorialArgumentErrorText;
        break;
    }
    return nullptr;
}
