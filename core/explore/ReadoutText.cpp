// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReadoutText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

#include "RealChars.h"
#include "RealText.h"

namespace {

// RealToChars rather than printf: the toolkit sets the user's locale, whose
// decimal point may already be a comma.
std::string ToChars(double value, std::chars_format format, int precision)
{
    char buffer[64];
    const auto result = RealToChars(buffer, buffer + sizeof buffer, value, format, precision);
    return std::string(buffer, result.ptr);
}

// "1.2500" -> "1.25", "3.000" -> "3".
void DropTrailingZeros(std::string& digits)
{
    if (digits.find('.') == std::string::npos)
        return;
    digits.erase(digits.find_last_not_of('0') + 1);
    if (digits.back() == '.')
        digits.pop_back();
}

}  // namespace

std::string ReadoutNumber(double value, int significant)
{
    significant = std::clamp(significant, 1, MaxReadoutDigits);
    // Rounded once, to the digits shown; the exponent is the rounded one
    // (9.999996 to six digits is 10, exponent 1).
    const std::string scientific = ToChars(value, std::chars_format::scientific, significant - 1);
    const std::size_t e = scientific.find('e');
    const int exponent = std::atoi(scientific.c_str() + e + 1);
    const bool negative = scientific.front() == '-';
    std::string digits;  // the significant digits alone
    for (std::size_t i = 0; i < e; ++i) {
        if (scientific[i] >= '0' && scientific[i] <= '9')
            digits += scientific[i];
    }

    std::string text = negative ? "-" : "";
    if (exponent >= -4 && exponent < 6) {
        // The same digits around the point, zeros where the rounding left none.
        if (exponent < 0) {
            text += "0." + std::string(std::size_t(-exponent - 1), '0') + digits;
        } else {
            const std::size_t whole = std::size_t(exponent) + 1;
            if (digits.size() < whole)
                digits.append(whole - digits.size(), '0');
            text += digits.substr(0, whole);
            if (digits.size() > whole)
                text += '.' + digits.substr(whole);
        }
    } else {
        text += digits.substr(0, 1);
        if (digits.size() > 1)
            text += '.' + digits.substr(1);
    }
    DropTrailingZeros(text);
    if (exponent < -4 || exponent >= 6)
        text += 'e' + std::to_string(exponent);
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

std::optional<double> ReadReadoutNumber(const std::string& text)
{
    std::string plain = text;
    std::replace(plain.begin(), plain.end(), ',', '.');
    double value = 0.0;
    const char* last = plain.data() + plain.size();
    const auto result = RealFromChars(plain.data(), last, value, std::chars_format::general);
    if (plain.empty() || result.ec != std::errc() || result.ptr != last)
        return std::nullopt;
    return value;
}

ReadoutZero ZeroOfWindow(double x1, double x2, double y1, double y2, int width, int height)
{
    // In extended precision: the span of -1e308 .. 1e308 is beyond a double.
    const auto below = [](double from, double to, int pixels) {
        if (pixels <= 0)
            return 0.0;
        const long double span = std::fabs((long double)to - (long double)from);
        return double(span / pixels * ZeroPixelFraction);
    };
    return {below(x1, x2, width), below(y1, y2, height)};
}

std::string ReadoutCoordinate(double value, int significant, double zero)
{
    if (std::fabs(value) < zero)
        return "0";
    return ReadoutNumber(value, significant);
}

std::string PenReadoutText(double t, double x, double y, const ReadoutZero& zero)
{
    return "t = " + ReadoutNumber(t, PenReadoutDigits) + "   x = " + ReadoutCoordinate(x, PenReadoutDigits, zero.X) +
           "   y = " + ReadoutCoordinate(y, PenReadoutDigits, zero.Y);
}

std::string MouseReadoutText(double x, int xDigits, double y, int yDigits, const ReadoutZero& zero)
{
    return "x = " + ReadoutCoordinate(x, xDigits, zero.X) + "   y = " + ReadoutCoordinate(y, yDigits, zero.Y);
}

int DistinctDigits(double before, double here, double after, const std::function<bool(double)>& readsBack)
{
    for (int digits = 1; digits < MaxReadoutDigits; ++digits) {
        const std::string text = ReadoutNumber(here, digits);
        if (text == ReadoutNumber(before, digits) || text == ReadoutNumber(after, digits))
            continue;
        if (readsBack) {
            const std::optional<double> read = ReadReadoutNumber(text);
            if (!read || !readsBack(*read))
                continue;
        }
        return digits;
    }
    return MaxReadoutDigits;
}

std::string CopiedShownPoint(double t, double x, double y, const ReadoutZero& zero)
{
    return ReadoutNumber(t, PenReadoutDigits) + '\t' + ReadoutCoordinate(x, PenReadoutDigits, zero.X) + '\t' +
           ReadoutCoordinate(y, PenReadoutDigits, zero.Y);
}

std::string CopiedExactPoint(double t, double x, double y)
{
    return ShortestText(t) + ';' + ShortestText(x) + ';' + ShortestText(y);
}

