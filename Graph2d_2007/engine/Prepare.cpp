// SPDX-License-Identifier: GPL-3.0-or-later
// Preparation of a postfix program: the stack is followed cell by cell with
// what each entry will be at run time (a known value, a variable, or a work
// slot), and each operation becomes one instruction on those operands, or a
// value when all its operands are known and it succeeds.
#include <bit>
#include <cmath>
#include <optional>

#include "PreparedRun.h"

namespace {

int VariableIndex(unsigned char tag)
{
    for (std::size_t k = 0; k + 1 < sizeof VariableTags; ++k) {
        if (tag == static_cast<unsigned char>(VariableTags[k]))
            return static_cast<int>(k);
    }
    return -1;
}

int OperandCount(unsigned char tag)
{
    switch (tag) {
    case '+':
    case '-':
    case '*':
    case '/':
    case '^':
        return 2;
    default:
        return tag >= CodeNegate && tag <= CodeFa ? 1 : 0;
    }
}

// The instruction for a tag with all its operands in work slots.
PreparedInstruction SlotInstruction(unsigned char tag)
{
    PreparedInstruction instruction;
    switch (tag) {
    case '+': instruction.Op = PreparedOp::Add; break;
    case '-': instruction.Op = PreparedOp::Subtract; break;
    case '*': instruction.Op = PreparedOp::Multiply; break;
    case '/': instruction.Op = PreparedOp::Divide; break;
    case '^': instruction.Op = PreparedOp::Power; break;
    case CodeNegate: instruction.Op = PreparedOp::Negate; break;
    case CodeSin: instruction.Op = PreparedOp::Sin; break;
    case CodeCos: instruction.Op = PreparedOp::Cos; break;
    case CodeTan: instruction.Op = PreparedOp::Tan; break;
    case CodeExp: instruction.Op = PreparedOp::Exp; break;
    case CodeArctan: instruction.Op = PreparedOp::Arctan; break;
    case CodeSqr: instruction.Op = PreparedOp::Square; break;
    case CodeAbs: instruction.Op = PreparedOp::Abs; break;
    default:  // LN, SQRT, ARCSIN, ARCCOS, FA
        instruction.Op = PreparedOp::Checked;
        instruction.Count = tag;
        break;
    }
    return instruction;
}

// Whether y is a whole number within the 32-bit range: the power rule then
// takes IntPower(x, y) with no fault possible from rounding y.
bool IsWholeExponent(double y, std::int32_t& k)
{
    if (!(y >= -2147483648.0 && y <= 2147483647.0))
        return false;
    k = static_cast<std::int32_t>(y);
    return static_cast<double>(k) == y;
}

// What the evaluation of a constant operation came to.
struct FoldOutcome {
    double Value = 0.0;
    const char* Message = nullptr;
    std::optional<FloatFaultKind> Fault;
};

// A stack entry as it will be at run time: a known value, a variable, or a
// work slot.
struct Operand {
    bool IsConstant = false;
    double Value = 0.0;  // when IsConstant
    bool IsVariable = false;
    std::uint8_t Index = 0;  // the variable's offset, or the work slot
    // Sure to be finite. Every stored result is tested, so only a variable
    // (which the evaluator does not test) and its negation or magnitude,
    // which are not tested either, may be otherwise.
    bool Finite = true;
};

class Preparer {
public:
    explicit Preparer(const PostfixProgram& program)
        : foldBoth_(TrigCache::TakesBoth(program.data(), program.data() + program.size()))
    {
        for (const PostfixCell& cell : program) {
            if (!Step(cell))
                return;
        }
        // No end cell among the 256: refused after running them all.
        Fail(StructureErrorText);
    }

    PreparedProgram Take()
    {
        PairProducts();
        StartTrig();
        return prepared_;
    }

private:
    // A product by a constant whose result the next instruction multiplies
    // by a constant: both run as one (see ProductPair). The second stays in
    // the code, skipped by the first's handler.
    void PairProducts()
    {
        for (std::size_t k = 0; k + 1 < emitted_; ++k) {
            PreparedInstruction& first = prepared_.Code[k];
            const PreparedInstruction& second = prepared_.Code[k + 1];
            if (IsConstantProduct(first.Op) && IsConstantProduct(second.Op) && !second.AIsVariable &&
                second.A == first.Result) {
                // The pair keeps the first product in a register and
                // stores only the second, into the second's slot.
                first.Result = second.Result;
                first.Run = PairHandlerOf(first, second);
                ++k;
            }
        }
    }

    // The first sine or cosine starts the cache, set to take both at once
    // when the code has both.
    void StartTrig()
    {
        const auto isTrig = [](PreparedOp op) {
            return op == PreparedOp::Sin || op == PreparedOp::Cos || op == PreparedOp::Tan;
        };
        bool sine = false;
        bool cosine = false;
        PreparedInstruction* first = nullptr;
        for (std::size_t k = 0; k < emitted_; ++k) {
            const PreparedOp op = prepared_.Code[k].Op;
            if (isTrig(op) && !first)
                first = &prepared_.Code[k];
            sine = sine || op == PreparedOp::Sin || op == PreparedOp::Tan;
            cosine = cosine || op == PreparedOp::Cos || op == PreparedOp::Tan;
        }
        if (first) {
            first->StartsTrig = true;
            first->TrigBoth = sine && cosine;
        }
    }

    // False once the code is complete.
    bool Step(const PostfixCell& cell)
    {
        if (cell.Tag == EndTag)
            return End();
        if (cell.Tag == NumberTag) {
            if (!std::isfinite(cell.Value))
                return Fail(StructureErrorText);
            stack_[depth_++] = Constant(cell.Value);
            return true;
        }
        if (const int variable = VariableIndex(cell.Tag); variable >= 0) {
            stack_[depth_++] = Operand{false, 0.0, true, VariableOffsets[variable], false};
            return true;
        }
        const int count = OperandCount(cell.Tag);
        if (count == 0 || depth_ < static_cast<std::size_t>(count))
            return Fail(StructureErrorText);  // an unknown tag, or short of operands
        return count == 2 ? Binary(cell.Tag) : Unary(cell.Tag);
    }

    bool End()
    {
        if (depth_ == 0)
            return Fail(StructureErrorText);
        const Operand& top = stack_[depth_ - 1];
        if (depth_ == 1 && !top.IsConstant && !top.IsVariable && emitted_ > 0 &&
            prepared_.Code[emitted_ - 1].Result == top.Index) {
            // The last operation's result is the value: it returns it itself.
            PreparedInstruction& last = prepared_.Code[emitted_ - 1];
            last.Last = true;
            last.Run = HandlerOf(last);
            return false;
        }
        PreparedInstruction end;
        if (top.IsConstant) {
            end.Op = PreparedOp::EndConstant;
            end.Constant = top.Value;
        } else {
            SetA(end, top);
        }
        end.LeavesExtraValues = depth_ >= 2;
        Emit(end);
        return false;
    }

    bool Binary(unsigned char tag)
    {
        const Operand right = stack_[--depth_];
        const Operand left = stack_[depth_ - 1];
        if (left.IsConstant && right.IsConstant) {
            --depth_;
            return Fold(tag, left.Value, right.Value);
        }

        PreparedInstruction instruction = SlotInstruction(tag);
        if (!left.IsConstant && !right.IsConstant) {
            SetA(instruction, left);
            instruction.B = right.Index;
            instruction.BIsVariable = right.IsVariable;
        } else if (right.IsConstant) {
            SetA(instruction, left);
            if (!WithConstantRight(tag, right.Value, left.Finite, instruction))
                return false;
        } else {
            SetA(instruction, right);
            instruction.Constant = left.Value;
            instruction.Op = ConstantLeftOp(tag, left.Value, right.Finite);
        }
        return Result(instruction, true);
    }

    // x op k. False when the operation is known to fail.
    bool WithConstantRight(unsigned char tag, double k, bool finite, PreparedInstruction& instruction)
    {
        instruction.Constant = k;
        switch (tag) {
        case '+': instruction.Op = PreparedOp::AddConstant; return true;
        case '-': instruction.Op = PreparedOp::SubtractConstant; return true;
        case '*': instruction.Op = ProductOp(k, finite); return true;
        case '/':
            // The divisor alone decides the test.
            if (std::fabs(static_cast<Extended>(k)) < ZeroTolerance)
                return Fail(DivisionByZeroText);
            instruction.Op = PreparedOp::DivideConstant;
            return true;
        default: {  // '^'
            std::int32_t whole = 0;
            if (k == 2.0) {
                instruction.Op = PreparedOp::Square;
            } else if (k == 3.0) {
                instruction.Op = PreparedOp::Cube;
            } else if (IsWholeExponent(k, whole)) {
                instruction.Op = PreparedOp::WholePower;
                instruction.Count = whole;
            } else {
                instruction.Op = PreparedOp::PowerConstant;
            }
            return true;
        }
        }
    }

    // A finite x times k with |k| <= 1 needs no overflow test; a k of few
    // significant bits makes the product one rounding.
    static PreparedOp ProductOp(double k, bool finite)
    {
        const bool scale = finite && std::fabs(k) <= 1.0;
        if (ShortSignificand(k))
            return scale ? PreparedOp::ScaleShortConstant : PreparedOp::MultiplyShortConstant;
        return scale ? PreparedOp::ScaleConstant : PreparedOp::MultiplyConstant;
    }

    // Whether the finite k has at most 11 significant bits (0 has none).
    static bool ShortSignificand(double k)
    {
        const std::uint64_t bits = std::bit_cast<std::uint64_t>(k);
        const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
        const bool normal = (bits & (std::uint64_t{0x7FF} << 52)) != 0;
        const std::uint64_t significand = normal ? fraction | (std::uint64_t{1} << 52) : fraction;
        if (significand == 0)
            return true;
        return std::bit_width(significand) - std::countr_zero(significand) <= 11;
    }

    // k op x; sums and products are the same either way round.
    static PreparedOp ConstantLeftOp(unsigned char tag, double k, bool finite)
    {
        switch (tag) {
        case '+': return PreparedOp::AddConstant;
        case '-': return PreparedOp::SubtractFrom;
        case '*': return ProductOp(k, finite);
        case '/': return PreparedOp::DivideInto;
        default: return PreparedOp::PowerOf;
        }
    }

    bool Unary(unsigned char tag)
    {
        const Operand operand = stack_[depth_ - 1];
        if (operand.IsConstant) {
            --depth_;
            return Fold(tag, operand.Value, 0.0);
        }
        PreparedInstruction instruction = SlotInstruction(tag);
        SetA(instruction, operand);
        const bool untested = tag == CodeNegate || tag == CodeAbs;
        return Result(instruction, untested ? operand.Finite : true);
    }

    // The instruction writes the entry at the top of the stack, where its
    // (left) operand stood: the work slot of that stack position.
    bool Result(PreparedInstruction instruction, bool finite)
    {
        const auto slot = static_cast<std::uint8_t>(depth_ - 1);
        instruction.Result = slot;
        Emit(instruction);
        stack_[depth_ - 1] = Operand{false, 0.0, false, slot, finite};
        return true;
    }

    static void SetA(PreparedInstruction& instruction, const Operand& operand)
    {
        instruction.A = operand.Index;
        instruction.AIsVariable = operand.IsVariable;
    }

    static Operand Constant(double value) { return Operand{true, value, false, 0, true}; }

    // Evaluates the operation on known operands, by the interpreter itself.
    // Success: the value takes the operation's place on the stack. Failure:
    // it stays a failure at this point of the code.
    bool Fold(unsigned char tag, double left, double right)
    {
        const FoldOutcome outcome = Evaluate(tag, left, right);
        if (outcome.Fault)
            return Fail(*outcome.Fault);
        if (outcome.Message)
            return Fail(outcome.Message);
        stack_[depth_++] = Constant(outcome.Value);
        return true;
    }

    FoldOutcome Evaluate(unsigned char tag, double left, double right) const
    {
        PreparedInstruction code[2];  // the operation on work slots 0 and 1, then the End of slot 0
        code[0] = SlotInstruction(tag);
        code[0].B = 1;
        code[0].StartsTrig = true;  // a sine or cosine here is the run's first
        code[0].TrigBoth = foldBoth_;
        code[0].Run = HandlerOf(code[0]);
        code[1].Run = HandlerOf(code[1]);
        std::string message;
        PreparedWork work;
        work.Slot[0] = left;
        work.Slot[1] = right;
        static const PlotState unused;  // no operand is a variable
        FoldOutcome outcome;
        try {
            outcome.Value = RunPreparedCode(code, work, unused, message);
            outcome.Message = StaticMessage(message);
        } catch (const FloatFault& fault) {
            outcome.Fault = fault.Kind();
        }
        return outcome;
    }

    // The message constant of a message text; null for the empty text.
    static const char* StaticMessage(const std::string& text)
    {
        if (text.empty())
            return nullptr;
        for (const char* message : {DivisionByZeroText, PowerBaseErrorText, LogArgumentErrorText, TangentErrorText,
                                    SqrtArgumentErrorText, ArcsinArgumentErrorText, ArccosArgumentErrorText,
                                    FactorialArgumentErrorText}) {
            if (text == message)
                return message;
        }
        return StructureErrorText;  // not reached: one operation sets only those above
    }

    bool Fail(const char* message)
    {
        PreparedInstruction instruction;
        instruction.Op = PreparedOp::FailMessage;
        instruction.Message = message;
        Emit(instruction);
        return false;
    }

    bool Fail(FloatFaultKind fault)
    {
        PreparedInstruction instruction;
        instruction.Op = PreparedOp::FailFault;
        instruction.Count = static_cast<std::int32_t>(fault);
        Emit(instruction);
        return false;
    }

    void Emit(PreparedInstruction instruction)
    {
        instruction.Run = HandlerOf(instruction);
        prepared_.Code[emitted_++] = instruction;
    }

    const bool foldBoth_;
    PreparedProgram prepared_;
    std::size_t emitted_ = 0;
    Operand stack_[ProgramCells];
    std::size_t depth_ = 0;
};

}  // namespace

PreparedProgram PrepareProgram(const PostfixProgram& program)
{
    return Preparer(program).Take();
}
