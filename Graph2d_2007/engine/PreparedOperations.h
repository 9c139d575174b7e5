// The operations of prepared code, one per PreparedOp that computes: what
// each does with its operands. Each is the operation of EvaluatePostfix for
// its tag: operands are 64-bit, the result is formed in extended precision
// and rounded once as it is stored (StoreInto raises the overflow or
// invalid-operation fault of a result that does not fit). Private to the
// engine; PreparedRun.h runs them.
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

// The operations. Apply gets the instruction, operand A (a), operand B (b,
// for the five with two operands in slots), the run's storage and the slot
// of the result; it returns null, or the message that ends the run.

// An operand in extended precision, where every operation is formed.
inline Extended E(double value)
{
    return value;
}

struct Add {
    static constexpr bool TakesB = true;
    static const char* Apply(const Instruction&, double a, double b, Work&, double& result)
    {
        StoreInto(result, E(a) + b);
        return nullptr;
    }
};

struct AddConstant {
    static constexpr bool TakesB = false;
    static const char* Apply(const Instruction& i, double a, double, Work&, double& result)
    {
        StoreInto(result, E(a) + i.Constant);
        return nullptr;
    }
};

struct Subtract {
    static constexpr bool TakesB = true;
    static const char* Apply(const Instruction&, double a, double b, Work&, double& result)
    {
        StoreInto(result, E(a) - b);
        return nullptr;
    }
};

struct SubtractConstant {
    static constexpr bool TakesB = false;
    static const char* Apply(const Instruction& i, double a, double, Work&, double& result)
    {
        StoreInto(result, E(a) - i.Constant);
        return nullptr;
    }
};

struct SubtractFrom {
    static constexpr bool TakesB = false;
    static const char* Apply(const Instruction& i, double a, double, Work&, double& result)
    {
        StoreInto(result, E(i.Constant) - a);
        return nullptr;
    }
};

struct Multiply {
    static constexpr bool TakesB = true;
    static const char* Apply(const Instruction&, double a, double b, Work&, double& result)
    {
        StoreInto(result, E(a) * b);
        return nullptr;
    }
};

struct MultiplyConstant {
    static constexpr bool TakesB = false;
    static const char* Apply(const Instruction& i, double a, double, Work&, double& result)
    {
        StoreInto(result, E(a) * i.Constant);
        return nullptr;
    }
};

// |a * k| <= |a| for |k| <= 1, and rounding never passes a bound that is
// itself a 64-bit real, so the stored product of a finite a is finite: no
// test is needed.
struct ScaleConstant {
    static constexpr bool TakesB = false;
    static const char* Apply(const Instruction& i, double a, double, Work&, double& result)
    {
        __asm__("fstpl %0" : "=m"(result) : "t"(E(a) * i.Constant) : "st");
        return nullptr;
    }
};

struct Divide {
    static constexpr bool TakesB = true;
    static const char* Apply(const Instruction&, double a, double b, Work&, double& result)
    {
        if (std::fabs(E(b)) < ZeroTolerance)
            return DivisionByZeroText;
        StoreInto(result, E(a) / b);
        return nullptr;
    }
};

// The divisor passed its test during preparation.
struct DivideConstant {
    static constexpr bool TakesB = false;
    static const char* Apply(const Instruction& i, double a, double, Work&, double& result)
    {
        StoreInto(result, E(a) / i.Constant);
        return nullptr;
    }
};

struct DivideInto {
    static constexpr bool TakesB = false;
    static const char* Apply(const Instruction& i, double a, double, Work&, double& result)
    {
        if (std::fabs(E(a)) < ZeroTolerance)
            return DivisionByZeroText;
        StoreInto(result, E(i.Constant) / a);
        return nullptr;
    }
};

// x^y as EvaluatePostfix forms it: ^2 and ^3 by the rounded products of
// IntPower, every other exponent by the power rule.
inline const char* PowerOperation(double x, double y, double& result)
{
    if (y == 2.0) {
        StoreInto(result, E(x) * x);
    } else if (y == 3.0) {
        StoreInto(result, E(x) * x);
        StoreInto(result, E(result) * x);
    } else if (!PowerRule(x, y, result)) {
        return PowerBaseErrorText;
    }
    return nullptr;
}

struct Power {
    static constexpr bool TakesB = true;
    static const char* Apply(const Instruction&, double a, double b, Work&, double& result)
    {
        return PowerOperation(a, b, result);
    }
};

struct PowerConstant {
    static constexpr bool TakesB = false;
    static const char* Apply(const Instruction& i, double a, double, Work&, double& result)
    {
        return PowerOperation(a, i.Constant, result);
    }
};

struct PowerOf {
    static constexpr bool TakesB = false;
    static const char* Apply(const Instruction& i, double a, double, Work&, double& result)
    {
        return PowerOperation(i.Constant, a, result);
    }
};

struct Square {
    static constexpr bool TakesB = false;
    static const char* Apply(const Instruction&, double a, double, Work&, double& result)
    {
        StoreInto(result, E(a) * a);
        return nullptr;
    }
};

struct Cube {
    static constexpr bool TakesB = false;
    static const char* Apply(const Instruction&, double a, double, Work&, double& result)
    {
        StoreInto(result, E(a) * a);
        StoreInto(result, E(result) * a);
        return nullptr;
    }
};

// The power rule with an exponent known to be this whole number, other than
// 2 and 3: only the test of a base near 0 under a negative exponent is left.
struct WholePower {
    static constexpr bool TakesB = false;
    static const char* Apply(const Instruction& i, double a, double, Work&, double& result)
    {
        if (i.Count < 0 && std::fabs(E(a)) < ZeroTolerance)
            return PowerBaseErrorText;
        result = IntPower(a, i.Count);
        return nullptr;
    }
};

struct Negate {
    static constexpr bool TakesB = false;
    static const char* Apply(const Instruction&, double a, double, Work&, double& result)
    {
        result = -a;
        return nullptr;
    }
};

struct Abs {
    static constexpr bool TakesB = false;
    static const char* Apply(const Instruction&, double a, double, Work&, double& result)
    {
        result = std::fabs(a);
        return nullptr;
    }
};

struct Sin {
    static constexpr bool TakesB = false;
    static const char* Apply(const Instruction&, double a, double, Work& work, double& result)
    {
        StoreInto(result, work.Trig.Sin(a));
        return nullptr;
    }
};

struct Cos {
    static constexpr bool TakesB = false;
    static const char* Apply(const Instruction&, double a, double, Work& work, double& result)
    {
        StoreInto(result, work.Trig.Cos(a));
        return nullptr;
    }
};

// The cosine is tested first; the sine is held in extended precision until
// the quotient is stored.
struct Tan {
    static constexpr bool TakesB = false;
    static const char* Apply(const Instruction&, double a, double, Work& work, double& result)
    {
        const Extended cosine = work.Trig.Cos(a);
        if (std::fabs(cosine) <= ZeroTolerance)
            return TangentErrorText;
        result = StoreReal(work.Trig.Sin(a) / cosine);
        return nullptr;
    }
};

struct Exp {
    static constexpr bool TakesB = false;
    static const char* Apply(const Instruction&, double a, double, Work&, double& result)
    {
        StoreInto(result, ExpExtended(a));
        return nullptr;
    }
};

struct Arctan {
    static constexpr bool TakesB = false;
    static const char* Apply(const Instruction&, double a, double, Work&, double& result)
    {
        StoreInto(result, ArctanExtended(a));
        return nullptr;
    }
};

// LN, SQRT, ARCSIN, ARCCOS, FA; Count holds the tag.
struct Checked {
    static constexpr bool TakesB = false;
    static const char* Apply(const Instruction& i, double a, double, Work&, double& result)
    {
        if (const char* message = ApplyCheckedFunction(static_cast<unsigned char>(i.Count), a))
            return message;
        result = a;
        return nullptr;
    }
};

}  // namespace prepared
