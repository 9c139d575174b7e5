// SPDX-License-Identifier: GPL-3.0-or-later
#include "RealChars.h"

#include <algorithm>
#include <string_view>

#if defined(__EMSCRIPTEN__) || defined(PARAMCURVE_PORTABLE_REAL_CHARS)
#define REAL_CHARS_PORTABLE 1
#else
#define REAL_CHARS_PORTABLE 0
#endif

#if REAL_CHARS_PORTABLE

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "BitCast.h"
#include "DecimalText.h"

namespace {

std::to_chars_result Put(char* first, char* last, std::string_view text)
{
    if (text.size() > static_cast<std::size_t>(last - first))
        return {last, std::errc::value_too_large};
    return {std::copy(text.begin(), text.end(), first), std::errc()};
}

// A decimal of Count significant digits: Mantissa (10^(Count - 1) to
// 10^Count - 1) times 10^(Exponent - Count + 1), Exponent that of its first
// digit.
struct Digits {
    std::uint64_t Mantissa = 0;
    int Count = 1;
    int Exponent = 0;
};

std::uint64_t PowerOfTen(int n)
{
    std::uint64_t p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

// The nearest decimal of `count` digits (1 to 17) to a positive finite
// double, ties to even: the C library's printf rounds exactly.
Digits NearestDigits(double magnitude, int count)
{
    char text[48];
    std::snprintf(text, sizeof text, "%.*e", count - 1, magnitude);
    Digits digits;
    digits.Count = count;
    const char* p = text;
    for (; *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            digits.Mantissa = digits.Mantissa * 10 + std::uint64_t(*p - '0');
    }
    digits.Exponent = std::atoi(p + 1);
    return digits;
}

// The neighbour of the same count of digits above or below.
Digits Neighbour(Digits digits, bool up)
{
    if (up) {
        if (++digits.Mantissa == PowerOfTen(digits.Count)) {
            digits.Mantissa = PowerOfTen(digits.Count - 1);
            ++digits.Exponent;
        }
    } else if (digits.Mantissa-- == PowerOfTen(digits.Count - 1)) {
        digits.Mantissa = PowerOfTen(digits.Count) - 1;
        --digits.Exponent;
    }
    return digits;
}

std::string ExponentText(int exponent)
{
    std::string text(1, exponent < 0 ? '-' : '+');
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 10)
        text += '0';
    return text + std::to_string(magnitude);
}

// "1.25e+07", as printf's %e writes these digits.
std::string ScientificText(const Digits& digits)
{
    const std::string mantissa = std::to_string(digits.Mantissa);
    std::string text = mantissa.substr(0, 1);
    if (mantissa.size() > 1)
        text += '.' + mantissa.substr(1);
    return text + 'e' + ExponentText(digits.Exponent);
}

bool ReadsBackAs(const Digits& digits, double magnitude)
{
    return std::strtod(ScientificText(digits).c_str(), nullptr) == magnitude;
}

// A decimal of `count` digits that reads back as `magnitude`, the nearest
// one if several do. Where the double is a power of two the doubles below
// it lie half as far apart as those above, so the interval that reads back
// is lopsided: the nearest decimal may fall just outside on the near side
// while its neighbour on the far side lies within.
std::optional<Digits> RoundTripDigits(double magnitude, int count)
{
    const Digits nearest = NearestDigits(magnitude, count);
    if (ReadsBackAs(nearest, magnitude))
        return nearest;
    const bool powerOfTwo = (std::bit_cast<std::uint64_t>(magnitude) & ((std::uint64_t{1} << 52) - 1)) == 0;
    if (powerOfTwo) {
        for (const bool up : {true, false}) {
            const Digits next = Neighbour(nearest, up);
            if (ReadsBackAs(next, magnitude))
                return next;
        }
    }
    return std::nullopt;
}

// The fewest digits that read back, nearest among them. A count that does
// makes every larger one do too (the same decimal with a zero more), so the
// count is searched by halves; 17 digits always do.
Digits ShortestDigits(double magnitude)
{
    int low = 1;
    int high = 17;
    while (low < high) {
        const int middle = (low + high) / 2;
        if (RoundTripDigits(magnitude, middle))
            high = middle;
        else
            low = middle + 1;
    }
    return *RoundTripDigits(magnitude, low);
}

// The digits around the point; a whole number whose shortest digits stop
// before the units is written out exactly, as libstdc++ does ("as if by
// printf").
std::string FixedText(const Digits& digits, double magnitude)
{
    if (digits.Exponent - digits.Count + 1 >= 0) {
        char text[400];
        std::snprintf(text, sizeof text, "%.0f", magnitude);
        return text;
    }
    const std::string mantissa = std::to_string(digits.Mantissa);
    if (digits.Exponent < 0)
        return "0." + std::string(std::size_t(-digits.Exponent - 1), '0') + mantissa;
    const std::size_t whole = std::size_t(digits.Exponent) + 1;
    return mantissa.substr(0, whole) + '.' + mantissa.substr(whole);
}

std::string ShortestText(double value, std::chars_format format)
{
    const std::string sign = std::signbit(value) ? "-" : "";
    if (std::isnan(value))
        return sign + "nan";
    if (std::isinf(value))
        return sign + "inf";
    if (value == 0)
        return sign + (format == std::chars_format::scientific ? "0e+00" : "0");
    const double magnitude = std::fabs(value);
    const Digits digits = ShortestDigits(magnitude);
    const bool fixed = format == std::chars_format::fixed ||
                       (format == std::chars_format::general && digits.Exponent >= -4 && digits.Exponent < 6);
    return sign + (fixed ? FixedText(digits, magnitude) : ScientificText(digits));
}

}  // namespace

std::to_chars_result RealToChars(char* first, char* last, double value, std::chars_format format)
{
    return Put(first, last, ShortestText(value, format));
}

std::to_chars_result RealToChars(char* first, char* last, double value, std::chars_format format, int precision)
{
    const char* conversion = format == std::chars_format::scientific ? "%.*e"
                             : format == std::chars_format::fixed    ? "%.*f"
                                                                     : "%.*g";
    const int length = std::snprintf(nullptr, 0, conversion, precision, value);
    std::string text(std::size_t(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), conversion, precision, value);
    text.pop_back();
    return Put(first, last, text);
}

std::from_chars_result RealFromChars(const char* first, const char* last, double& value, std::chars_format format)
{
    return ReadDecimalDouble(first, last, value, format);
}

#else

std::to_chars_result RealToChars(char* first, char* last, double value, std::chars_format format)
{
    return std::to_chars(first, last, value, format);
}

std::to_chars_result RealToChars(char* first, char* last, double value, std::chars_format format, int precision)
{
    return std::to_chars(first, last, value, format, precision);
}

std::from_chars_result RealFromChars(const char* first, const char* last, double& value, std::chars_format format)
{
    return std::from_chars(first, last, value, format);
}

#endif
