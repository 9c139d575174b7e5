// The handlers that run prepared code, shared by the evaluation and by the
// folding of constants during preparation (which runs one instruction on
// constant operands), so both form every value by the same code. Private to
// the engine.
//
// Each instruction carries its handler; a handler does its operation and
// passes on to the next instruction's handler by a tail call, so the code
// runs as a chain of jumps with no dispatch loop. (Without optimisation the
// tail calls are plain calls, at most 257 deep.) Handlers come in variants
// by where their operands are read: a work slot, or a variable slot of the
// plot state, read there directly.
//
// Each operation is the one of EvaluatePostfix for its tag: operands are
// 64-bit, the result is formed in extended precision and rounded once as it
// is stored (StoreInto raises the overflow or invalid-operation fault of a
// result that does not fit).
#pragma once

#include "EvaluateRules.h"
#include "PreparedProgram.h"

// The storage of one run. The error text, passed along with it, is written
// only with the message that ends the run.
struct PreparedWork {
    explicit PreparedWork(bool sineAndCosine) : Trig(sineAndCosine) {}

    TrigCache Trig;
    double Slot[ProgramCells];  // one per stack position
};

// The variable slots, in the order of their numbers in PreparedInstruction.
inline constexpr char VariableTags[] = "KNRSTXYZ";
inline constexpr double PlotState::*VariableMembers[] = {
    &PlotState::VarK, &PlotState::VarN, &PlotState::VarR, &PlotState::VarS,
    &PlotState::VarT, &PlotState::VarX, &PlotState::VarY, &PlotState::VarZ,
};
static_assert(std::size(VariableMembers) == sizeof VariableTags - 1);

namespace prepared {

using Instruction = PreparedInstruction;
using Work = PreparedWork;

enum class From { Work, Variable };
constexpr From W = From::Work;
constexpr From V = From::Variable;

template <From F>
double Fetch(std::uint8_t index, const Work& work, const PlotState& draw)
{
    if constexpr (F == From::Variable)
        return draw.*VariableMembers[index];
    else
        return work.Slot[index];
}

inline double Next(const Instruction* i, Work& work, const PlotState& draw, std::string& errorText)
{
    return i[1].Run(i + 1, work, draw, errorText);
}

// Out of line, so that the handlers' hot paths stay free of string code.
[[gnu::cold, gnu::noinline]] inline double Stop(std::string& errorText, const char* message)
{
    errorText = message;
    return FailedResult;
}

// Two or more values remain: "Chybný výraz", and the top value is returned.
[[gnu::cold, gnu::noinline]] inline double ExtraValues(std::string& errorText, double top)
{
    errorText = StructureErrorText;
    return top;
}

template <From A>
double End(const Instruction* i, Work& work, const PlotState& draw, std::string& errorText)
{
    const double value = Fetch<A>(i->A, work, draw);
    if (i->LeavesExtraValues) [[unlikely]]
        return ExtraValues(errorText, value);
    return value;
}

inline double EndConstant(const Instruction* i, Work&, const PlotState&, std::string& errorText)
{
    if (i->LeavesExtraValues) [[unlikely]]
        return ExtraValues(errorText, i->Constant);
    return i->Constant;
}

inline double FailMessage(const Instruction* i, Work&, const PlotState&, std::string& errorText)
{
    return Stop(errorText, i->Message);
}

inline double FailFault(const Instruction* i, Work&, const PlotState&, std::string&)
{
    RaiseFloatFault(static_cast<FloatFaultKind>(i->Count));
}

template <From A, From B>
double Add(const Instruction* i, Work& work, const PlotState& draw, std::string& errorText)
{
    StoreInto(work.Slot[i->Result], static_cast<Extended>(Fetch<A>(i->A, work, draw)) + Fetch<B>(i->B, work, draw));
    return Next(i, work, draw, errorText);
}

template <From A>
double AddConstant(const Instruction* i, Work& work, const PlotState& draw, std::string& errorText)
{
    StoreInto(work.Slot[i->Result], static_cast<Extended>(Fetch<A>(i->A, work, draw)) + i->Constant);
    return Next(i, work, draw, errorText);
}

template <From A, From B>
double Subtract(const Instruction* i, Work& work, const PlotState& draw, std::string& errorText)
{
    StoreInto(work.Slot[i->Result], static_cast<Extended>(Fetch<A>(i->A, work, draw)) - Fetch<B>(i->B, work, draw));
    return Next(i, work, draw, errorText);
}

template <From A>
double SubtractConstant(const Instruction* i, Work& work, const PlotState& draw, std::string& errorText)
{
    StoreInto(work.Slot[i->Result], static_cast<Extended>(Fetch<A>(i->A, work, draw)) - i->Constant);
    return Next(i, work, draw, errorText);
}

template <From A>
double SubtractFrom(const Instruction* i, Work& work, const PlotState& draw, std::string& errorText)
{
    StoreInto(work.Slot[i->Result], static_cast<Extended>(i->Constant) - Fetch<A>(i->A, work, draw));
    return Next(i, work, draw, errorText);
}

template <From A, From B>
double Multiply(const Instruction* i, Work& work, const PlotState& draw, std::string& errorText)
{
    StoreInto(work.Slot[i->Result], static_cast<Extended>(Fetch<A>(i->A, work, draw)) * Fetch<B>(i->B, work, draw));
    return Next(i, work, draw, errorText);
}

template <From A>
double MultiplyConstant(const Instruction* i, Work& work, const PlotState& draw, std::string& errorText)
{
    StoreInto(work.Slot[i->Result], static_cast<Extended>(Fetch<A>(i->A, work, draw)) * i->Constant);
    return Next(i, work, draw, errorText);
}

// |x * k| <= |x| for |k| <= 1, and rounding never passes a bound that is
// itself a 64-bit real, so the stored product is finite: no test is needed.
template <From A>
double ScaleConstant(const Instruction* i, Work& work, const PlotState& draw, std::string& errorText)
{
    const Extended product = static_cast<Extended>(Fetch<A>(i->A, work, draw)) * i->Constant;
    __asm__("fstpl %0" : "=m"(work.Slot[i->Result]) : "t"(product) : "st");
    return Next(i, work, draw, errorText);
}

template <From A, From B>
double Divide(const Instruction* i, Work& work, const PlotState& draw, std::string& errorText)
{
    const double divisor = Fetch<B>(i->B, work, draw);
    if (std::fabs(static_cast<Extended>(divisor)) < ZeroTolerance)
        return Stop(errorText, DivisionByZeroText);
    StoreInto(work.Slot[i->Result], static_cast<Extended>(Fetch<A>(i->A, work, draw)) / divisor);
    return Next(i, work, draw, errorText);
}

// The divisor passed its test during preparation.
template <From A>
double DivideConstant(const Instruction* i, Work& work, const PlotState& draw, std::string& errorText)
{
    StoreInto(work.Slot[i->Result], static_cast<Extended>(Fetch<A>(i->A, work, draw)) / i->Constant);
    return Next(i, work, draw, errorText);
}

template <From A>
double DivideInto(const Instruction* i, Work& work, const PlotState& draw, std::string& errorText)
{
    const double divisor = Fetch<A>(i->A, work, draw);
    if (std::fabs(static_cast<Extended>(divisor)) < ZeroTolerance)
        return Stop(errorText, DivisionByZeroText);
    StoreInto(work.Slot[i->Result], static_cast<Extended>(i->Constant) / divisor);
    return Next(i, work, draw, errorText);
}

// x^y as EvaluatePostfix forms it: ^2 and ^3 by the rounded products of
// IntPower, every other exponent by the power rule.
inline const char* PowerOperation(double x, double y, double& result)
{
    if (y == 2.0) {
        StoreInto(result, static_cast<Extended>(x) * x);
    } else if (y == 3.0) {
        StoreInto(result, static_cast<Extended>(x) * x);
        StoreInto(result, static_cast<Extended>(result) * x);
    } else if (!PowerRule(x, y, result)) {
        return PowerBaseErrorText;
    }
    return nullptr;
}

template <From A, From B>
double Power(const Instruction* i, Work& work, const PlotState& draw, std::string& errorText)
{
    const double x = Fetch<A>(i->A, work, draw);
    if (const char* message = PowerOperation(x, Fetch<B>(i->B, work, draw), work.Slot[i->Result]))
        return Stop(errorText, message);
    return Next(i, work, draw, errorText);
}

template <From A>
double PowerConstant(const Instruction* i, Work& work, const PlotState& draw, std::string& errorText)
{
    if (const char* message = PowerOperation(Fetch<A>(i->A, work, draw), i->Constant, work.Slot[i->Result]))
        return Stop(errorText, message);
    return Next(i, work, draw, errorText);
}

template <From A>
double PowerOf(const Instruction* i, Work& work, const PlotState& draw, std::string& errorText)
{
    if (const char* message = PowerOperation(i->Constant, Fetch<A>(i->A, work, draw), work.Slot[i->Result]))
        return Stop(errorText, message);
    return Next(i, work, draw, errorText);
}

template <From A>
double Square(const Instruction* i, Work& work, const PlotState& draw, std::string& errorText)
{
    const double x = Fetch<A>(i->A, work, draw);
    StoreInto(work.Slot[i->Result], static_cast<Extended>(x) * x);
    return Next(i, work, draw, errorText);
}

template <From A>
double Cube(const Instruction* i, Work& work, const PlotState& draw, std::string& errorText)
{
    const double x = Fetch<A>(i->A, work, draw);
    double& result = work.Slot[i->Result];
    StoreInto(result, static_cast<Extended>(x) * x);
    StoreInto(result, static_cast<Extended>(result) * x);
    return Next(i, work, draw, errorText);
}

// The power rule with an exponent known to be this whole number, other than
// 2 and 3: only the test of a base near 0 under a negative exponent is left.
template <From A>
double WholePower(const Instruction* i, Work& work, const PlotState& draw, std::string& errorText)
{
    const double x = Fetch<A>(i->A, work, draw);
    if (i->Count < 0 && std::fabs(static_cast<Extended>(x)) < ZeroTolerance)
        return Stop(errorText, PowerBaseErrorText);
    work.Slot[i->Result] = IntPower(x, i->Count);
    return Next(i, work, draw, errorText);
}

template <From A>
double Negate(const Instruction* i, Work& work, const PlotState& draw, std::string& errorText)
{
    work.Slot[i->Result] = -Fetch<A>(i->A, work, draw);
    return Next(i, work, draw, errorText);
}

template <From A>
double Abs(const Instruction* i, Work& work, const PlotState& draw, std::string& errorText)
{
    work.Slot[i->Result] = std::fabs(Fetch<A>(i->A, work, draw));
    return Next(i, work, draw, errorText);
}

template <From A>
double Sin(const Instruction* i, Work& work, const PlotState& draw, std::string& errorText)
{
    StoreInto(work.Slot[i->Result], work.Trig.Sin(Fetch<A>(i->A, work, draw)));
    return Next(i, work, draw, errorText);
}

template <From A>
double Cos(const Instruction* i, Work& work, const PlotState& draw, std::string& errorText)
{
    StoreInto(work.Slot[i->Result], work.Trig.Cos(Fetch<A>(i->A, work, draw)));
    return Next(i, work, draw, errorText);
}

// The cosine is tested first; the sine is held in extended precision until
// the quotient is stored.
template <From A>
double Tan(const Instruction* i, Work& work, const PlotState& draw, std::string& errorText)
{
    const double v = Fetch<A>(i->A, work, draw);
    const Extended cosine = work.Trig.Cos(v);
    if (std::fabs(cosine) <= ZeroTolerance)
        return Stop(errorText, TangentErrorText);
    work.Slot[i->Result] = StoreReal(work.Trig.Sin(v) / cosine);
    return Next(i, work, draw, errorText);
}

template <From A>
double Exp(const Instruction* i, Work& work, const PlotState& draw, std::string& errorText)
{
    StoreInto(work.Slot[i->Result], ExpExtended(Fetch<A>(i->A, work, draw)));
    return Next(i, work, draw, errorText);
}

template <From A>
double Arctan(const Instruction* i, Work& work, const PlotState& draw, std::string& errorText)
{
    StoreInto(work.Slot[i->Result], ArctanExtended(Fetch<A>(i->A, work, draw)));
    return Next(i, work, draw, errorText);
}

// LN, SQRT, ARCSIN, ARCCOS, FA; Count holds the tag.
template <From A>
double Checked(const Instruction* i, Work& work, const PlotState& draw, std::string& errorText)
{
    double v = Fetch<A>(i->A, work, draw);
    if (const char* message = ApplyCheckedFunction(static_cast<unsigned char>(i->Count), v))
        return Stop(errorText, message);
    work.Slot[i->Result] = v;
    return Next(i, work, draw, errorText);
}

constexpr PreparedHandler By(bool a, PreparedHandler work, PreparedHandler variable)
{
    return a ? variable : work;
}

constexpr PreparedHandler By(bool a, bool b, PreparedHandler ww, PreparedHandler wv, PreparedHandler vw,
                             PreparedHandler vv)
{
    return a ? (b ? vv : vw) : (b ? wv : ww);
}

}  // namespace prepared

// The handler of an instruction, by its Op and its operand sources.
constexpr PreparedHandler HandlerOf(const PreparedInstruction& instruction)
{
    using namespace prepared;
    const bool a = instruction.AIsVariable;
    const bool b = instruction.BIsVariable;
    switch (instruction.Op) {
    case PreparedOp::End: return By(a, End<W>, End<V>);
    case PreparedOp::EndConstant: return EndConstant;
    case PreparedOp::FailMessage: return FailMessage;
    case PreparedOp::FailFault: return FailFault;
    case PreparedOp::Add: return By(a, b, Add<W, W>, Add<W, V>, Add<V, W>, Add<V, V>);
    case PreparedOp::AddConstant: return By(a, AddConstant<W>, AddConstant<V>);
    case PreparedOp::Subtract: return By(a, b, Subtract<W, W>, Subtract<W, V>, Subtract<V, W>, Subtract<V, V>);
    case PreparedOp::SubtractConstant: return By(a, SubtractConstant<W>, SubtractConstant<V>);
    case PreparedOp::SubtractFrom: return By(a, SubtractFrom<W>, SubtractFrom<V>);
    case PreparedOp::Multiply: return By(a, b, Multiply<W, W>, Multiply<W, V>, Multiply<V, W>, Multiply<V, V>);
    case PreparedOp::MultiplyConstant: return By(a, MultiplyConstant<W>, MultiplyConstant<V>);
    case PreparedOp::ScaleConstant: return By(a, ScaleConstant<W>, ScaleConstant<V>);
    case PreparedOp::Divide: return By(a, b, Divide<W, W>, Divide<W, V>, Divide<V, W>, Divide<V, V>);
    case PreparedOp::DivideConstant: return By(a, DivideConstant<W>, DivideConstant<V>);
    case PreparedOp::DivideInto: return By(a, DivideInto<W>, DivideInto<V>);
    case PreparedOp::Power: return By(a, b, Power<W, W>, Power<W, V>, Power<V, W>, Power<V, V>);
    case PreparedOp::PowerConstant: return By(a, PowerConstant<W>, PowerConstant<V>);
    case PreparedOp::PowerOf: return By(a, PowerOf<W>, PowerOf<V>);
    case PreparedOp::Square: return By(a, Square<W>, Square<V>);
    case PreparedOp::Cube: return By(a, Cube<W>, Cube<V>);
    case PreparedOp::WholePower: return By(a, WholePower<W>, WholePower<V>);
    case PreparedOp::Negate: return By(a, Negate<W>, Negate<V>);
    case PreparedOp::Abs: return By(a, Abs<W>, Abs<V>);
    case PreparedOp::Sin: return By(a, Sin<W>, Sin<V>);
    case PreparedOp::Cos: return By(a, Cos<W>, Cos<V>);
    case PreparedOp::Tan: return By(a, Tan<W>, Tan<V>);
    case PreparedOp::Exp: return By(a, Exp<W>, Exp<V>);
    case PreparedOp::Arctan: return By(a, Arctan<W>, Arctan<V>);
    case PreparedOp::Checked: return By(a, Checked<W>, Checked<V>);
    }
    return FailFault;  // not reached: every op is listed
}

// Runs the code from its first instruction: the program's value, or
// FailedResult with the message in errorText. Faults are thrown.
inline double RunPreparedCode(const PreparedInstruction* code, PreparedWork& work, const PlotState& draw,
                              std::string& errorText)
{
    return code->Run(code, work, draw, errorText);
}
