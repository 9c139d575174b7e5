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
    double* top = stack - 1;
    TrigCache trig(check.SineAndCosine);
    const char* message = nullptr;
    for (const PostfixCell* cell = program.data();; ++cell) {
        switch (cell->Tag) {
        case NumberTag: *++top = cell->Value; continue;
        case 'K': *++top = draw.VarK; continue;
        case 'N': *++top = draw.VarN; continue;
        case 'R': *++top = draw.VarR; continue;
        case 'S': *++top = draw.VarS; continue;
        case 'T': *++top = draw.VarT; continue;
        case 'X': *++top = draw.VarX; continue;
        case 'Y': *++top = draw.VarY; continue;
        case 'Z': *++top = draw.VarZ; continue;
        case '+':
            StoreInto(top[-1], static_cast<Extended>(top[-1]) + top[0]);
            --top;
            continue;
        case '-':
            StoreInto(top[-1], static_cast<Extended>(top[-1]) - top[0]);
            --top;
            continue;
        case '*':
            StoreInto(top[-1], static_cast<Extended>(top[-1]) * top[0]);
            --top;
            continue;
        case '/':
            if (std::fabs(static_cast<Extended>(top[0])) < ZeroTolerance) {
                message = DivisionByZeroText;
                break;
            }
            StoreInto(top[-1], static_cast<Extended>(top[-1]) / top[0]);
            --top;
            continue;
        case '^':
            if (!PowerRule(top[-1], top[0], top[-1])) {
                message = PowerBaseErrorText;
                break;
            }
            --top;
            continue;
        case CodeNegate: *top = -*top; continue;
        case CodeAbs: *top = std::fabs(*top); continue;
        case CodeSqr: StoreInto(*top, static_cast<Extended>(*top) * *top); continue;
        case CodeSin: StoreInto(*top, trig.Sin(*top)); continue;
        case CodeCos: StoreInto(*top, trig.Cos(*top)); continue;
        case CodeExp: StoreInto(*top, ExpExtended(*top)); continue;
        case CodeArctan: StoreInto(*top, ArctanExtended(*top)); continue;
        case CodeTan: {
            // The cosine is tested first; the sine is held in extended
            // precision until the quotient is stored.
            const Extended cosine = trig.Cos(*top);
            if (std::fabs(cosine) <= ZeroTolerance) {
                message = TangentErrorText;
                break;
            }
            *top = StoreReal(trig.Sin(*top) / cosine);
            continue;
        }
        case EndTag:
            if (top > stack)
                errorText = StructureErrorText;  // two or more values left
            return *top;
        default:  // LN, SQRT, ARCSIN, ARCCOS, FA: CheckProgram let no other tag through
            message = ApplyCheckedFunction(cell->Tag, *top);
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
