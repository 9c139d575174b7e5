// SPDX-License-Identifier: GPL-3.0-or-later
#include "PressCaptions.h"

#include <array>

#include "PressMessages.h"
#include "VariableValues.h"

namespace {

// "; k = 2; r = pi/2" for the variables the press's formulas use: without
// them the formulas would not say which curve was drawn.
std::string VariablesPart(const TracePress& press)
{
    std::string part;
    const std::array<bool, VariableCount> used = VariablesUsed(press.Texts);
    for (std::size_t i = 0; i < VariableCount; ++i) {
        if (used[i])
            part += "; " + std::string(1, PressVariables[i].Letter) + " = " + press.Variables[i].Value;
    }
    return part;
}

// Nothing for a press drawn whole; the rest say how far it got.
std::string EndPart(const PressResult& result)
{
    switch (result.End) {
    case PressEnd::Completed:
        return std::string();
    case PressEnd::Stopped:
        return result.PointCount == 1 ? std::string(" (zastaveno po 1 bodu)")
                                      : " (zastaveno po " + std::to_string(result.PointCount) + " bodech)";
    case PressEnd::FormulaError:
    case PressEnd::Fault:
        break;
    }
    std::string line = EndedLine(result);
    if (!line.empty() && line.back() == '.')
        line.pop_back();
    return " (skončilo dříve: " + line + ')';
}

}  // namespace

std::vector<std::string> PressCaptions(const PressHistory& presses)
{
    // Put together piece by piece, never through a format: a text as typed
    // may hold a "%1" or "{}" of its own.
    std::vector<std::string> captions;
    captions.reserve(presses.size());
    for (std::size_t i = 0; i < presses.size(); ++i) {
        const TracePress& press = presses[i].Press;
        const TraceTexts& t = press.Texts;
        captions.push_back(std::to_string(i + 1) + ". x = " + t.EquationX + ", y = " + t.EquationY +
                           "; zorné pole x od " + t.X1 + " do " + t.X2 + ", y od " + t.Y1 + " do " + t.Y2 +
                           "; parametr t od " + t.T1 + " do " + t.T2 + "; počet segmentů " + t.Segments +
                           VariablesPart(press) + EndPart(presses[i].Result));
    }
    return captions;
}
