// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of the evaluator beyond plain arithmetic: the power rule and the
// functions with a domain test (the sine and cosine of one evaluation are
// in TrigCache.h). Private to the engine.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

#include "Expression.h"
#include "ExtendedMath.h"
#include "TrigCache.h"

// The power rule for x^y, tests in their order. False: an inadmissible base.
bool PowerRule(double x, double y, double& result);

// x^y as the evaluator forms it: the short powers of the curve formulas (^2,
// ^3) by the same rounded products as IntPower, every other exponent by the
// power rule. Null, or the message of an inadmissible base. Both evaluators
// use it, so they cannot differ here.
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

// LN, SQRT, ARCSIN, ARCCOS and FA on v in place. Null on success, else the
// domain message.
const char* ApplyCheckedFunction(unsigned char tag, double& v);

// True for the two compile messages, which block an evaluation.
inline bool IsCompileMessage(const std::string& text)
{
    static_assert(sizeof SyntaxErrorText == sizeof NumberErrorText);
    return text.size() == sizeof SyntaxErrorText - 1 && (text == SyntaxErrorText || text == NumberErrorText);
}
