// SPDX-License-Identifier: GPL-3.0-or-later
// The JSON of a lesson file, read into a nlohmann::json value exactly as
// lesson files have always been read, so that no file that opened before
// is refused now and every refusal names the same place. Beyond RFC 8259
// that takes:
//   - a backslash before any other character, as that character ("\a" is
//     "a"), and "\ud800" without its partner, kept in its three UTF-8
//     bytes for the text checks to refuse;
//   - control characters within a text as they are (the text checks
//     refuse them where they matter);
//   - numbers such as "1.", ".5" and "-.5"; every number is a double, and
//     -0 is 0; one beyond a double's range, or one so small that it would
//     be 0, is refused;
//   - a second byte order mark first, when something follows it;
//   - a key given twice: the last one holds.
// A text without any backslash loses a byte order mark at its start.
// Only an object or an array is a document. Nesting deeper than
// MaxJsonDepth is refused before it is followed, and nothing recurses, so
// no input can exhaust the stack.
#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string_view>

inline constexpr std::size_t MaxJsonDepth = 1024;

enum class JsonError {
    None,
    UnterminatedObject,     // not a comma or } after a member
    MissingNameSeparator,   // no colon after a key
    UnterminatedArray,      // the text ends within an array
    MissingValueSeparator,  // not a comma or ] after an element
    IllegalValue,           // not a value, or not an object or array first
    TerminationByNumber,    // the text ends within a number
    IllegalNumber,
    IllegalEscapeSequence,
    IllegalUtf8String,      // a character in a text cut short by the end
    UnterminatedString,
    MissingObject,          // a comma before the closing bracket
    DeepNesting,
    GarbageAtEnd,
};

struct JsonReading {
    nlohmann::json Value;  // an object or an array, when there is no Error
    JsonError Error = JsonError::None;
    // Where reading stopped, in bytes: just past the character it could
    // not take (at it for GarbageAtEnd). May be one past the end.
    std::size_t Offset = 0;
};

JsonReading ReadJson(std::string_view text);
