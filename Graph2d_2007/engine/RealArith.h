// SPDX-License-Identifier: GPL-3.0-or-later
// Real arithmetic shared by the whole program.
//
// Intermediate sums, products and quotients are formed in the x87 80-bit
// extended format (`Extended`) and rounded to a 64-bit `double` only where a
// value is stored. Floating-point faults are never left to the hardware: the
// helpers below detect them and throw one exception type, `FloatFault`, so no
// infinity or NaN ever reaches a stored value. Underflow and denormals pass
// silently.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "ExtendedType.h"

enum class FloatFaultKind { DivisionByZero, InvalidOperation, Overflow };

// The one exception type for floating-point faults. what() is the message the
// user sees (without the final ".").
class FloatFault : public std::runtime_error {
public:
    explicit FloatFault(FloatFaultKind kind);
    FloatFaultKind Kind() const noexcept { return kind_; }

private:
    FloatFaultKind kind_;
};

const char* FloatFaultMessage(FloatFaultKind kind) noexcept;

// A fault's message as its box words it: "Floating point overflow."
std::string FaultText(const FloatFault& fault);

[[noreturn]] void RaiseFloatFault(FloatFaultKind kind);

// Rounds an extended value to the 64-bit real it is stored as (to nearest,
// ties to even). A result beyond the 64-bit range is the overflow fault; a NaN
// operand is the invalid-operation fault.
double StoreReal(Extended value);

// numerator / denominator in extended precision. x / 0 is the division-by-zero
// fault, 0 / 0 the invalid-operation fault. The quotient is not rounded to 64
// bits; pass it to StoreReal where it is stored.
Extended DivideExtended(Extended numerator, Extended denominator);

// Nearest signed 32-bit integer, ties to even. Outside -2^31 .. 2^31-1 (or for
// a NaN) it is the invalid-operation fault.
std::int32_t RoundToInt32(Extended value);

// Truncation toward zero to a signed 32-bit integer, with the same fault.
std::int32_t TruncToInt32(Extended value);
