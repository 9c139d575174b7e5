// SPDX-License-Identifier: GPL-3.0-or-later
// The value of a hexadecimal digit in either case, as in colours
// ("#0000C8"), JSON's "\u00e1" and hexadecimal numbers ("0x1.8p1"); -1 for
// any other character.
#pragma once

constexpr int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
