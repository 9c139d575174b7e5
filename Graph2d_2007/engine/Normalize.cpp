// SPDX-License-Identifier: GPL-3.0-or-later
// Normalization: upper case, decimal comma to point, the character test, the
// syntax pass, then the rewrite into the compact string (one byte per name,
// unary minus as its own code, unary plus dropped).
//
// The formula language, case-insensitive, with no spaces; the compiler
// (Compile.cpp) gives it this structure:
//
//   formula   = [ "+" | "-" ] term { ( "+" | "-" ) term } ;
//   term      = power { ( "*" | "/" ) power } ;
//   power     = factor { "^" factor } ;             2^3^2 is (2^3)^2
//   factor    = number | variable | "PI" | function "(" formula ")"
//             | "(" formula ")" ;
//   function  = "ABS" | "SIN" | "SQR" | "SQRT" | "COS" | "ARCTAN" | "ARCSIN"
//             | "ARCCOS" | "EXP" | "LN" | "TAN" | "FA" ;
//   variable  = "K" | "N" | "R" | "S" | "T" | "X" | "Y" | "Z" ;
//   number    = digits [ ( "." | "," ) digits ] ;   no exponent
//   digits    = digit { digit } ;
//
// A sign stands only at the start or right after "(" and takes the whole
// term after it: -t^2 is -(t^2), -2*3 is -(2*3), -2+3 is (-2)+3.
//
// The normalizer checks what can be seen locally and refuses the rest with
// "Chybny vyraz": only the characters above; a run of name letters is one
// variable, "PI" or a function followed by "("; an operator is not followed
// by ")" or another operator; a "." has a digit or "." on each side; there
// are as many "(" as ")". What only the whole formula shows (")(", "1.2.3",
// "2+") is left to the compiler and the evaluator.
#include <cstring>

#include "Expression.h"

namespace {

struct NameCode {
    const char* Name;
    unsigned char Code;
};

// The names a letter run may form; the last, "PI", is the constant.
constexpr NameCode FunctionNames[] = {
    {"ABS", CodeAbs},       {"SIN", CodeSin},       {"SQR", CodeSqr},       {"SQRT", CodeSqrt},
    {"COS", CodeCos},       {"ARCTAN", CodeArctan}, {"ARCSIN", CodeArcsin}, {"ARCCOS", CodeArccos},
    {"EXP", CodeExp},       {"LN", CodeLn},         {"TAN", CodeTan},       {"FA", CodeFa},
    {"PI", 'P'},
};
constexpr std::size_t FunctionCount = 12;  // the names before "PI"

bool IsDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

bool IsOperator(unsigned char c)
{
    return c == '+' || c == '-' || c == '*' || c == '/' || c == '^';
}

bool IsNameLetter(unsigned char c)
{
    return c != 0 && std::strchr("ABCEFIKLNOPQRSTXYZ", c) != nullptr;
}

bool IsRunStarter(unsigned char c)
{
    return c != 0 && std::strchr("ACEFKLNPRSTXYZ", c) != nullptr;
}

bool IsVariable(unsigned char c)
{
    return c != 0 && std::strchr("KNRSTXYZ", c) != nullptr;
}

bool IsAllowed(unsigned char c)
{
    return IsDigit(c) || IsNameLetter(c) || IsOperator(c) || c == '(' || c == ')' || c == '.';
}

// The character at a 0-based index; 0 (no character of any class) outside.
unsigned char At(const std::string& s, std::size_t i)
{
    return i < s.size() ? static_cast<unsigned char>(s[i]) : 0;
}

std::size_t RunLength(const std::string& s, std::size_t start)
{
    std::size_t end = start;
    while (IsNameLetter(At(s, end)))
        ++end;
    return end - start;
}

// Index into FunctionNames, or -1 when the run is no name.
int FindName(const std::string& s, std::size_t start, std::size_t length)
{
    for (std::size_t k = 0; k < std::size(FunctionNames); ++k) {
        const char* name = FunctionNames[k].Name;
        if (std::strlen(name) == length && s.compare(start, length, name) == 0)
            return static_cast<int>(k);
    }
    return -1;
}

bool PassesSyntax(const std::string& s)
{
    std::size_t opening = 0;
    std::size_t closing = 0;
    std::size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = At(s, i);
        if (c == '(') {
            ++opening;
        } else if (c == ')') {
            ++closing;
        } else if (IsOperator(c)) {
            const unsigned char next = At(s, i + 1);
            if (next == ')' || IsOperator(next))
                return false;
        } else if (c == '.') {
            const unsigned char previous = i > 0 ? At(s, i - 1) : 0;
            const unsigned char next = At(s, i + 1);
            if (!(IsDigit(previous) || previous == '.') || !(IsDigit(next) || next == '.'))
                return false;
        } else if (IsDigit(c)) {
            // nothing to test
        } else if (IsRunStarter(c)) {
            const std::size_t length = RunLength(s, i);
            if (length == 1) {
                if (!IsVariable(c))
                    return false;
            } else {
                const int name = FindName(s, i, length);
                if (name < 0)
                    return false;
                // Functions take their argument in parentheses; "PI" stands alone.
                if (static_cast<std::size_t>(name) < FunctionCount && At(s, i + length) != '(')
                    return false;
            }
            i += length;
            continue;
        } else {
            return false;  // a run beginning with B, I, O or Q
        }
        ++i;
    }
    return opening == closing;
}

std::string Rewrite(const std::string& s)
{
    std::string compact;
    compact.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = At(s, i);
        const bool signPosition = i == 0 || At(s, i - 1) == '(';
        if (c == '+' && signPosition) {
            ++i;  // a unary plus vanishes
        } else if (c == '-' && signPosition) {
            compact += static_cast<char>(CodeNegate);
            ++i;
        } else if (IsNameLetter(c)) {
            // The syntax pass has made every run exactly one variable or name.
            const std::size_t length = RunLength(s, i);
            if (length == 1)
                compact += static_cast<char>(c);
            else
                compact += static_cast<char>(FunctionNames[FindName(s, i, length)].Code);
            i += length;
        } else {
            compact += static_cast<char>(c);
            ++i;
        }
    }
    return compact;
}

}  // namespace

std::string NormalizeExpression(const std::string& text)
{
    if (text.empty())
        return SyntaxErrorText;

    std::string s = text;
    for (char& c : s) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    for (char& c : s) {
        if (c == ',')
            c = '.';
        if (!IsAllowed(static_cast<unsigned char>(c)))
            return SyntaxErrorText;
    }
    if (!PassesSyntax(s))
        return SyntaxErrorText;
    return Rewrite(s);
}
