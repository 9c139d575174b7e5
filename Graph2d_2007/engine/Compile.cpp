// SPDX-License-Identifier: GPL-3.0-or-later
// Compilation: the compact string is read token by token and put into postfix
// order with an operator stack (shunting yard) under the pop sets below.
#include <algorithm>
#include <charconv>

#include "Expression.h"
#include "RealChars.h"

namespace {

bool IsFunction(unsigned char tag)
{
    return tag >= CodeSin && tag <= CodeFa;
}

bool IsInfix(unsigned char tag)
{
    return tag == '+' || tag == '-' || tag == '*' || tag == '/' || tag == '^';
}

bool IsVariableTag(unsigned char tag)
{
    switch (tag) {
    case 'K': case 'N': case 'R': case 'S': case 'T': case 'X': case 'Y': case 'Z':
        return true;
    default:
        return false;
    }
}

// Whether an incoming operator moves `top` from the stack to the program.
// This table is the whole of precedence and grouping: "^" groups from the
// left, the unary minus binds weaker than "*", "/", "^" and stronger than
// "+", "-", and functions bind tightest.
bool Pops(unsigned char incoming, unsigned char top)
{
    switch (incoming) {
    case '+':
    case '-':
        return IsInfix(top) || top == CodeNegate || IsFunction(top);
    case '*':
    case '/':
        return top == '*' || top == '/' || top == '^' || IsFunction(top);
    case '^':
        return top == '^' || IsFunction(top);
    case CodeNegate:
        return IsInfix(top) || IsFunction(top);
    default:  // a function code
        return IsFunction(top);
    }
}

bool IsNumberChar(unsigned char c)
{
    return (c >= '0' && c <= '9') || c == '.';
}

// Decimal text (digits, at most one ".") to the 64-bit real nearest to it,
// ties to even, in one rounding: reading it into extended first and rounding
// that to 64 bits would miss the nearest real for some literals. False when it
// does not convert; beyond the 64-bit range it is the overflow fault.
bool ConvertNumber(const char* first, const char* last, double& value)
{
    if (std::count(first, last, '.') > 1)
        return false;
    double converted = 0.0;
    const std::from_chars_result read = RealFromChars(first, last, converted, std::chars_format::fixed);
    if (read.ptr != last)
        return false;
    if (read.ec == std::errc::result_out_of_range) {
        // Out of range either way: huge when a non-zero digit stands before
        // the point, else nearer to 0 than to the smallest real.
        const char* point = std::find(first, last, '.');
        if (std::find_if(first, point, [](char c) { return c != '0'; }) != point)
            RaiseFloatFault(FloatFaultKind::Overflow);
        converted = 0.0;
    } else if (read.ec != std::errc()) {
        return false;
    }
    value = converted;
    return true;
}

// Local state of one compile: the program under construction and the
// operator stack, each with its capacity guarded.
class Compiler {
public:
    Compiler()
    {
        program_.fill(PostfixCell{EndTag, 0.0});
    }

    bool Append(unsigned char tag, double value)
    {
        if (out_ >= MaxCodeCells)
            return false;
        program_[out_++] = PostfixCell{tag, value};
        return true;
    }

    bool Push(unsigned char tag)
    {
        if (depth_ >= OperatorStackDepth)
            return false;
        stack_[depth_++] = tag;
        return true;
    }

    // Moves entries to the program while the top is in the pop set of `incoming`.
    bool PopFor(unsigned char incoming)
    {
        while (depth_ > 0 && Pops(incoming, stack_[depth_ - 1])) {
            if (!Append(stack_[--depth_], 0.0))
                return false;
        }
        return true;
    }

    // ")": moves entries out down to the nearest "(" and drops it.
    bool CloseParenthesis()
    {
        while (depth_ > 0 && stack_[depth_ - 1] != '(') {
            if (!Append(stack_[--depth_], 0.0))
                return false;
        }
        if (depth_ == 0)
            return false;  // no "(" below
        --depth_;
        return true;
    }

    bool Flush()
    {
        while (depth_ > 0) {
            const unsigned char tag = stack_[--depth_];
            if (tag == '(' || !Append(tag, 0.0))
                return false;
        }
        return true;
    }

    const PostfixProgram& Program() const { return program_; }

private:
    PostfixProgram program_;
    std::array<unsigned char, OperatorStackDepth> stack_{};
    std::size_t out_ = 0;
    std::size_t depth_ = 0;
};

enum class Outcome { Done, SyntaxFault, NumberFault };

Outcome Translate(const std::string& compact, Compiler& compiler)
{
    std::size_t position = 1;
    unsigned char tag = 0;
    double value = 0.0;
    std::size_t length = 0;
    while (ScanToken(compact, position, tag, value, length)) {
        bool ok = true;
        if (tag == NumberTag) {
            ok = compiler.Append(NumberTag, value);
            position += length;
            if (!ok)
                return Outcome::SyntaxFault;
            continue;
        }
        if (tag == BadNumberTag)
            return Outcome::NumberFault;
        if (IsVariableTag(tag))
            ok = compiler.Append(tag, 0.0);
        else if (tag == 'P')
            ok = compiler.Append(NumberTag, PiValue);
        else if (tag == '(')
            ok = compiler.Push(tag);
        else if (tag == ')')
            ok = compiler.CloseParenthesis();
        else if (IsInfix(tag) || tag == CodeNegate || IsFunction(tag))
            ok = compiler.PopFor(tag) && compiler.Push(tag);
        else
            ok = false;  // never in a compact string
        if (!ok)
            return Outcome::SyntaxFault;
        ++position;
    }
    return compiler.Flush() ? Outcome::Done : Outcome::SyntaxFault;
}

}  // namespace

bool ScanToken(const std::string& compact, std::size_t position, unsigned char& tag, double& value,
               std::size_t& length)
{
    if (position < 1 || position > compact.size())
        return false;
    const std::size_t start = position - 1;
    const unsigned char c = static_cast<unsigned char>(compact[start]);
    if (!IsNumberChar(c)) {
        tag = c;
        value = 0.0;
        length = 1;
        return true;
    }
    std::size_t end = start;
    while (end < compact.size() && IsNumberChar(static_cast<unsigned char>(compact[end])))
        ++end;
    length = end - start;
    const char* first = compact.data() + start;
    if (ConvertNumber(first, first + length, value)) {
        tag = NumberTag;
    } else {
        tag = BadNumberTag;
        value = 0.0;
    }
    return true;
}

void CompileExpression(PlotState& /*draw*/, const std::string& text, std::string& errorText,
                       PostfixProgram& program)
{
    const std::string compact = NormalizeExpression(text);
    if (compact == SyntaxErrorText) {
        errorText = SyntaxErrorText;
        return;
    }
    Compiler compiler;
    switch (Translate(compact, compiler)) {
    case Outcome::SyntaxFault:
        errorText = SyntaxErrorText;
        return;
    case Outcome::NumberFault:
        errorText = NumberErrorText;
        return;
    case Outcome::Done:
        break;
    }
    program = compiler.Program();
    errorText.clear();
}
