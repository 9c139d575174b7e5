// SPDX-License-Identifier: GPL-3.0-or-later
#include "EvalLine.h"

#include "Expression.h"
#include "HexFloatText.h"
#include "ParameterText.h"

namespace {

const char* FaultName(FloatFaultKind kind)
{
    switch (kind) {
    case FloatFaultKind::DivisionByZero:
        return "DIVZERO";
    case FloatFaultKind::InvalidOperation:
        return "INVALID";
    case FloatFaultKind::Overflow:
        return "OVERFLOW";
    }
    return "INVALID";
}

}  // namespace

std::string EvaluateLine(std::string_view line, PlotState& state)
{
    const std::size_t tab = line.find('\t');
    double t = 0.0;
    if (tab == std::string_view::npos || !ReadParameter(line.substr(0, tab), t))
        return std::string("0x0p+0\t") + MalformedParameterText + "\t-";
    // The engine reads the variable slots and the error text alone: set as
    // a fresh state has them, t apart.
    state.VarX = state.VarY = state.VarR = state.VarS = state.VarZ = state.VarK = state.VarN = 0.0;
    state.VarT = t;
    state.ErrorText.clear();
    const std::string formula(line.substr(tab + 1));
    try {
        const double value = EvaluateExpression(state, formula, state.ErrorText);
        return HexFloatText(value) + '\t' + state.ErrorText + "\t-";
    } catch (const FloatFault& fault) {
        return std::string("0x0p+0\t\t") + FaultName(fault.Kind());
    }
}
