// SPDX-License-Identifier: GPL-3.0-or-later
// A compiled formula prepared for evaluation at many parameter values.
//
// PrepareProgram turns a postfix program, once, into register code: every
// subexpression without variables whose evaluation succeeds is replaced by
// its value, operands are read straight from their slots instead of being
// pushed, and what can be known before the run (operand counts, a constant
// divisor or exponent) is settled here. EvaluatePrepared then gives, for any
// values of the variable slots, exactly what EvaluatePostfix gives for the
// program: the same bits, the same message, the same fault, arising at the
// same point of the evaluation.
//
// Why that holds:
// - A subexpression without variables has the same outcome at every
//   evaluation. If it succeeds, it has no effect but its value (and its
//   time, now spent once), so the value stands for it. If it fails, it is not folded: the failure is recorded and
//   raised where the subexpression stood, after everything before it has run.
// - Operand counts do not depend on values, so a program the evaluator
//   refuses (an operator short of operands, an unknown tag, a non-finite
//   number, an end with no value or no end cell) is refused at the same cell.
// - Every remaining operation is formed by the same arithmetic as in
//   EvaluatePostfix (extended precision, one rounding as the result is
//   stored), or by a faster one shown to give the same bits and faults where
//   it is written (PreparedOperations.h); sums and products are commutative
//   bit for bit, so a constant operand may stand on either side.
// - A test whose outcome is known is made here: a constant divisor or
//   exponent is tested once, and a finite operand times a constant of
//   magnitude at most 1 cannot overflow, so its product is stored untested.
// - Sine and cosine of one argument may come from one sincosl; glibc's
//   sincosl gives exactly the bits of sinl and cosl (see TrigCache).
// - Two products by constants in a row may run as one instruction: the same
//   two products, in the same order, each rounded and tested as alone.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "Expression.h"
#include "TrigCache.h"

// A and B below are the operands (a work slot or a variable); each result
// goes to the work slot Result.
enum class PreparedOp : std::uint8_t {
    End,               // the program's value is A
    EndConstant,       // the program's value is Constant
    FailMessage,       // a failure known beforehand: Message
    FailFault,         // a fault known beforehand: Count is the FloatFaultKind
    Add,               // A + B
    AddConstant,       // A + Constant
    Subtract,          // A - B
    SubtractConstant,  // A - Constant
    SubtractFrom,      // Constant - A
    Multiply,          // A * B
    MultiplyConstant,  // A * Constant
    ScaleConstant,     // A * Constant, A finite and |Constant| <= 1: no overflow possible
    MultiplyShortConstant,  // A * Constant, Constant of at most 11 significant bits
    ScaleShortConstant,     // A * Constant, both of the above
    Divide,            // A / B, divisor tested
    DivideConstant,    // A / Constant, divisor tested beforehand
    DivideInto,        // Constant / A, divisor tested
    Power,             // A ^ B by the power rule
    PowerConstant,     // A ^ Constant by the power rule
    PowerOf,           // Constant ^ A by the power rule
    Square,            // A * A: SQR, and ^2
    Cube,              // (A * A) * A: ^3
    WholePower,        // A ^ Count, any other whole exponent
    Negate,
    Abs,
    Sin,
    Cos,
    Tan,
    Exp,
    Arctan,
    Checked,  // LN, SQRT, ARCSIN, ARCCOS or FA of A; Count holds the tag
};

struct PreparedInstruction;
struct PreparedWork;

// Runs one instruction and then, by a tail call, the rest of the code; the
// End, or the last operation, returns the program's value.
using PreparedHandler = double (*)(const PreparedInstruction* instruction, PreparedWork& work,
                                   const PlotState& draw, std::string& errorText);

struct PreparedInstruction {
    PreparedHandler Run = nullptr;  // the handler of Op for these operand sources
    PreparedOp Op = PreparedOp::End;
    // A and B name a variable by its byte offset in PlotState when these are
    // set, else a work slot (a stack position).
    bool AIsVariable = false;
    bool BIsVariable = false;
    std::uint8_t Result = 0;  // work slot written
    std::uint8_t A = 0;       // the (left) operand; the End's value
    std::uint8_t B = 0;       // the right operand
    bool LeavesExtraValues = false;  // End: two or more values remain
    bool Last = false;  // an operation whose result is the program's value: no End follows
    // Sine, cosine or tangent: the first of the code starts the run's
    // TrigCache, which takes both at once when TrigBoth is set.
    bool StartsTrig = false;
    bool TrigBoth = false;
    union {
        double Constant = 0.0;
        std::int32_t Count;
        const char* Message;
    };
};

struct PreparedProgram {
    // One instruction per operation at most, and the End or a failure.
    std::array<PreparedInstruction, ProgramCells + 1> Code{};
};

// Prepares `program` for EvaluatePrepared. Constant subexpressions are
// evaluated here, with the variable slots out of play; a floating-point fault
// among them is not raised but kept for its place in the evaluation. Throws
// only what a long computation throws when cancelled (EvaluationCancelled).
PreparedProgram PrepareProgram(const PostfixProgram& program);

// The storage of one run. The error text, passed along with it, is written
// only with the message that ends the run.
struct PreparedWork {
    PreparedWork() {}  // nothing set: a run costs no stores before its code

    union {
        TrigCache Trig;  // started by the code's first sine or cosine (StartsTrig)
    };
    double Slot[ProgramCells];  // one per stack position
};

// The error text at entry, not empty: true for a compile message, which
// blocks the run; anything else is cleared.
bool PreparedEntryBlocks(std::string& errorText);

// Same contract as EvaluatePostfix on the program it was prepared from:
// returns at once (FailedResult) while errorText holds a compile message,
// otherwise clears it, runs and sets a message on failure; floating-point
// faults are thrown as FloatFault. Reads only the variable slots of `draw`;
// allocates nothing unless it stores a message. Inline, so that a loop of
// evaluations calls the code itself.
inline double EvaluatePrepared(PlotState& draw, const PreparedProgram& program, std::string& errorText)
{
    if (!errorText.empty() && PreparedEntryBlocks(errorText)) [[unlikely]]
        return FailedResult;
    PreparedWork work;
    const PreparedInstruction* code = program.Code.data();
    return code->Run(code, work, draw, errorText);
}
