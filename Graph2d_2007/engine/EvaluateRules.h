// The rules of the evaluator beyond plain arithmetic: the power rule, the
// functions with a domain test, and the sine/cosine of one evaluation.
// Private to the engine.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

#include "Expression.h"
#include "ExtendedMath.h"

// The power rule for x^y, tests in their order. False: an inadmissible base.
bool PowerRule(double x, double y, double& result);

// LN, SQRT, ARCSIN, ARCCOS and FA on v in place. Null on success, else the
// domain message.
const char* ApplyCheckedFunction(unsigned char tag, double& v);

// Sine and cosine within one evaluation, remembered for the last argument.
// When a program takes both (the planet orbit, or TAN) they come from one
// sincosl, as a C++ compiler forms the same formula; glibc's sincosl gives
// exactly the values of sinl and cosl. Which case holds is looked up once, at
// the first sine or cosine, in the cells from there to the end cell.
class TrigCache {
public:
    Extended Sin(double v, const PostfixCell* cell, const PostfixCell* end)
    {
        if (std::fabs(v) >= TrigLimit)
            return 0.0L;
        Select(v, cell, end);
        if (!haveSin_) {
            if (both_)
                Both(v);
            else
                sin_ = sinl(v);
            haveSin_ = true;
        }
        return sin_;
    }

    Extended Cos(double v, const PostfixCell* cell, const PostfixCell* end)
    {
        if (std::fabs(v) >= TrigLimit)
            return 0.0L;
        Select(v, cell, end);
        if (!haveCos_) {
            if (both_)
                Both(v);
            else
                cos_ = cosl(v);
            haveCos_ = true;
        }
        return cos_;
    }

private:
    void Select(double v, const PostfixCell* cell, const PostfixCell* end)
    {
        if (!decided_)
            Decide(cell, end);
        // Keyed by the bits: sin(-0) is -0 but sin(+0) is +0.
        const auto key = std::bit_cast<std::uint64_t>(v);
        if (key != key_ || !keyed_) {
            key_ = key;
            keyed_ = true;
            haveSin_ = haveCos_ = false;
        }
    }

    void Decide(const PostfixCell* cell, const PostfixCell* end)
    {
        bool sine = false;
        bool cosine = false;
        for (; cell != end && cell->Tag != EndTag; ++cell) {
            sine = sine || cell->Tag == CodeSin || cell->Tag == CodeTan;
            cosine = cosine || cell->Tag == CodeCos || cell->Tag == CodeTan;
        }
        both_ = sine && cosine;
        decided_ = true;
    }

    void Both(double v)
    {
        sincosl(v, &sin_, &cos_);
        haveSin_ = haveCos_ = true;
    }

    bool decided_ = false;
    bool both_ = false;
    bool keyed_ = false;
    bool haveSin_ = false;
    bool haveCos_ = false;
    std::uint64_t key_ = 0;
    Extended sin_;  // read only when haveSin_
    Extended cos_;  // read only when haveCos_
};
