// SPDX-License-Identifier: GPL-3.0-or-later
// Doubles to text and back exactly as libstdc++'s floating-point
// std::to_chars and std::from_chars give them, on every build: the texts of
// lesson files, fields, readouts and the clipboard are the desktop's, byte
// for byte, also in the browser, whose C++ library (Emscripten's) has no
// floating-point to_chars or from_chars.
//
// Natively these call the standard functions. Under Emscripten (or with
// PARAMCURVE_PORTABLE_REAL_CHARS, for the test that holds the two against
// each other) the digits come from the C library's correctly rounded printf
// and the reading from the engine's exact DecimalText.
//
// Only the forms the program writes: general, scientific and fixed (no hex).
#pragma once

#include <charconv>

// The shortest text that reads back as `value` (libstdc++'s rule for
// general: fixed where the first digit's decimal exponent is from -4 to 5,
// else scientific; fixed writes a whole number beyond the shortest digits
// out exactly, as printf's %.0f).
std::to_chars_result RealToChars(char* first, char* last, double value, std::chars_format format);

// `value` rounded to `precision` digits after the point (scientific, fixed)
// or to `precision` significant digits (general), as printf's %e, %f and %g.
std::to_chars_result RealToChars(char* first, char* last, double value, std::chars_format format, int precision);

// Reads a double as std::from_chars does: an optional "-", then digits with
// at most one "." and, as `format` allows, an exponent; or "inf",
// "infinity", "nan", "nan(...)". Out of range (an infinity, or 0 from digits
// that are not all 0) it says result_out_of_range and leaves `value` alone.
std::from_chars_result RealFromChars(const char* first, const char* last, double& value,
                                     std::chars_format format = std::chars_format::general);
