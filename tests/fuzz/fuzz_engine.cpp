// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target over the expression engine. Each input is used three
// times: as formula text (normalize, compile, evaluate, compile-and-evaluate),
// as a hand-made postfix program (tags and values from the bytes), and as an
// integer power checked against the plain loop of rounded products. Every
// program is also prepared, and the prepared form must give exactly what
// EvaluatePostfix gives. Floating-point faults are expected outcomes; any
// broken invariant aborts.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

#include "Expression.h"
#include "IntegerPowers.h"
#include "PreparedProgram.h"

namespace {

[[noreturn]] void Breach(const char* what, const std::string& detail = std::string())
{
    std::fprintf(stderr, "invariant broken: %s %s\n", what, detail.c_str());
    std::abort();
}

bool IsCompactByte(unsigned char c)
{
    if ((c >= CodeNegate && c <= CodeFa) || (c >= '0' && c <= '9'))
        return true;
    return c != 0 && std::strchr(".+-*/^()KNRSTXYZP", c) != nullptr;
}

bool IsCompileMessage(const std::string& s)
{
    return s == SyntaxErrorText || s == NumberErrorText;
}

bool IsEvaluationMessage(const std::string& s)
{
    for (const char* m : {StructureErrorText, DivisionByZeroText, PowerBaseErrorText, LogArgumentErrorText,
                          TangentErrorText, SqrtArgumentErrorText, ArcsinArgumentErrorText,
                          ArccosArgumentErrorText, FactorialArgumentErrorText}) {
        if (s == m)
            return true;
    }
    return false;
}

bool SameProgram(const PostfixProgram& a, const PostfixProgram& b)
{
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].Tag != b[i].Tag || std::memcmp(&a[i].Value, &b[i].Value, sizeof(double)) != 0)
            return false;
    }
    return true;
}

PostfixProgram Sentinel()
{
    PostfixProgram p;
    p.fill(PostfixCell{'Q', 42.0});
    return p;
}

struct Result {
    double Value = 0.0;
    std::string Message;
    std::optional<FloatFaultKind> Fault;
};

PlotState& Draw()
{
    static PlotState draw;
    return draw;
}

std::string Describe(const Result& r)
{
    char value[64];
    std::snprintf(value, sizeof value, "%a", r.Value);
    return std::string(value) + " [" + r.Message + "] " + (r.Fault ? FloatFaultMessage(*r.Fault) : "no fault");
}

// The prepared form against the reference: same bits, message and fault.
void ComparePrepared(const PostfixProgram& program, double t, const Result& expected)
{
    PlotState& draw = Draw();
    const PreparedProgram prepared = PrepareProgram(program);
    draw.VarT = t;
    draw.ErrorText = "left over";
    Result actual;
    try {
        actual.Value = EvaluatePrepared(draw, prepared, draw.ErrorText);
    } catch (const FloatFault& fault) {
        actual.Fault = fault.Kind();
    }
    actual.Message = draw.ErrorText;
    if (actual.Fault != expected.Fault || actual.Message != expected.Message ||
        (!expected.Fault && std::memcmp(&actual.Value, &expected.Value, sizeof(double)) != 0))
        Breach("the prepared form differs", Describe(actual) + " against " + Describe(expected));

    for (const char* blocking : {SyntaxErrorText, NumberErrorText}) {
        draw.ErrorText = blocking;
        if (EvaluatePrepared(draw, prepared, draw.ErrorText) != FailedResult || draw.ErrorText != blocking)
            Breach("a compile message did not block the prepared evaluation");
    }
}

// Runs one evaluation and checks what every evaluation promises.
Result Evaluate(const PostfixProgram& program, double t)
{
    PlotState& draw = Draw();
    draw.VarT = t;
    draw.ErrorText = "left over";
    const PostfixProgram copy = program;
    Result r;
    try {
        r.Value = EvaluatePostfix(draw, program, draw.ErrorText);
    } catch (const FloatFault& fault) {
        r.Fault = fault.Kind();
        if (!draw.ErrorText.empty())
            Breach("a fault left a message", draw.ErrorText);
    }
    r.Message = draw.ErrorText;
    if (!SameProgram(program, copy))
        Breach("evaluation changed the program");
    if (!r.Message.empty() && !IsEvaluationMessage(r.Message))
        Breach("unknown evaluation message", r.Message);
    if (!std::isfinite(r.Value))
        Breach("non-finite result");
    if (!r.Fault && r.Message != StructureErrorText && !r.Message.empty() && r.Value != FailedResult)
        Breach("a domain error returned something else than FailedResult");

    // A compile message at entry blocks the run: no fault, no change.
    for (const char* blocking : {SyntaxErrorText, NumberErrorText}) {
        draw.ErrorText = blocking;
        if (EvaluatePostfix(draw, program, draw.ErrorText) != FailedResult || draw.ErrorText != blocking)
            Breach("a compile message did not block the evaluation");
    }
    ComparePrepared(program, t, r);
    return r;
}

void CheckNormalize(const std::string& text)
{
    const std::string compact = NormalizeExpression(text);
    if (compact == SyntaxErrorText)
        return;
    if (text.empty())
        Breach("the empty text was accepted");
    if (compact.size() > text.size())
        Breach("compact string longer than the text");
    for (unsigned char c : compact) {
        if (!IsCompactByte(c))
            Breach("byte outside the compact alphabet", compact);
    }
    // Case and the decimal comma do not matter.
    std::string variant = text;
    for (char& c : variant) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        else if (c == ',')
            c = '.';
    }
    if (NormalizeExpression(variant) != compact)
        Breach("lower case or decimal point changed the compact string");
}

void CheckProgramShape(const PostfixProgram& program)
{
    std::size_t end = 0;
    while (end < program.size() && program[end].Tag != EndTag)
        ++end;
    if (end == program.size())
        Breach("compiled program without an end cell");
    for (std::size_t i = 0; i < end; ++i) {
        const PostfixCell& cell = program[i];
        if (cell.Tag == '(' || cell.Tag == ')' || cell.Tag == 'P' || cell.Tag == BadNumberTag)
            Breach("compiled program holds a forbidden tag");
        if (cell.Tag == NumberTag ? !std::isfinite(cell.Value) : cell.Value != 0.0)
            Breach("compiled cell with a wrong value");
    }
    for (std::size_t i = end; i < program.size(); ++i) {
        if (program[i].Tag != EndTag || program[i].Value != 0.0 || std::signbit(program[i].Value))
            Breach("cell after the code is not an end cell");
    }
}

void CheckFormula(const std::string& text)
{
    PlotState& draw = Draw();
    PostfixProgram program = Sentinel();
    draw.ErrorText = "left over";
    bool literalFault = false;
    try {
        CompileExpression(draw, text, draw.ErrorText, program);
    } catch (const FloatFault& fault) {
        if (fault.Kind() != FloatFaultKind::Overflow)
            Breach("compile raised a fault other than a literal overflow");
        literalFault = true;
    }
    if (literalFault || !draw.ErrorText.empty()) {
        if (!literalFault && !IsCompileMessage(draw.ErrorText))
            Breach("unknown compile message", draw.ErrorText);
        if (!SameProgram(program, Sentinel()))
            Breach("a failed compile wrote the program");
        if (!literalFault && NormalizeExpression(text) == SyntaxErrorText && draw.ErrorText != SyntaxErrorText)
            Breach("a normalizer fault gave another message");
        return;
    }
    if (NormalizeExpression(text) == SyntaxErrorText)
        Breach("compiled a text the normalizer refuses");
    CheckProgramShape(program);

    for (double t : {0.0, 1.5, -2.75, 1e10}) {
        const Result direct = Evaluate(program, t);
        // EvaluateExpression is compile + evaluate, to the bit.
        draw.VarT = t;
        draw.ErrorText = "left over";
        Result combined;
        try {
            combined.Value = EvaluateExpression(draw, text, draw.ErrorText);
        } catch (const FloatFault& fault) {
            combined.Fault = fault.Kind();
        }
        combined.Message = draw.ErrorText;
        if (combined.Fault != direct.Fault || combined.Message != direct.Message ||
            std::memcmp(&combined.Value, &direct.Value, sizeof(double)) != 0)
            Breach("EvaluateExpression differs from compile and evaluate", text);
    }
}

// Bytes as a program: even bytes are tags (mostly mapped onto the known ones,
// sometimes raw), odd bytes pick a value. Input starting with 0xFF fills all
// 256 cells, so the program may have no end cell.
void CheckRawProgram(const std::uint8_t* data, std::size_t size)
{
    static const unsigned char Known[] = {'$', '$', '$', 'T', 'X', '+', '-', '*', '/', '^', CodeNegate, CodeSin,
                                          CodeCos, CodeExp, CodeLn, CodeArctan, CodeTan, CodeSqr, CodeSqrt, CodeAbs,
                                          CodeArcsin, CodeArccos, CodeFa, EndTag};
    static const double Values[] = {0.0, 1.0, -1.0, 0.5, 2.0, 3.0, -0.0, 1e-15, 1e-16, 1e308, -1e308, 3e9,
                                    2147483648.0, 33.0, 1.5, 710.0, -745.0, 9.3e18, 1e-320, 0.999999,
                                    std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()};
    if (size < 2)
        return;
    const bool full = data[0] == 0xFF;
    PostfixProgram program;
    program.fill(PostfixCell{EndTag, 0.0});
    for (std::size_t i = 0; i < program.size(); ++i) {
        const std::size_t at = 2 * i + 1;
        if (at + 1 >= size && !full)
            break;
        const std::uint8_t tagByte = data[at % size];
        const std::uint8_t valueByte = data[(at + 1) % size];
        const unsigned char tag = tagByte < 0xF0 ? Known[tagByte % std::size(Known)] : tagByte;
        program[i] = PostfixCell{tag, tag == '$' ? Values[valueByte % std::size(Values)] : 0.0};
    }
    for (double t : {0.0, -1.0})
        Evaluate(program, t);
}

// The first 13 bytes as a power x^n: the base from 8 bytes, mostly steered
// near +-1 (a few ulps, or steps the size of the exact runs) or near a
// binade edge, else raw (denormals, NaN, infinities); the exponent below
// 2^(8 + byte % 13), so the plain loop stays within a million products.
// IntPower must give the loop's bits, or its fault.
void CheckIntPower(const std::uint8_t* data, std::size_t size)
{
    if (size < 13)
        return;
    std::uint64_t bits;
    std::uint32_t exponentBits;
    std::memcpy(&bits, data, sizeof bits);
    std::memcpy(&exponentBits, data + 8, sizeof exponentBits);
    // Steps of the representation: +-2^1 .. +-2^59.
    const std::int64_t offset = static_cast<std::int64_t>(bits) >> (4 + (bits >> 2 & 63) % 59);
    double x;
    switch (bits & 3) {
    case 0:
        x = std::bit_cast<double>(bits);
        break;
    case 1:
    case 2:
        x = std::bit_cast<double>(std::bit_cast<std::uint64_t>(1.0) + offset);
        break;
    default:
        x = std::bit_cast<double>(std::bit_cast<std::uint64_t>(std::ldexp(1.0, static_cast<int>(data[12] % 64) - 32)) +
                                  offset % 4096);
        break;
    }
    if (exponentBits & 1)
        x = -x;
    const std::uint32_t magnitude = (exponentBits >> 2) & ((std::uint32_t{1} << (8 + data[12] % 13)) - 1);
    const std::int32_t n = exponentBits & 2 ? -static_cast<std::int32_t>(magnitude) : static_cast<std::int32_t>(magnitude);

    auto outcome = [](auto&& power) {
        Result r;
        try {
            r.Value = power();
        } catch (const FloatFault& fault) {
            r.Fault = fault.Kind();
        }
        return r;
    };
    const Result fast = outcome([&] { return IntPower(x, n); });
    const Result loop = outcome([&] { return IntPowerByLoop(x, n); });
    if (fast.Fault != loop.Fault || (!fast.Fault && std::memcmp(&fast.Value, &loop.Value, sizeof(double)) != 0)) {
        char detail[96];
        std::snprintf(detail, sizeof detail, "%a^%d", x, static_cast<int>(n));
        Breach("IntPower differs from the plain loop", detail);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckNormalize(text);
    CheckFormula(text);
    CheckRawProgram(data, size);
    CheckIntPower(data, size);
    return 0;
}
