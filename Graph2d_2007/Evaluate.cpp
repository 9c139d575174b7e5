// Evaluation of a postfix program on a value stack.
//
// The program is checked once before it runs (known tags, an end cell, enough
// operands for every operator, a value at the end), so the loop itself needs
// no bounds tests. Values on the stack are 64-bit; each operation computes in
// extended precision and rounds once as it stores. The caller's program is
// only read: a variable cell pushes its slot's value directly.
#include "EvaluateRules.h"

namespace {

// What each tag asks of the stack: the operands it takes (Need; 127 for a
// tag the evaluator does not know) and how the depth changes.
struct TagRule {
    std::int8_t Need = 127;
    std::int8_t Delta = 0;
    std::uint8_t Flags = 0;
};
enum : std::uint8_t { IsEnd = 1, IsNumber = 2, TakesSine = 4, TakesCosine = 8 };

constexpr std::array<TagRule, 256> MakeRules()
{
    std::array<TagRule, 256> rules{};
    for (unsigned char tag : {'K', 'N', 'R', 'S', 'T', 'X', 'Y', 'Z'})
        rules[tag] = {0, 1, 0};
    rules[NumberTag] = {0, 1, IsNumber};
    for (unsigned char tag : {'+', '-', '*', '/', '^'})
        rules[tag] = {2, -1, 0};
    for (int code = CodeNegate; code <= CodeFa; ++code)
        rules[code] = {1, 0, 0};
    rules[CodeSin] = {1, 0, TakesSine};
    rules[CodeCos] = {1, 0, TakesCosine};
    rules[CodeTan] = {1, 0, TakesSine | TakesCosine};
    rules[EndTag] = {1, 0, IsEnd};
    return rules;
}
constexpr std::array<TagRule, 256> Rules = MakeRules();

struct ProgramCheck {
    bool Runnable = false;
    bool SineAndCosine = false;  // takes both of some argument, as far as can be told
};

// A program the compiler could have made, as far as running it safely goes.
// Refused: an unknown tag, a non-finite number, an operator short of operands,
// an end with no value, no end cell at all.
ProgramCheck CheckProgram(const PostfixProgram& program)
{
    int depth = 0;
    unsigned flags = 0;
    for (const PostfixCell& cell : program) {
        const TagRule rule = Rules[cell.Tag];
        if (depth < rule.Need)
            return {};
        if (rule.Flags & IsEnd)
            return {true, (flags & (TakesSine | TakesCosine)) == (TakesSine | TakesCosine)};
        if ((rule.Flags & IsNumber) && !std::isfinite(cell.Value))
            return {};
        depth += rule.Delta;
        flags |= rule.Flags;
    }
    return {};
}

bool IsCompileMessage(const std::string& text)
{
    static_assert(sizeof SyntaxErrorText == sizeof NumberErrorText);
    return text.size() == sizeof SyntaxErrorText - 1 && (text == SyntaxErrorText || text == NumberErrorText);
}

}  // namespace

double EvaluatePostfix(PlotState& draw, const PostfixProgram& program, std::string& errorText)
{
    if (IsCompileMessage(errorText))
        return FailedResult;
    errorText.clear();
    const ProgramCheck check = CheckProgram(program);
    if (!check.Runnable) {
        errorText = StructureErrorText;
        return FailedResult;
    }

    // Every push uses up a cell before the end cell, so 255 entries suffice.
    double stack[MaxCodeCells];
    double* next = stack;  // the first free entry; the top value is next[-1]
    TrigCache trig(check.SineAndCosine);
    const char* message = nullptr;
    for (const PostfixCell* cell = program.data();; ++cell) {
        switch (cell->Tag) {
        case NumberTag: *next++ = cell->Value; continue;
        case 'K': *next++ = draw.VarK; continue;
        case 'N': *next++ = draw.VarN; continue;
        case 'R': *next++ = draw.VarR; continue;
        case 'S': *next++ = draw.VarS; continue;
        case 'T': *next++ = draw.VarT; continue;
        case 'X': *next++ = draw.VarX; continue;
        case 'Y': *next++ = draw.VarY; continue;
        case 'Z': *next++ = draw.VarZ; continue;
        case '+':
            StoreInto(next[-2], static_cast<Extended>(next[-2]) + next[-1]);
            --next;
            continue;
        case '-':
            StoreInto(next[-2], static_cast<Extended>(next[-2]) - next[-1]);
            --next;
            continue;
        case '*':
            StoreInto(next[-2], static_cast<Extended>(next[-2]) * next[-1]);
            --next;
            continue;
        case '/':
            if (std::fabs(static_cast<Extended>(next[-1])) < ZeroTolerance) {
                message = DivisionByZeroText;
                break;
            }
            StoreInto(next[-2], static_cast<Extended>(next[-2]) / next[-1]);
            --next;
            continue;
        case '^':
            if (!PowerRule(next[-2], next[-1], next[-2])) {
                message = PowerBaseErrorText;
                break;
            }
            --next;
            continue;
        case CodeNegate: next[-1] = -next[-1]; continue;
        case CodeAbs: next[-1] = std::fabs(next[-1]); continue;
        case CodeSqr: StoreInto(next[-1], static_cast<Extended>(next[-1]) * next[-1]); continue;
        case CodeSin: StoreInto(next[-1], trig.Sin(next[-1])); continue;
        case CodeCos: StoreInto(next[-1], trig.Cos(next[-1])); continue;
        case CodeExp: StoreInto(next[-1], ExpExtended(next[-1])); continue;
        case CodeArctan: StoreInto(next[-1], ArctanExtended(next[-1])); continue;
        case CodeTan: {
            // The cosine is tested first; the sine is held in extended
            // precision until the quotient is stored.
            const Extended cosine = trig.Cos(next[-1]);
            if (std::fabs(cosine) <= ZeroTolerance) {
                message = TangentErrorText;
                break;
            }
            next[-1] = StoreReal(trig.Sin(next[-1]) / cosine);
            continue;
        }
        case EndTag:
            if (next - stack >= 2)
                errorText = StructureErrorText;  // two or more values left
            return next[-1];
        default:  // LN, SQRT, ARCSIN, ARCCOS, FA: CheckProgram let no other tag through
            message = ApplyCheckedFunction(cell->Tag, next[-1]);
            if (message == nullptr)
                continue;
            break;
        }
        errorText = message;
        return FailedResult;
    }
}

double EvaluateExpression(PlotState& draw, const std::string& text, std::string& errorText)
{
    PostfixProgram program;  // filled by a successful compile, never read otherwise
    CompileExpression(draw, text, errorText, program);
    return EvaluatePostfix(draw, program, errorText);
}
