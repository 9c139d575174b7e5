// SPDX-License-Identifier: GPL-3.0-or-later
// UTF-8 as lesson files have always been taken: a character is valid when
// it is the shortest form of a code point up to U+10FFFF that is not a
// surrogate (noncharacters such as U+FFFF are characters). Each byte that
// starts no valid character stands for one character of its own, U+FFFD,
// and reading goes on at the next byte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

inline constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

struct Utf8Char {
    enum Kind { Valid, Invalid, CutShort };
    Kind Is = Invalid;
    std::size_t Length = 1;  // bytes of a valid character; else 1
    char32_t Code = 0xFFFD;  // of a valid character
};

// The character at `at` (< text.size()). CutShort: its first bytes, as
// far as the text goes, and the text ends before it does.
// `surrogates` takes a surrogate's three bytes as one character, as the
// lesson reader keeps an escaped "\ud800" that has no partner.
Utf8Char NextUtf8(std::string_view text, std::size_t at, bool surrogates = false);

// Whether every character is valid. A character cut short by the end
// passes: the JSON reader then stops at it and says where.
bool IsUtf8(std::string_view text);

// The characters of a line as an editor counts columns: in UTF-16 units,
// a character beyond U+FFFF as two, an invalid byte as one, a byte order
// mark at the start as none.
std::size_t Utf16Length(std::string_view text);

// The text with each invalid byte as U+FFFD and a character cut short by
// the end left out: what is written into a file is always UTF-8.
std::string ValidUtf8(std::string_view text);

// A code point in UTF-8; a surrogate too, in its three bytes.
void AppendUtf8(std::string& out, char32_t code);
