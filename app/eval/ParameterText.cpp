// SPDX-License-Identifier: GPL-3.0-or-later
#include "ParameterText.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

#include "DecimalText.h"
#include "HexDigit.h"

namespace {

// The hexadecimal digits after "0x" as a DecimalValue (a binary one here):
// the first 128 significant bits exactly, any further non-zero bit as a
// sticky bit, then rounded once by NearestDouble.
bool ReadHexadecimal(std::string_view text, bool negative, double& value)
{
    using U128 = unsigned __int128;
    U128 bits = 0;
    int kept = 0;           // significant bits held in `bits`
    long long scale = 0;    // the value is bits * 2^scale (before the exponent)
    bool sticky = false;
    bool seenDigit = false;
    bool point = false;
    std::size_t i = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        const int d = HexDigit(c);
        if (d < 0)
            break;
        seenDigit = true;
        if (kept <= 124) {
            bits = (bits << 4) | static_cast<unsigned>(d);
            if (bits != 0)
                kept += kept == 0 ? std::bit_width(static_cast<unsigned>(d)) : 4;
            if (point)
                scale -= 4;
        } else {
            sticky = sticky || d != 0;
            if (!point)
                scale += 4;
        }
    }
    if (!seenDigit)
        return false;
    if (i < text.size()) {
        if (text[i] != 'p' && text[i] != 'P')
            return false;
        ++i;
        const bool minus = i < text.size() && text[i] == '-';
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        if (i == text.size())
            return false;
        long long e = 0;
        for (; i < text.size(); ++i) {
            if (text[i] < '0' || text[i] > '9')
                return false;
            e = std::min<long long>(e * 10 + (text[i] - '0'), 1000000);
        }
        scale += minus ? -e : e;
    }
    DecimalValue v;
    v.Negative = negative;
    if (bits != 0) {
        v.Zero = false;
        const auto high = static_cast<std::uint64_t>(bits >> 64);
        const int shift = high != 0 ? std::countl_zero(high)
                                    : 64 + std::countl_zero(static_cast<std::uint64_t>(bits));  // bit 127 set after this
        bits <<= shift;
        scale -= shift;
        v.Whole = static_cast<std::uint64_t>(bits >> 64);
        v.Below = static_cast<std::uint64_t>(bits) | (sticky ? 1 : 0);
        // bits * 2^scale = (Whole + Below / 2^64) * 2^(scale + 64)
        const long long top = scale + 64;
        v.Scale = static_cast<int>(std::max<long long>(-DecimalHuge, std::min<long long>(DecimalHuge, top)));
    }
    value = NearestDouble(v);
    return std::isfinite(value);
}

}  // namespace

bool ReadParameter(std::string_view text, double& value)
{
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return ReadHexadecimal(text.substr(2), negative, value);
    // Decimal: digits with at most one point and an optional exponent, and
    // nothing after them ("inf" and "nan" are no values of t).
    if (text.empty() || !(text[0] == '.' || (text[0] >= '0' && text[0] <= '9')))
        return false;
    DecimalValue decimal;
    int special = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    const std::from_chars_result read = ReadDecimalValue(first, last, decimal, special, std::chars_format::general);
    if (read.ec != std::errc() || read.ptr != last || special != 0)
        return false;
    decimal.Negative = negative;
    value = NearestDouble(decimal);
    return std::isfinite(value);
}
