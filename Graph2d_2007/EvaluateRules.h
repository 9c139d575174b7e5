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
// When a program takes both of one argument (the planet orbit, or TAN) they
// come from one sincosl, as a C++ compiler forms the same formula; glibc's
// sincosl gives exactly the values of sinl and cosl.
class TrigCache {
public:
    explicit TrigCache(bool sineAndCosine) : both_(sineAndCosine) {}

    Extended Sin(double v)
    {
        if (std::fabs(v) >= TrigLimit)
            return 0.0L;
        Select(v);
        if (!haveSin_) {
            if (both_)
                Both(v);
            else
                sin_ = sinl(v);
            haveSin_ = true;
        }
        return sin_;
    }

    Extended Cos(double v)
    {
        if (std::fabs(v) >= TrigLimit)
            return 0.0L;
        Select(v);
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
    // Keyed by the bits: sin(-0) is -0 but sin(+0) is +0.
    void Select(double v)
    {
        const auto key = std::bit_cast<std::uint64_t>(v);
        if (key != key_) {
            key_ = key;
            haveSin_ = haveCos_ = false;
        }
    }

    void Both(double v)
    {
        sincosl(v, &sin_, &cos_);
        haveSin_ = haveCos_ = true;
    }

    bool both_;
    bool haveSin_ = false;
    bool haveCos_ = false;
    std::uint64_t key_ = 0;
    Extended sin_ = 0.0L;
    Extended cos_ = 0.0L;
};
