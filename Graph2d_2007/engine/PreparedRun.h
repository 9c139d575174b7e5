// SPDX-License-Identifier: GPL-3.0-or-later
// The handlers that run prepared code, shared by the evaluation and by the
// folding of constants during preparation (which runs one instruction on
// constant operands), so both form every value by the same code. Private to
// the engine.
//
// Each instruction carries its handler; a handler does its operation and
// passes on to the next instruction's handler by a tail call, so the code
// runs as a chain of jumps with no dispatch loop. (Without optimisation the
// tail calls are plain calls, at most 257 deep.) The handler of an operation
// comes in variants by where its operands are read (a work slot, or a
// variable slot of the plot state, read there directly) and by whether it is
// the last one, which returns its result as the program's value.
#pragma once

#include "PreparedOperations.h"

namespace prepared {

enum class From { Work, Variable };

// A variable by its byte offset in the plot state, a work slot by its number.
template <From F>
double Fetch(std::uint8_t operand, const Work& work, const PlotState& draw)
{
    if constexpr (F == From::Variable)
        return *reinterpret_cast<const double*>(reinterpret_cast<const char*>(&draw) + operand);
    else
        return work.Slot[operand];
}

template <class Operation>
constexpr int WidthOf()
{
    if constexpr (requires { Operation::Width; })
        return Operation::Width;
    else
        return 1;
}

// Out of line, so that the handlers' hot paths stay free of string code.
[[gnu::cold, gnu::noinline]] inline double Stop(std::string& errorText, const char* message)
{
    errorText = message;
    return FailedResult;
}

template <class Operation, From A, From B, bool Last>
double Run(const Instruction* i, Work& work, const PlotState& draw, std::string& errorText)
{
    double& result = work.Slot[i->Result];
    double b = 0.0;
    if constexpr (Operation::TakesB)
        b = Fetch<B>(i->B, work, draw);
    if (const char* message = Operation::Apply(*i, Fetch<A>(i->A, work, draw), b, work, result)) [[unlikely]]
        return Stop(errorText, message);
    if constexpr (Last)
        return result;
    else
        return i[WidthOf<Operation>()].Run(i + WidthOf<Operation>(), work, draw, errorText);
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

template <class Operation, From A, From B>
constexpr PreparedHandler ByLast(bool last)
{
    return last ? Run<Operation, A, B, true> : Run<Operation, A, B, false>;
}

template <class Operation, From A>
constexpr PreparedHandler ByB(bool b, bool last)
{
    if constexpr (Operation::TakesB)
        return b ? ByLast<Operation, A, From::Variable>(last) : ByLast<Operation, A, From::Work>(last);
    else
        return ByLast<Operation, A, From::Work>(last);
}

template <class Operation>
constexpr PreparedHandler By(const Instruction& i)
{
    return i.AIsVariable ? ByB<Operation, From::Variable>(i.BIsVariable, i.Last)
                         : ByB<Operation, From::Work>(i.BIsVariable, i.Last);
}

}  // namespace prepared

// The handler of an instruction, by its Op, its operand sources and whether
// it is the last.
constexpr PreparedHandler HandlerOf(const PreparedInstruction& instruction)
{
    using namespace prepared;
    switch (instruction.Op) {
    case PreparedOp::End: return instruction.AIsVariable ? End<From::Variable> : End<From::Work>;
    case PreparedOp::EndConstant: return EndConstant;
    case PreparedOp::FailMessage: return FailMessage;
    case PreparedOp::FailFault: return FailFault;
    case PreparedOp::Add: return By<Add>(instruction);
    case PreparedOp::AddConstant: return By<AddConstant>(instruction);
    case PreparedOp::Subtract: return By<Subtract>(instruction);
    case PreparedOp::SubtractConstant: return By<SubtractConstant>(instruction);
    case PreparedOp::SubtractFrom: return By<SubtractFrom>(instruction);
    case PreparedOp::Multiply: return By<Multiply>(instruction);
    case PreparedOp::MultiplyConstant: return By<MultiplyConstant>(instruction);
    case PreparedOp::ScaleConstant: return By<ScaleConstant>(instruction);
    case PreparedOp::MultiplyShortConstant: return By<MultiplyShortConstant>(instruction);
    case PreparedOp::ScaleShortConstant: return By<ScaleShortConstant>(instruction);
    case PreparedOp::Divide: return By<Divide>(instruction);
    case PreparedOp::DivideConstant: return By<DivideConstant>(instruction);
    case PreparedOp::DivideInto: return By<DivideInto>(instruction);
    case PreparedOp::Power: return By<Power>(instruction);
    case PreparedOp::PowerConstant: return By<PowerConstant>(instruction);
    case PreparedOp::PowerOf: return By<PowerOf>(instruction);
    case PreparedOp::Square: return By<Square>(instruction);
    case PreparedOp::Cube: return By<Cube>(instruction);
    case PreparedOp::WholePower: return By<WholePower>(instruction);
    case PreparedOp::Negate: return By<Negate>(instruction);
    case PreparedOp::Abs: return By<Abs>(instruction);
    case PreparedOp::Sin: return By<Sin>(instruction);
    case PreparedOp::Cos: return By<Cos>(instruction);
    case PreparedOp::Tan: return By<Tan>(instruction);
    case PreparedOp::Exp: return By<Exp>(instruction);
    case PreparedOp::Arctan: return By<Arctan>(instruction);
    case PreparedOp::Checked: return By<Checked>(instruction);
    }
    return FailFault;  // not reached: every op is listed
}

namespace prepared {

template <class First>
constexpr PreparedHandler PairBySecond(const PreparedInstruction& first, const PreparedInstruction& second)
{
    const auto by = [&]<class Second>() {
        using Pair = ProductPair<First, Second>;
        return first.AIsVariable ? ByLast<Pair, From::Variable, From::Work>(second.Last)
                                 : ByLast<Pair, From::Work, From::Work>(second.Last);
    };
    switch (second.Op) {
    case PreparedOp::MultiplyConstant: return by.template operator()<MultiplyConstant>();
    case PreparedOp::ScaleConstant: return by.template operator()<ScaleConstant>();
    case PreparedOp::MultiplyShortConstant: return by.template operator()<MultiplyShortConstant>();
    default: return by.template operator()<ScaleShortConstant>();
    }
}

}  // namespace prepared

// Whether an instruction is a product by a constant, the kind that pairs.
constexpr bool IsConstantProduct(PreparedOp op)
{
    return op == PreparedOp::MultiplyConstant || op == PreparedOp::ScaleConstant ||
           op == PreparedOp::MultiplyShortConstant || op == PreparedOp::ScaleShortConstant;
}

// The handler of two products by constants run as one (both IsConstantProduct).
constexpr PreparedHandler PairHandlerOf(const PreparedInstruction& first, const PreparedInstruction& second)
{
    using namespace prepared;
    switch (first.Op) {
    case PreparedOp::MultiplyConstant: return PairBySecond<MultiplyConstant>(first, second);
    case PreparedOp::ScaleConstant: return PairBySecond<ScaleConstant>(first, second);
    case PreparedOp::MultiplyShortConstant: return PairBySecond<MultiplyShortConstant>(first, second);
    default: return PairBySecond<ScaleShortConstant>(first, second);
    }
}

// Runs the code from its first instruction: the program's value, or
// FailedResult with the message in errorText. Faults are thrown.
inline double RunPreparedCode(const PreparedInstruction* code, PreparedWork& work, const PlotState& draw,
                              std::string& errorText)
{
    return code->Run(code, work, draw, errorText);
}
