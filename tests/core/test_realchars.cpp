// SPDX-License-Identifier: GPL-3.0-or-later
// The reals' text as the browser's build forms it (RealChars.cpp compiled
// here with PARAMCURVE_PORTABLE_REAL_CHARS: printf's digits, the shortest
// search, the engine's own reading), held against libstdc++'s to_chars and
// from_chars on millions of doubles: random bits, powers of two and ten
// with their neighbours, integers, short decimals, and the values the
// program writes (window bounds up to 1e35 and below 1e-290, t, slider
// steps, pixel centres). Every text must be the same, byte for byte, and
// every reading the same double at the same place with the same error.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "RealChars.h"

namespace {

using Doubles = std::vector<double>;

struct Source {
    const char* Name;
    std::function<Doubles()> Make;
};

std::ostream& operator<<(std::ostream& out, const Source& source)
{
    return out << source.Name;
}

// Both neighbours too, where they are finite.
void WithNeighbours(Doubles& values, double value)
{
    values.push_back(value);
    values.push_back(std::nextafter(value, std::numeric_limits<double>::infinity()));
    values.push_back(std::nextafter(value, -std::numeric_limits<double>::infinity()));
}

Doubles RandomBits()
{
    std::mt19937_64 random(20261207);
    Doubles values;
    for (int i = 0; i < 400000; ++i)
        values.push_back(std::bit_cast<double>(random()));
    return values;
}

Doubles PowersOfTwo()
{
    Doubles values;
    for (int k = -1074; k <= 1023; ++k) {
        WithNeighbours(values, std::ldexp(1.0, k));
        values.push_back(-std::ldexp(1.0, k));
        // Three times a power: a significand of one bit more.
        if (k < 1022)
            values.push_back(std::ldexp(3.0, k));
    }
    return values;
}

Doubles PowersOfTen()
{
    Doubles values;
    for (int k = -325; k <= 309; ++k) {
        const double power = std::strtod(("1e" + std::to_string(k)).c_str(), nullptr);
        if (std::isfinite(power) && power != 0)
            WithNeighbours(values, power);
        // The halves between the digits: 5, 15, 25 times a power.
        for (const char* mantissa : {"5e", "1.5e", "2.5e", "9.5e"}) {
            const double half = std::strtod((mantissa + std::to_string(k)).c_str(), nullptr);
            if (std::isfinite(half) && half != 0)
                WithNeighbours(values, half);
        }
    }
    return values;
}

Doubles Integers()
{
    Doubles values;
    for (int i = 0; i <= 120000; ++i)
        values.push_back(i);
    std::mt19937_64 random(53);
    for (int i = 0; i < 100000; ++i) {
        const int bits = 1 + int(random() % 63);
        values.push_back(double(random() >> (64 - bits)));
    }
    for (std::int64_t i = -2000; i <= 2000; ++i)
        values.push_back(double((std::int64_t{1} << 53) + i));
    return values;
}

// Decimals of 1 to 17 digits at any exponent, as a user or a file types
// them, read to their nearest double.
Doubles ShortDecimals()
{
    std::mt19937_64 random(17);
    Doubles values;
    for (int i = 0; i < 250000; ++i) {
        const int digits = 1 + int(random() % 17);
        std::string text = random() % 2 ? "-" : "";
        for (int d = 0; d < digits; ++d)
            text += char('0' + random() % 10);
        text += 'e' + std::to_string(int(random() % 640) - 330);
        const double value = std::strtod(text.c_str(), nullptr);
        if (std::isfinite(value))
            values.push_back(value);
    }
    return values;
}

// What the program writes: windows zoomed and panned from a few units to
// 1e35 and down below 1e-290, the centres of their pixels, t along a
// press, slider steps, points of the example curves.
Doubles ProgramValues()
{
    std::mt19937_64 random(500);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    Doubles values;
    for (int i = 0; i < 60000; ++i) {
        const double scale = std::pow(10.0, int(random() % 71) - 35);
        const double x1 = unit(random) * scale;
        const double x2 = x1 + std::fabs(unit(random)) * scale + scale * 1e-12;
        values.push_back(x1);
        values.push_back(x2);
        values.push_back(x1 + (x2 - x1) * (double(random() % 500) + 0.5) / 500);
        values.push_back(unit(random) * 1e-290 * double(1 + random() % 1000));
    }
    for (int n : {1, 7, 100, 1731}) {
        const double step = 2 * 3.141592653589793 / n;
        for (int i = 0; i <= n; ++i) {
            const double t = i * step;
            values.push_back(t);
            values.push_back(3 * std::cos(t));
            values.push_back(-1 / (1 + 0.8 * std::cos(t)) * std::sin(t));
        }
    }
    for (int i = 0; i <= 20000; ++i) {
        values.push_back(-10 + i * 0.1);
        values.push_back(i * 0.001);
        values.push_back(-std::pow(1.25, i % 400));
    }
    return values;
}

const Source Sources[] = {
    {"RandomBits", RandomBits}, {"PowersOfTwo", PowersOfTwo}, {"PowersOfTen", PowersOfTen},
    {"Integers", Integers},     {"ShortDecimals", ShortDecimals}, {"ProgramValues", ProgramValues},
};

struct Format {
    const char* Name;
    std::chars_format Value;
};

const Format Formats[] = {
    {"general", std::chars_format::general},
    {"scientific", std::chars_format::scientific},
    {"fixed", std::chars_format::fixed},
};

std::string Hex(double value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%a", value);
    return text;
}

// Counts the cases that differ and keeps the first few for the message.
class Differences {
public:
    void Note(const std::string& what)
    {
        if (++count_ <= 5)
            first_ << "\n  " << what;
    }
    int Count() const { return count_; }
    std::string First() const { return first_.str(); }

private:
    int count_ = 0;
    std::ostringstream first_;
};

std::string LibraryText(double value, std::chars_format format)
{
    char text[400];
    const auto written = std::to_chars(text, text + sizeof text, value, format);
    return std::string(text, written.ptr);
}

std::string LibraryText(double value, std::chars_format format, int precision)
{
    char text[400];
    const auto written = std::to_chars(text, text + sizeof text, value, format, precision);
    return std::string(text, written.ptr);
}

std::string OurText(double value, std::chars_format format)
{
    char text[400];
    const auto written = RealToChars(text, text + sizeof text, value, format);
    EXPECT_EQ(written.ec, std::errc());
    return std::string(text, written.ptr);
}

std::string OurText(double value, std::chars_format format, int precision)
{
    char text[400];
    const auto written = RealToChars(text, text + sizeof text, value, format, precision);
    EXPECT_EQ(written.ec, std::errc());
    return std::string(text, written.ptr);
}

// Reads `text` both ways in `format`; the same outcome or a difference noted.
void CompareReading(const std::string& text, std::chars_format format, Differences& differences)
{
    const char* first = text.data();
    const char* last = first + text.size();
    double library = -7.25;
    double ours = -7.25;
    const auto a = std::from_chars(first, last, library, format);
    const auto b = RealFromChars(first, last, ours, format);
    const bool same = a.ec == b.ec && a.ptr == b.ptr &&
                      (std::isnan(library) ? std::isnan(ours) && std::signbit(library) == std::signbit(ours)
                                           : std::bit_cast<std::uint64_t>(library) == std::bit_cast<std::uint64_t>(ours));
    if (!same)
        differences.Note("\"" + text + "\" format " + std::to_string(int(format)) + ": library " + Hex(library) +
                         " ec " + std::to_string(int(a.ec)) + " at " + std::to_string(a.ptr - first) + ", ours " +
                         Hex(ours) + " ec " + std::to_string(int(b.ec)) + " at " + std::to_string(b.ptr - first));
}

// The sanitizer build runs the comparisons many times slower: of the large
// sets it takes every fourth value. The plain build (check.sh's core alone)
// takes them all.
#if defined(__SANITIZE_ADDRESS__)
constexpr std::size_t SanitizerStride = 4;
#else
constexpr std::size_t SanitizerStride = 1;
#endif

Doubles Thinned(Doubles values)
{
    if (SanitizerStride == 1 || values.size() < 20000)
        return values;
    Doubles kept;
    for (std::size_t i = 0; i < values.size(); i += SanitizerStride)
        kept.push_back(values[i]);
    return kept;
}

class RealCharsOf : public testing::TestWithParam<Source> {
protected:
    void SetUp() override { values_ = Thinned(GetParam().Make()); }
    const Doubles& Values() const { return values_; }

private:
    Doubles values_;
};

TEST_P(RealCharsOf, ShortestTextIsTheLibrarys)
{
    for (const Format& format : Formats) {
        Differences differences;
        for (const double value : Values()) {
            const std::string expected = LibraryText(value, format.Value);
            const std::string ours = OurText(value, format.Value);
            if (ours != expected)
                differences.Note(Hex(value) + ": \"" + ours + "\", the library \"" + expected + "\"");
        }
        EXPECT_EQ(differences.Count(), 0) << format.Name << " of " << Values().size() << differences.First();
    }
}

TEST_P(RealCharsOf, TextOfAPrecisionIsTheLibrarys)
{
    Differences differences;
    const Doubles& values = Values();
    // Every scientific precision of the readout and the windows (0 to 16),
    // on a share of the values; general and fixed on fewer.
    for (std::size_t i = 0; i < values.size(); i += 7) {
        const int precision = int(i % 17);
        for (const auto& [format, limit] : {std::pair{std::chars_format::scientific, 17},
                                            std::pair{std::chars_format::general, 17},
                                            std::pair{std::chars_format::fixed, 4}}) {
            const int p = precision % limit;
            if (format == std::chars_format::fixed && std::fabs(values[i]) > 1e300)
                continue;  // the texts fit the buffer
            const std::string expected = LibraryText(values[i], format, p);
            const std::string ours = OurText(values[i], format, p);
            if (ours != expected)
                differences.Note(Hex(values[i]) + " precision " + std::to_string(p) + ": \"" + ours +
                                 "\", the library \"" + expected + "\"");
        }
    }
    EXPECT_EQ(differences.Count(), 0) << differences.First();
}

TEST_P(RealCharsOf, ReadingTheTextsIsTheLibrarys)
{
    Differences differences;
    const Doubles& values = Values();
    for (std::size_t i = 0; i < values.size(); i += 3) {
        const double value = values[i];
        for (const Format& written : Formats) {
            if (written.Value == std::chars_format::fixed && std::fabs(value) > 1e30)
                continue;
            const std::string text = LibraryText(value, written.Value);
            for (const Format& read : Formats)
                CompareReading(text, read.Value, differences);
        }
        // Digits cut short and too many: each reads to its nearest.
        CompareReading(LibraryText(value, std::chars_format::scientific, int(i % 25)), std::chars_format::general,
                       differences);
    }
    EXPECT_EQ(differences.Count(), 0) << differences.First();
}

INSTANTIATE_TEST_SUITE_P(Sources, RealCharsOf, testing::ValuesIn(Sources),
                         [](const testing::TestParamInfo<Source>& info) { return std::string(info.param.Name); });

// Texts that are numbers in part, or not at all: where reading stops, what
// each format takes, the limits of the range, the special values.
struct ReadingCase {
    const char* Name;
    const char* Text;
};

std::ostream& operator<<(std::ostream& out, const ReadingCase& c)
{
    return out << c.Name;
}

class RealFromCharsOf : public testing::TestWithParam<ReadingCase> {};

TEST_P(RealFromCharsOf, ReadsAsTheLibrary)
{
    Differences differences;
    for (const Format& format : Formats)
        CompareReading(GetParam().Text, format.Value, differences);
    EXPECT_EQ(differences.Count(), 0) << differences.First();
}

const ReadingCase ReadingCases[] = {
    {"PlusSign", "+1"},
    {"LeadingSpace", " 1"},
    {"ExponentWithoutDigits", "1e"},
    {"ExponentSignWithoutDigits", "1e+"},
    {"NoWholeDigits", ".5"},
    {"NoFractionDigits", "5."},
    {"PointAlone", "."},
    {"MinusAlone", "-"},
    {"MinusPointExponent", "-.e1"},
    {"ExponentAlone", "e5"},
    {"CapitalExponent", "1E5"},
    {"ExponentThenLetters", "1.5e0300x"},
    {"LeadingZeros", "00012"},
    {"NegativeZero", "-0"},
    {"Infinity", "infinity"},
    {"InfinityCutShort", "INFin"},
    {"NotANumber", "nan"},
    {"NegativeNotANumber", "-nan"},
    {"NotANumberWithPayload", "nan(a_1)"},
    {"NotANumberUnclosed", "nan("},
    {"NotANumberBadPayload", "nan(a-1)"},
    {"Hexadecimal", "0x1p3"},
    {"Overflow", "1e400"},
    {"NegativeOverflow", "-1.8e308"},
    {"LargestDouble", "1.7976931348623157e308"},
    {"HalfwayToInfinity", "1.7976931348623158e308"},
    {"Underflow", "1e-400"},
    {"BelowHalfTheLeastDenormal", "2e-324"},
    {"AboveHalfTheLeastDenormal", "3e-324"},
    {"JustAboveHalfTheLeastDenormal", "2.4703282292062328e-324"},
    {"JustBelowHalfTheLeastDenormal", "2.4703282292062327e-324"},
    {"ZeroWithHugeExponent", "0e999999999999"},
    {"LongDigitsAtATie", "9007199254740993.00000000000000000000000000000000000000000000000001"},
    {"LongDigitsBelowATie", "9007199254740992.99999999999999999999999999999999999999999999999999"},
    {"HugeExponent", "1e99999999999999999999"},
    {"TinyExponent", "1e-99999999999999999999"},
};

INSTANTIATE_TEST_SUITE_P(Texts, RealFromCharsOf, testing::ValuesIn(ReadingCases),
                         [](const testing::TestParamInfo<ReadingCase>& info) { return std::string(info.param.Name); });

// Random strings of the characters numbers are made of, in every format.
TEST(RealFromChars, ReadsStringsOfNumberCharactersAsTheLibrary)
{
    const std::string alphabet = "0123456789012345678901234567890123456789..eE+-infaty()_x";
    std::mt19937_64 random(31);
    Differences differences;
    for (int i = 0; i < 300000; ++i) {
        std::string text;
        const int length = 1 + int(random() % 14);
        for (int c = 0; c < length; ++c)
            text += alphabet[random() % alphabet.size()];
        for (const Format& format : Formats)
            CompareReading(text, format.Value, differences);
    }
    EXPECT_EQ(differences.Count(), 0) << differences.First();
}

// A buffer too short is refused as the library refuses it.
TEST(RealToChars, RefusesABufferTooShort)
{
    char text[4];
    const auto shortest = RealToChars(text, text + sizeof text, 0.125, std::chars_format::general);
    EXPECT_EQ(shortest.ec, std::errc::value_too_large);
    EXPECT_EQ(shortest.ptr, text + sizeof text);
    const auto rounded = RealToChars(text, text + sizeof text, 0.125, std::chars_format::scientific, 2);
    EXPECT_EQ(rounded.ec, std::errc::value_too_large);
}

}  // namespace
