#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints the constant tables of the software elementary functions
# (Graph2d_2007/engine/SoftTables.h) from exact decimal arithmetic at 120
# digits: each value as a double-double, its high part the nearest double and
# its low part the nearest double to the rest; 2/pi as 64-bit words.
#   scripts/extended-tables.py > Graph2d_2007/engine/SoftTables.h
from decimal import Decimal as D, getcontext

getcontext().prec = 120
EPS = D(10) ** -115


def arctan_inverse(n):  # arctan(1/n) by its Taylor series
    x = D(1) / n
    total, term, k = D(0), x, 0
    while abs(term) > EPS:
        total += term / (2 * k + 1) * (1 if k % 2 == 0 else -1)
        term *= x * x
        k += 1
    return total


PI = 16 * arctan_inverse(5) - 4 * arctan_inverse(239)


def exp(x):
    total, term, k = D(1), D(1), 1
    while abs(term) > EPS:
        term = term * x / k
        total += term
        k += 1
    return total


def ln(x):  # 2 atanh((x - 1) / (x + 1))
    s = (x - 1) / (x + 1)
    total, power, k = D(0), s, 0
    while abs(power) > EPS:
        total += power / (2 * k + 1)
        power *= s * s
        k += 1
    return 2 * total


def sin_cos(x):
    s, c, term, k = D(0), D(0), D(1), 0
    while abs(term) > EPS or k < 4:
        if k % 4 == 0:
            c += term
        elif k % 4 == 1:
            s += term
        elif k % 4 == 2:
            c -= term
        else:
            s -= term
        k += 1
        term = term * x / k
    return s, c


def arctan(x):  # Euler's series, for 0 <= x <= 1
    y = x * x / (1 + x * x)
    total, term, k = D(0), x / (1 + x * x), 0
    while abs(term) > EPS:
        total += term
        k += 1
        term = term * y * (2 * k) / (2 * k + 1)
    return total


LN2 = ln(D(2))


def dd(value):
    hi = float(value)
    lo = float(value - D(hi))
    return f"{{{hi.hex()}, {lo.hex()}}}"


def table(name, values, comment):
    print(f"// {comment}")
    print(f"inline constexpr DoubleDouble {name}[] = {{")
    for v in values:
        print(f"    {dd(v)},")
    print("};")
    print()


print("// SPDX-License-Identifier: GPL-3.0-or-later")
print("// Constants of the software elementary functions, written by")
print("// scripts/extended-tables.py from exact decimal arithmetic (120 digits).")
print("// Private to the engine.")
print("#pragma once")
print()
print("#include <cstdint>")
print()
print('#include "DoubleDouble.h"')
print()
print("namespace soft_tables {")
print()
two_over_pi = int((2 / PI) * (D(2) ** 320))
words = [(two_over_pi >> (64 * (4 - i))) & (2**64 - 1) for i in range(5)]
print("// The bits of 2/pi after the point, 2^-1 to 2^-320, most significant first.")
print("inline constexpr std::uint64_t TwoOverPi[] = {")
for w in words:
    print(f"    0x{w:016X}u,")
print("};")
print()
print(f"inline constexpr DoubleDouble PiHalf = {dd(PI / 2)};")
print(f"inline constexpr DoubleDouble Ln2 = {dd(LN2)};")
print(f"inline constexpr DoubleDouble InverseLn2 = {dd(1 / LN2)};")
for n in (3, 5, 6, 7, 24, 120):
    print(f"inline constexpr DoubleDouble Inverse{n} = {dd(D(1) / n)};")
print()
table("SinOfStep", [sin_cos(D(j) / 32)[0] for j in range(26)], "sin(j/32), j = 0 .. 25")
table("CosOfStep", [sin_cos(D(j) / 32)[1] for j in range(26)], "cos(j/32), j = 0 .. 25")
table("ArctanOfStep", [arctan(D(j) / 32) for j in range(33)], "arctan(j/32), j = 0 .. 32")
table("Log2OfStep", [ln(1 + D(j) / 32) / LN2 for j in range(33)], "log2(1 + j/32), j = 0 .. 32")
table("Exp2MinusOneOfStep", [exp(D(j) / 32 * LN2) - 1 for j in range(-16, 17)],
      "2^(j/32) - 1, j = -16 .. 16")
print("}  // namespace soft_tables")
