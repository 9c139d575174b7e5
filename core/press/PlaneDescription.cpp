// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlaneDescription.h"

namespace {

// "1 křivka", "3 křivky", "5 křivek".
std::string CurveCount(std::size_t count)
{
    const std::string number = std::to_string(count);
    if (count == 1)
        return number + " křivka";
    if (count >= 2 && count <= 4)
        return number + " křivky";
    return number + " křivek";
}

std::string HowItEnded(const PressResult& result)
{
    switch (result.End) {
    case PressEnd::Completed: return "nakreslena celá";
    case PressEnd::Stopped:
        return "zastavena po " + std::to_string(result.PointCount) + " bodech";
    case PressEnd::FormulaError:
    case PressEnd::Fault: {
        std::string text = "skončila předčasně po " + std::to_string(result.PointCount) + " bodech: " + result.Message;
        if (!text.empty() && text.back() == '.')
            text.pop_back();
        return text;
    }
    }
    return {};
}

}  // namespace

std::string DescribePlane(const PressHistory& presses)
{
    if (presses.empty())
        return "Prázdná rovina 500 x 500 bodů.";
    std::string text = "Rovina 500 x 500 bodů, " + CurveCount(presses.size()) + ".";
    for (std::size_t i = 0; i < presses.size(); ++i) {
        const TracePress& press = presses[i].Press;
        const TraceTexts& t = press.Texts;
        text += " " + std::to_string(i + 1) + ". x = " + t.EquationX + ", y = " + t.EquationY +
                "; zorné pole x od " + t.X1 + " do " + t.X2 + ", y od " + t.Y1 + " do " + t.Y2 +
                "; t od " + t.T1 + " do " + t.T2 + "; počet segmentů " + t.Segments +
                (press.ShowAxes ? "; s osami" : "") + (press.Dashed ? "; přerušovaně" : "") + "; " +
                HowItEnded(presses[i].Result) + ".";
    }
    return text;
}
