// Evaluation of a postfix program on a value stack.
//
// The program is checked once before it runs (known tags, an end cell, enough
// operands for every operator, a value at the end), so the loop itself needs
// no bounds tests. Values on the stack are 64-bit; each operation computes in
// extended precision and rounds once as it stores.
#include <cmath>

#include "Expression.h"
#include "ExtendedMath.h"

namespace {

enum CellKind : unsigned char { Invalid, Push, Unary, Binary, End };

constexpr std::array<CellKind, 256> MakeKinds()
{
    std::array<CellKind, 256> kinds{};
    for (unsigned char tag : {'$', 'K', 'N', 'R', 'S', 'T', 'X', 'Y', 'Z'})
        kinds[tag] = Push;
    for (unsigned char tag : {'+', '-', '*', '/', '^'})
        kinds[tag] = Binary;
    for (int code = CodeNegate; code <= CodeFa; ++code)
        kinds[code] = Unary;
    kinds[EndTag] = End;
    return kinds;
}
constexpr std::array<CellKind, 256> Kinds = MakeKinds();

// A program the compiler could have made, as far as running it safely goes.
// Refused: an unknown tag, a non-finite number, an operator short of operands,
// an end with no value, no end cell at all.
bool IsRunnable(const PostfixProgram& program)
{
    std::size_t depth = 0;
    for (const PostfixCell& cell : program) {
        switch (Kinds[cell.Tag]) {
        case Push:
            if (cell.Tag == NumberTag && !std::isfinite(cell.Value))
                return false;
            ++depth;
            break;
        case Unary:
            if (depth < 1)
                return false;
            break;
        case Binary:
            if (depth < 2)
                return false;
            --depth;
            break;
        case End:
            return depth >= 1;
        case Invalid:
            return false;
        }
    }
    return false;
}

bool IsCompileMessage(const std::string& text)
{
    return text == SyntaxErrorText || text == NumberErrorText;
}

// Rounds an exponent or factorial argument to a 32-bit integer. A whole
// number in range is taken as it is; every other value goes through the
// checked rounding, which raises the invalid-operation fault out of range.
std::int32_t RoundOperand(double v)
{
    if (v >= -2147483648.0 && v <= 2147483647.0) {
        const auto whole = static_cast<std::int32_t>(v);
        if (static_cast<double>(whole) == v)
            return whole;
    }
    return RoundToInt32(v);
}

// The power rule, tests in their order. False: an inadmissible base.
bool Power(double x, double y, double& result)
{
    const Extended base = x;
    if (std::fabs(base) < ZeroTolerance && y < 0.0)
        return false;
    const std::int32_t k = RoundOperand(y);
    if (static_cast<double>(k) == y) {
        result = IntPower(x, k);
    } else if (base > ZeroTolerance) {
        result = StoreReal(ExpExtended(y * LnExtended(base)));
    } else if (std::fabs(base) < ZeroTolerance) {
        result = 0.0;
    } else {
        return false;
    }
    return true;
}

bool FactorialOf(double v, double& result)
{
    if (v < 0.0)
        return false;
    const std::int32_t k = RoundOperand(v);
    if (static_cast<double>(k) != v)
        return false;
    result = Factorial(k);
    return true;
}

// v / sqrt(1 - v*v) in extended precision, for |v| < 1.
Extended ArcQuotient(double v)
{
    const Extended e = v;
    return e / std::sqrt(1.0L - e * e);
}

constexpr double HalfPi = 1.5707963267948966;  // nearest 64-bit reals
constexpr double Pi = 3.141592653589793;

// Runs a unary cell on v. Null on success, else the domain message.
const char* ApplyFunction(unsigned char tag, double& v)
{
    switch (tag) {
    case CodeNegate:
        v = -v;
        break;
    case CodeSin:
        v = StoreReal(SinExtended(v));
        break;
    case CodeCos:
        v = StoreReal(CosExtended(v));
        break;
    case CodeExp:
        v = StoreReal(ExpExtended(v));
        break;
    case CodeLn:
        if (static_cast<Extended>(v) <= ZeroTolerance)
            return LogArgumentErrorText;
        v = StoreReal(LnExtended(v));
        break;
    case CodeArctan:
        v = StoreReal(ArctanExtended(v));
        break;
    case CodeTan: {
        const Extended cosine = CosExtended(v);
        if (std::fabs(cosine) <= ZeroTolerance)
            return TangentErrorText;
        v = StoreReal(SinExtended(v) / cosine);
        break;
    }
    case CodeSqr:
        v = StoreReal(static_cast<Extended>(v) * v);
        break;
    case CodeSqrt:
        if (v < 0.0)
            return SqrtArgumentErrorText;
        v = StoreReal(std::sqrt(static_cast<Extended>(v)));
        break;
    case CodeAbs:
        v = std::fabs(v);
        break;
    case CodeArcsin:
        if (std::fabs(v) < 1.0)
            v = StoreReal(ArctanExtended(ArcQuotient(v)));
        else if (v == -1.0)
            v = -HalfPi;
        else if (v == 1.0)
            v = HalfPi;
        else
            return ArcsinArgumentErrorText;
        break;
    case CodeArccos:
        if (std::fabs(v) < 1.0)
            v = StoreReal(PiHalfExtended - ArctanExtended(ArcQuotient(v)));
        else if (v == -1.0)
            v = Pi;
        else if (v == 1.0)
            v = 0.0;
        else
            return ArccosArgumentErrorText;
        break;
    case CodeFa:
        if (!FactorialOf(v, v))
            return FactorialArgumentErrorText;
        break;
    }
    return nullptr;
}

// Runs a binary cell: left op right into left. Null on success.
const char* ApplyOperator(unsigned char tag, double& left, double right)
{
    const Extended l = left;
    const Extended r = right;
    switch (tag) {
    case '+':
        left = StoreReal(l + r);
        break;
    case '-':
        left = StoreReal(l - r);
        break;
    case '*':
        left = StoreReal(l * r);
        break;
    case '/':
        if (std::fabs(r) < ZeroTolerance)
            return DivisionByZeroText;
        left = StoreReal(l / r);
        break;
    case '^':
        if (!Power(left, right, left))
            return PowerBaseErrorText;
        break;
    }
    return nullptr;
}

double VariableValue(const PlotState& draw, unsigned char tag)
{
    switch (tag) {
    case 'K': return draw.VarK;
    case 'N': return draw.VarN;
    case 'R': return draw.VarR;
    case 'S': return draw.VarS;
    case 'T': return draw.VarT;
    case 'X': return draw.VarX;
    case 'Y': return draw.VarY;
    default: return draw.VarZ;
    }
}

}  // namespace

double EvaluatePostfix(PlotState& draw, const PostfixProgram& program, std::string& errorText)
{
    if (IsCompileMessage(errorText))
        return FailedResult;
    errorText.clear();
    if (!IsRunnable(program)) {
        errorText = StructureErrorText;
        return FailedResult;
    }

    // Every push uses up a cell before the end cell, so 255 entries suffice.
    double stack[MaxCodeCells];
    std::size_t depth = 0;
    for (const PostfixCell* cell = program.data();; ++cell) {
        const unsigned char tag = cell->Tag;
        const char* message = nullptr;
        switch (Kinds[tag]) {
        case Push:
            stack[depth++] = tag == NumberTag ? cell->Value : VariableValue(draw, tag);
            break;
        case Unary:
            message = ApplyFunction(tag, stack[depth - 1]);
            break;
        case Binary:
            message = ApplyOperator(tag, stack[depth - 2], stack[depth - 1]);
            --depth;
            break;
        case End:
        case Invalid:  // refused above
            if (depth >= 2)
                errorText = StructureErrorText;
            return stack[depth - 1];  // the top value in either case
        }
        if (message != nullptr) {
            errorText = message;
            return FailedResult;
        }
    }
}

double EvaluateExpression(PlotState& draw, const std::string& text, std::string& errorText)
{
    PostfixProgram program;  // filled by a successful compile, never read otherwise
    CompileExpression(draw, text, errorText, program);
    return EvaluatePostfix(draw, program, errorText);
}
