// SPDX-License-Identifier: GPL-3.0-or-later
// The captions under a printed plane, without the toolkit: one line per
// press since "Vymaž", numbered from 1, with the texts as typed, the values
// of the variables the formulas use and how an early end came about. Each
// expected line is written out by hand from those rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PressCaptions.h"

namespace {

const std::string Circle =
    "x = 3*cos(t), y = 3*sin(t); zorné pole x od -4 do 4, y od -4 do 4; parametr t od 0 do 2*pi; počet segmentů 100";

RecordedPress Drawn(TracePress press = StartPress(), PressResult result = {})
{
    return RecordedPress{std::move(press), std::nullopt, std::move(result)};
}

TracePress WithFormulas(const std::string& x, const std::string& y)
{
    TracePress press = StartPress();
    press.Texts.EquationX = x;
    press.Texts.EquationY = y;
    return press;
}

PressResult Ended(PressEnd end, const std::string& message, InputField focus = InputField::None,
                  const std::string& advice = {})
{
    PressResult result;
    result.End = end;
    result.Message = message;
    result.Focus = focus;
    result.Advice = advice;
    return result;
}

struct CaptionCase {
    const char* Name;
    PressHistory Presses;
    std::vector<std::string> Expected;
};

std::vector<CaptionCase> Cases()
{
    std::vector<CaptionCase> cases;
    cases.push_back({"NothingDrawn", {}, {}});
    cases.push_back({"OnePressDrawnWhole", {Drawn()}, {"1. " + Circle}});
    cases.push_back({"StoppedAfterOnePoint", {Drawn(StartPress(), StoppedResult(1))},
                     {"1. " + Circle + " (zastaveno po 1 bodu)"}});
    cases.push_back({"StoppedAfterManyPoints", {Drawn(StartPress(), StoppedResult(37))},
                     {"1. " + Circle + " (zastaveno po 37 bodech)"}});
    cases.push_back({"StoppedBeforeAnyPoint", {Drawn(StartPress(), StoppedResult(0))},
                     {"1. " + Circle + " (zastaveno po 0 bodech)"}});
    {
        // k and r in the formulas, n only in a bound, s in none: in the order k n r s x y z.
        TracePress press = WithFormulas("r*cos(k*t)", "3*sin(t)");
        press.Texts.T2 = "n*pi";
        press.Variables[0].Value = "2";     // k
        press.Variables[1].Value = "3";     // n
        press.Variables[2].Value = "pi/2";  // r
        press.Variables[3].Value = "7";     // s
        cases.push_back({"VariablesTheFormulasUse", {Drawn(press)},
                         {"1. x = r*cos(k*t), y = 3*sin(t); zorné pole x od -4 do 4, y od -4 do 4; "
                          "parametr t od 0 do n*pi; počet segmentů 100; k = 2; n = 3; r = pi/2"}});
    }
    cases.push_back({"FormulaErrorNamesTheField",
                     {Drawn(WithFormulas("3*cos(t)", "1/t"), Ended(PressEnd::FormulaError, "Dělení nulou",
                                                                  InputField::EquationY))},
                     {"1. x = 3*cos(t), y = 1/t; zorné pole x od -4 do 4, y od -4 do 4; parametr t od 0 do 2*pi; "
                      "počet segmentů 100 (skončilo dříve: Dělení nulou, Pole: y =)"}});
    cases.push_back({"FormulaErrorNamesTheVariable",
                     {Drawn(WithFormulas("k*t", "t"),
                            Ended(PressEnd::FormulaError, "Hodnota nesmí obsahovat proměnnou", InputField::VariableK))},
                     {"1. x = k*t, y = t; zorné pole x od -4 do 4, y od -4 do 4; parametr t od 0 do 2*pi; "
                      "počet segmentů 100; k = 0 (skončilo dříve: Hodnota nesmí obsahovat proměnnou, Proměnná: k)"}});
    cases.push_back({"EndingFullStopDropped", {Drawn(StartPress(), Ended(PressEnd::FormulaError, "Chybný výraz."))},
                     {"1. " + Circle + " (skončilo dříve: Chybný výraz)"}});
    cases.push_back({"FaultWithItsCause",
                     {Drawn(StartPress(), Ended(PressEnd::Fault, "Floating point division by zero.", InputField::None,
                                                "Počet segmentů je 0."))},
                     {"1. " + Circle + " (skončilo dříve: Floating point division by zero. Počet segmentů je 0)"}});
    cases.push_back({"FaultWithoutCause", {Drawn(StartPress(), Ended(PressEnd::Fault, "Overflow"))},
                     {"1. " + Circle + " (skončilo dříve: Overflow)"}});
    {
        // Texts as typed, a "%1" included, and every press numbered in order.
        TracePress odd = WithFormulas("%1*t", "t");
        odd.Texts.Segments = "1e3";
        cases.push_back({"EveryPressInOrder",
                         {Drawn(), Drawn(odd), Drawn(StartPress(), StoppedResult(2))},
                         {"1. " + Circle,
                          "2. x = %1*t, y = t; zorné pole x od -4 do 4, y od -4 do 4; parametr t od 0 do 2*pi; "
                          "počet segmentů 1e3",
                          "3. " + Circle + " (zastaveno po 2 bodech)"}});
    }
    return cases;
}

class PressCaptionsTable : public testing::TestWithParam<CaptionCase> {};

TEST_P(PressCaptionsTable, OneLinePerPress)
{
    EXPECT_EQ(PressCaptions(GetParam().Presses), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Captions, PressCaptionsTable, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<CaptionCase>& info) { return std::string(info.param.Name); });

}  // namespace
