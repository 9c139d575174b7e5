// SPDX-License-Identifier: GPL-3.0-or-later
// Evaluation of a postfix program on a value stack.
//
// Values on the stack are 64-bit; each operation computes in extended
// precision and rounds once as it stores. The caller's program is only read:
// a variable cell pushes its slot's value directly. Each operator first makes
// sure the stack holds its operands; a cell the evaluator does not know, an
// operator short of operands, an end with no value, a non-finite number or a
// program without an end cell is refused where it stands with "Chybný výraz",
// never reading outside the program or the stack.
#include "EvaluateRules.h"

namespace {

bool IsCheckedFunction(unsigned char tag)
{
    return tag == CodeLn || tag == CodeSqrt || tag == CodeArcsin || tag == CodeArccos || tag == CodeFa;
}

}  // namespace

double EvaluatePostfix(PlotState& draw, const PostfixProgram& program, std::string& errorText)
{
    if (IsCompileMessage(errorText))
        return FailedResult;
    errorText.clear();

    // At most one push per cell, so one entry per cell suffices.
    double stack[ProgramCells];
    double* next = stack;  // the first free entry; the top value is next[-1]
    const auto holds = [&](std::ptrdiff_t count) { return next - stack >= count; };
    TrigCache trig;
    const PostfixCell* const end = program.data() + program.size();
    // A "break" out of the switch ends the run with this message: the
    // refusal, unless a domain test has put its own message here.
    const char* message = StructureErrorText;
    for (const PostfixCell* cell = program.data(); cell != end; ++cell) {
        switch (cell->Tag) {
        case NumberTag:
            if (!std::isfinite(cell->Value)) [[unlikely]]
                break;
            *next++ = cell->Value;
            continue;
        case 'K': *next++ = draw.VarK; continue;
        case 'N': *next++ = draw.VarN; continue;
        case 'R': *next++ = draw.VarR; continue;
        case 'S': *next++ = draw.VarS; continue;
        case 'T': *next++ = draw.VarT; continue;
        case 'X': *next++ = draw.VarX; continue;
        case 'Y': *next++ = draw.VarY; continue;
        case 'Z': *next++ = draw.VarZ; continue;
        case '+':
            if (!holds(2)) [[unlikely]]
                break;
            StoreInto(next[-2], static_cast<Extended>(next[-2]) + next[-1]);
            --next;
            continue;
        case '-':
            if (!holds(2)) [[unlikely]]
                break;
            StoreInto(next[-2], static_cast<Extended>(next[-2]) - next[-1]);
            --next;
            continue;
        case '*':
            if (!holds(2)) [[unlikely]]
                break;
            StoreInto(next[-2], static_cast<Extended>(next[-2]) * next[-1]);
            --next;
            continue;
        case '/':
            if (!holds(2)) [[unlikely]]
                break;
            if (std::fabs(static_cast<Extended>(next[-1])) < ZeroTolerance) {
                message = DivisionByZeroText;
                break;
            }
            StoreInto(next[-2], static_cast<Extended>(next[-2]) / next[-1]);
            --next;
            continue;
        case '^':
            if (!holds(2)) [[unlikely]]
                break;
            if (const char* failure = PowerOperation(next[-2], next[-1], next[-2])) {
                message = failure;
                break;
            }
            --next;
            continue;
        case CodeNegate:
            if (!holds(1)) [[unlikely]]
                break;
            next[-1] = -next[-1];
            continue;
        case CodeAbs:
            if (!holds(1)) [[unlikely]]
                break;
            next[-1] = std::fabs(next[-1]);
            continue;
        case CodeSqr:
            if (!holds(1)) [[unlikely]]
                break;
            StoreInto(next[-1], static_cast<Extended>(next[-1]) * next[-1]);
            continue;
        case CodeSin:
            if (!holds(1)) [[unlikely]]
                break;
            StoreInto(next[-1], trig.Sin(next[-1], cell, end));
            continue;
        case CodeCos:
            if (!holds(1)) [[unlikely]]
                break;
            StoreInto(next[-1], trig.Cos(next[-1], cell, end));
            continue;
        case CodeExp:
            if (!holds(1)) [[unlikely]]
                break;
            StoreInto(next[-1], ExpExtended(next[-1]));
            continue;
        case CodeArctan:
            if (!holds(1)) [[unlikely]]
                break;
            StoreInto(next[-1], ArctanExtended(next[-1]));
            continue;
        case CodeTan: {
            if (!holds(1)) [[unlikely]]
                break;
            // The cosine is tested first; the sine is held in extended
            // precision until the quotient is stored.
            const Extended cosine = trig.Cos(next[-1], cell, end);
            if (std::fabs(cosine) <= ZeroTolerance) {
                message = TangentErrorText;
                break;
            }
            next[-1] = StoreReal(trig.Sin(next[-1], cell, end) / cosine);
            continue;
        }
        case EndTag:
            if (!holds(1)) [[unlikely]]
                break;
            if (holds(2))
                errorText = StructureErrorText;  // two or more values left
            return next[-1];
        default:
            // LN, SQRT, ARCSIN, ARCCOS, FA; any other tag is refused.
            if (!IsCheckedFunction(cell->Tag) || !holds(1))
                break;
            if (const char* domain = ApplyCheckedFunction(cell->Tag, next[-1])) {
                message = domain;
                break;
            }
            continue;
        }
        break;
    }
    errorText = message;  // a domain error, or the program refused
    return FailedResult;
}

double EvaluateExpression(PlotState& draw, const std::string& text, std::string& errorText)
{
    PostfixProgram program;  // filled by a successful compile, never read otherwise
    CompileExpression(draw, text, errorText, program);
    return EvaluatePostfix(draw, program, errorText);
}
