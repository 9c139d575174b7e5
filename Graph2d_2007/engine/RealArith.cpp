// SPDX-License-Identifier: GPL-3.0-or-later
#include "RealArith.h"

#include <cmath>

namespace {

constexpr Extended Int32Min = -2147483648.0L;
constexpr Extended Int32Max = 2147483647.0L;

}  // namespace

const char* FloatFaultMessage(FloatFaultKind kind) noexcept
{
    switch (kind) {
    case FloatFaultKind::DivisionByZero:
        return "Floating point division by zero";
    case FloatFaultKind::InvalidOperation:
        return "Invalid floating point operation";
    case FloatFaultKind::Overflow:
        return "Floating point overflow";
    }
    return "Invalid floating point operation";
}

FloatFault::FloatFault(FloatFaultKind kind)
    : std::runtime_error(FloatFaultMessage(kind)), kind_(kind)
{
}

std::string FaultText(const FloatFault& fault)
{
    return std::string(fault.what()) + '.';
}

void RaiseFloatFault(FloatFaultKind kind)
{
    throw FloatFault(kind);
}

double StoreReal(Extended value)
{
    if (std::isnan(value))
        RaiseFloatFault(FloatFaultKind::InvalidOperation);
    const double stored = static_cast<double>(value);
    if (std::isinf(stored))
        RaiseFloatFault(FloatFaultKind::Overflow);
    return stored;
}

Extended DivideExtended(Extended numerator, Extended denominator)
{
    if (std::isnan(numerator) || std::isnan(denominator))
        RaiseFloatFault(FloatFaultKind::InvalidOperation);
    if (denominator == 0.0L) {
        RaiseFloatFault(numerator == 0.0L ? FloatFaultKind::InvalidOperation
                                          : FloatFaultKind::DivisionByZero);
    }
    const Extended quotient = numerator / denominator;
    if (std::isinf(quotient))
        RaiseFloatFault(FloatFaultKind::Overflow);
    return quotient;
}

std::int32_t RoundToInt32(Extended value)
{
    // Range test first, on the unrounded value: anything that rounds into the
    // range lies within half a unit of it.
    if (std::isnan(value) || value < Int32Min - 0.5L || value > Int32Max + 0.5L)
        RaiseFloatFault(FloatFaultKind::InvalidOperation);

    Extended whole = std::floor(value);
    const Extended fraction = value - whole;  // exact: |value| < 2^32
    if (fraction > 0.5L || (fraction == 0.5L && std::fmod(whole, 2.0L) != 0.0L))
        whole += 1.0L;
    if (whole < Int32Min || whole > Int32Max)
        RaiseFloatFault(FloatFaultKind::InvalidOperation);
    return static_cast<std::int32_t>(whole);
}

std::int32_t TruncToInt32(Extended value)
{
    if (std::isnan(value))
        RaiseFloatFault(FloatFaultKind::InvalidOperation);
    const Extended whole = std::trunc(value);
    if (whole < Int32Min || whole > Int32Max)
        RaiseFloatFault(FloatFaultKind::InvalidOperation);
    return static_cast<std::int32_t>(whole);
}
