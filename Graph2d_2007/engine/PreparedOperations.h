// SPDX-License-Identifier: GPL-3.0-or-later
// The operations of prepared code, one per PreparedOp that computes: what
// each does with its operands. Each is the operation of EvaluatePostfix for
// its tag: operands are 64-bit, the result is formed in extended precision
// and rounded once as it is stored (StoreInto raises the overflow or
// invalid-operation fault of a result that does not fit). Private to the
// engine; PreparedRun.h runs them.
#pragma once

#include <cstddef>
#include <memory>
#include <type_traits>

#include "EvaluateRules.h"
#include "PreparedProgram.h"

// The variable slots by tag, as the byte offsets in PlotState at which the
// handlers read them (a standard-layout record; all lie in its first 256
// bytes, or the narrowing below would not compile).
static_assert(std::is_standard_layout_v<PlotState>);
inline constexpr char VariableTags[] = "KNRSTXYZ";
inline constexpr std::uint8_t VariableOffsets[] = {
    offsetof(PlotState, VarK), offsetof(PlotState, VarN), offsetof(PlotState, VarR), offsetof(PlotState, VarS),
    offsetof(PlotState, VarT), offsetof(PlotState, VarX), offsetof(PlotState, VarY), offsetof(PlotState, VarZ),
};
static_assert(std::size(VariableOffsets) == sizeof VariableTags - 1);

namespace prepared {

using Instruction = PreparedInstruction;
using Work = PreparedWork;

// The operations. Apply gets the instruction, operand A (a), operand B (b,
// for the five with two operands in slots), the run's storage and the slot
// of the result; it returns null, or the message that ends the run. Width is
// the number of instructions one takes (1 unless it says otherwise).

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
        StoreUntested(result, E(a) * i.Constant);
        return nullptr;
    }
};

// A constant of at most 11 significant bits (ShortSignificand): a * k
// exactly has at most 53 + 11 = 64, so the x87 product is exact and its store
// is the one rounding of a * k to a double, to nearest even, onto the normal
// or the denormal grid. The SSE2 product is that same single rounding
// (round to nearest, no flush to zero: the default modes), with the same
// sign of a zero result, and its non-finite results are those of the x87
// product: inf * 0 and a NaN give a NaN, anything else past the range an
// infinity. So it stands for the x87 product, tested as StoreInto tests.
struct MultiplyShortConstant {
    static constexpr bool TakesB = false;
    static const char* Apply(const Instruction& i, double a, double, Work&, double& result)
    {
        result = a * i.Constant;
        TestStored(result);
        return nullptr;
    }
};

// The same for |k| <= 1 and a finite a: no overflow possible (see ScaleConstant).
struct ScaleShortConstant {
    static constexpr bool TakesB = false;
    static const char* Apply(const Instruction& i, double a, double, Work&, double& result)
    {
        result = a * i.Constant;
        return nullptr;
    }
};

// Two products by constants in a row, a * k1 and then that times k2 (the
// next instruction, whose operand is this one's result and whose result
// goes to the same slot): each formed, stored and tested exactly as alone,
// so a fault of the first still arises before the second is formed. Saves
// one pass through the dispatch and the intermediate slot.
template <class First, class Second>
struct ProductPair {
    static constexpr bool TakesB = false;
    static constexpr int Width = 2;
    static const char* Apply(const Instruction& i, double a, double, Work& work, double& result)
    {
        double first;
        First::Apply(i, a, 0.0, work, first);
        return Second::Apply((&i)[1], first, 0.0, work, result);
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

// The run's TrigCache, started by the code's first sine or cosine.
inline TrigCache& TrigOf(const Instruction& i, Work& work)
{
    if (i.StartsTrig)
        std::construct_at(&work.Trig, i.TrigBoth);
    return work.Trig;
}

struct Sin {
    static constexpr bool TakesB = false;
    static const char* Apply(const Instruction& i, double a, double, Work& work, double& result)
    {
        StoreInto(result, TrigOf(i, work).Sin(a));
        return nullptr;
    }
};

struct Cos {
    static constexpr bool TakesB = false;
    static const char* Apply(const Instruction& i, double a, double, Work& work, double& result)
    {
        StoreInto(result, TrigOf(i, work).Cos(a));
        return nullptr;
    }
};

// The cosine is tested first; the sine is held in extended precision until
// the quotient is stored.
struct Tan {
    static constexpr bool TakesB = false;
    static const char* Apply(const Instruction& i, double a, double, Work& work, double& result)
    {
        TrigCache& trig = TrigOf(i, work);
        const Extended cosine = trig.Cos(a);
        if (std::fabs(cosine) <= ZeroTolerance)
            return TangentErrorText;
        result = StoreReal(trig.Sin(a) / cosine);
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
