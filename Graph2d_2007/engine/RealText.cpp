// SPDX-License-Identifier: GPL-3.0-or-later
#include "RealText.h"

#include <charconv>

std::string ShortestText(double value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general);
    return std::string(buffer, result.ptr);
}

std::string FormulaText(double value)
{
    // A fixed double has up to 309 digits before the point, 1074 after.
    char buffer[1100];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return std::string(buffer, result.ptr);
}
