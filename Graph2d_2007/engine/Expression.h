// SPDX-License-Identifier: GPL-3.0-or-later
// The expression engine: formula text -> compact string -> postfix program ->
// value. Plain C++, no toolkit; the plot state is the evaluation context.
//
//   NormalizeExpression  text as typed -> compact string (or "Chybny vyraz")
//   CompileExpression    text -> 256-cell postfix program, outcome in errorText
//   EvaluatePostfix      runs a program against the variable slots of the plot state
//   EvaluateExpression   compile + evaluate in one call
//
// Formula errors are message texts in errorText, never exceptions. Floating-
// point faults (overflow, invalid operation, division by zero) are thrown as
// FloatFault and pass out of every entry.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "PlotState.h"
#include "RealArith.h"

// Messages, UTF-8. The first two are compile messages and block evaluation;
// "Chybný výraz" (with diacritics) is the evaluator's and does not.
inline constexpr char SyntaxErrorText[] = "Chybny vyraz";
inline constexpr char NumberErrorText[] = "Chybne cislo";
inline constexpr char StructureErrorText[] = "Chybný výraz";
inline constexpr char DivisionByZeroText[] = "Dělení nulou";
inline constexpr char PowerBaseErrorText[] = "Nepřípustný základ reálné mocniny";
inline constexpr char LogArgumentErrorText[] = "Nepřípustný argument logaritmu";
inline constexpr char TangentErrorText[] = "Nedefinovaný tangens";
inline constexpr char SqrtArgumentErrorText[] = "Záporný argument odmocniny";
inline constexpr char ArcsinArgumentErrorText[] = "Nepřípustný argument arcsin";
inline constexpr char ArccosArgumentErrorText[] = "Nepřípustný argument arccos";
inline constexpr char FactorialArgumentErrorText[] = "Nepřípustný argument faktoriálu";

// Code bytes of the compact string; the same values tag the function cells.
enum FunctionCode : unsigned char {
    CodeNegate = 0xC7,
    CodeSin = 0xC8,
    CodeCos = 0xC9,
    CodeExp = 0xCA,
    CodeLn = 0xCB,
    CodeArctan = 0xCC,
    CodeTan = 0xCD,
    CodeSqr = 0xCE,
    CodeSqrt = 0xCF,
    CodeAbs = 0xD0,
    CodeArcsin = 0xD1,
    CodeArccos = 0xD2,
    CodeFa = 0xD3,
};

inline constexpr unsigned char NumberTag = '$';     // number literal or pi
inline constexpr unsigned char BadNumberTag = '#';  // literal that does not convert
inline constexpr unsigned char EndTag = '%';        // first such cell ends a program

struct PostfixCell {
    unsigned char Tag;
    double Value;  // the number of a "$" cell, 0 in every other cell
};

inline constexpr std::size_t ProgramCells = 256;
inline constexpr std::size_t MaxCodeCells = ProgramCells - 1;  // one end cell always remains
inline constexpr std::size_t OperatorStackDepth = 255;
using PostfixProgram = std::array<PostfixCell, ProgramCells>;

// The 64-bit real nearest to pi, held by every "P" cell.
inline constexpr double PiValue = 3.14159265358979323846;

// The extended value nearest to 10^-15; every test against it is made in
// extended precision, so the 64-bit 1e-15 (slightly larger) passes it.
inline constexpr Extended ZeroTolerance = 1e-15L;
#if EXTENDED_IN_SOFTWARE
static_assert(ZeroTolerance.Significand == 0x901D7CF73AB0ACD9u && ZeroTolerance.SignExponent == 0x3FCD,
              "the x87's 1e-15L, also where long double is binary128");
#endif

// What EvaluatePostfix returns with any message other than the "two or more
// values left" case of "Chybný výraz" (which returns the top value): a compile
// message at entry, a domain error, and a program refused where it goes wrong
// (an operator short of operands, an end with no value, an unknown tag, a
// non-finite number, no end cell).
inline constexpr double FailedResult = 0.0;

// Returns the compact string, or exactly SyntaxErrorText. Pure; the empty text
// is refused like any faulty formula.
std::string NormalizeExpression(const std::string& text);

// Reads the token at `position` (counted from 1) of a compact string. False
// past the end. A number (digits and ".") gives tag "$" with its value and
// length, or "#" when it does not convert (two or more "."); any other byte is
// a one-character token tagged with itself (value 0, length 1). A literal
// beyond the 64-bit range throws the overflow fault.
bool ScanToken(const std::string& compact, std::size_t position, unsigned char& tag, double& value,
               std::size_t& length);

// Writes errorText on every return: empty on success (and then the whole
// program), else SyntaxErrorText or NumberErrorText with `program` untouched.
// A formula needing more than 255 cells of code or more than 255 pending
// operator entries is refused with SyntaxErrorText. `draw` is not read.
void CompileExpression(PlotState& draw, const std::string& text, std::string& errorText,
                       PostfixProgram& program);

// Returns at once (FailedResult) while errorText holds a compile message;
// otherwise clears it, runs the program and sets a message on failure. The
// caller's program is never changed. Reads only the variable slots of `draw`.
double EvaluatePostfix(PlotState& draw, const PostfixProgram& program, std::string& errorText);

double EvaluateExpression(PlotState& draw, const std::string& text, std::string& errorText);

// x^n by |n| multiplications, each rounded to 64 bits; a negative n takes the
// reciprocal of the positive power. Faults: overflow of a partial product,
// division by zero when the positive power underflowed to 0.
double IntPower(double x, std::int32_t n);

// n! in wrapped 32-bit arithmetic (low 32 bits read as signed): exact up to
// 12, 13 gives 1932053504, 34 and above give 0. 1 for n < 2.
std::int32_t Factorial(std::int32_t n);
