// SPDX-License-Identifier: GPL-3.0-or-later
#include "RealText.h"

#include <string>

#include "RealChars.h"

std::string ShortestText(double value)
{
    char buffer[32];
    const auto result = RealToChars(buffer, buffer + sizeof buffer, value, std::chars_format::general);
    return std::string(buffer, result.ptr);
}

std::string FormulaText(double value)
{
    // The shortest digits that read back as `value`, then written out in
    // plain decimals: 3e+30 is "3" and thirty zeros, not the double's exact
    // 2999999999999999778178897805312.
    char buffer[32];
    const auto written = RealToChars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    const std::string scientific(buffer, written.ptr);
    const std::size_t e = scientific.find('e');
    std::string digits;
    bool negative = false;
    for (std::size_t i = 0; i < e; ++i) {
        if (scientific[i] == '-')
            negative = true;
        else if (scientific[i] != '.')
            digits += scientific[i];
    }
    const int exponent = std::stoi(scientific.substr(e + 1));
    // The point stands after digit `point` (counted from the first).
    const long point = long(exponent) + 1;
    std::string text;
    if (point <= 0) {
        text = "0." + std::string(std::size_t(-point), '0') + digits;
    } else if (std::size_t(point) >= digits.size()) {
        text = digits + std::string(std::size_t(point) - digits.size(), '0');
    } else {
        text = digits.substr(0, std::size_t(point)) + '.' + digits.substr(std::size_t(point));
    }
    // Trailing zeros after a point (scientific digits have none, but 0 has).
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.')
            text.pop_back();
    }
    return negative ? '-' + text : text;
}
