// SPDX-License-Identifier: GPL-3.0-or-later
#include "VariableValues.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "Expression.h"
#include "PressMessages.h"
#include "RealChars.h"
#include "RealArith.h"
#include "RealText.h"

namespace {

// The compact string marks each variable by its upper-case letter.
bool IsVariableCode(char c)
{
    return c != 0 && std::strchr("KNRSTXYZ", c) != nullptr;
}

// Added to the number of steps a range spans, so that a range whose end the
// decimal steps reach is not cut short by the doubles' rounding.
constexpr Extended CountSlack = 1e-9L;

// The double of the fewest significant digits within `tolerance` of `exact`.
double ShortestNear(Extended exact, Extended tolerance)
{
    if (std::fabs(exact) <= tolerance)
        return 0.0;
    for (int digits = 1; digits <= 17; ++digits) {
        char text[64];
        const auto written = std::to_chars(text, text + sizeof text, exact, std::chars_format::scientific, digits - 1);
        double candidate = 0.0;
        const auto read = RealFromChars(text, written.ptr, candidate);
        if (read.ec == std::errc() && std::fabs(Extended(candidate) - exact) <= tolerance)
            return candidate + 0.0;  // never -0
    }
    return StoreReal(exact) + 0.0;
}

}  // namespace

bool EvaluateValue(PlotState& state, const std::string& text, double& value, std::string& message)
{
    const std::string compact = NormalizeExpression(text);
    if (compact == SyntaxErrorText) {
        message = SyntaxErrorText;
        return false;
    }
    if (std::any_of(compact.begin(), compact.end(), IsVariableCode)) {
        message = VariableInValueText;
        return false;
    }
    const double result = EvaluateExpression(state, text, state.ErrorText);
    if (!state.ErrorText.empty()) {
        message = state.ErrorText;
        return false;
    }
    value = result;
    return true;
}

bool ReadSliderRange(PlotState& state, const VariableTexts& texts, SliderRange& range, std::string& message,
                     RangePart* part)
{
    const auto refuse = [&](RangePart which, const char* text) {
        if (part)
            *part = which;
        if (text)
            message = text;
        return false;
    };
    // The part is the text being read, so that a fault thrown while reading
    // it names the right one.
    const auto reading = [&](RangePart which) {
        if (part)
            *part = which;
    };
    SliderRange read;
    reading(RangePart::Low);
    if (!EvaluateValue(state, texts.Low, read.Low, message))
        return refuse(RangePart::Low, nullptr);
    reading(RangePart::High);
    if (!EvaluateValue(state, texts.High, read.High, message))
        return refuse(RangePart::High, nullptr);
    reading(RangePart::Step);
    if (!EvaluateValue(state, texts.Step, read.Step, message))
        return refuse(RangePart::Step, nullptr);
    if (!(read.Low < read.High))
        return refuse(RangePart::High, RangeOrderText);
    if (!(read.Step > 0.0))
        return refuse(RangePart::Step, RangeStepText);
    // In extended the quotient cannot overflow, whatever the doubles.
    const Extended steps = (Extended(read.High) - Extended(read.Low)) / Extended(read.Step) + CountSlack;
    if (steps >= Extended(MaxSliderValues))
        return refuse(RangePart::Step, RangeCountText);
    read.Count = std::int64_t(std::floor(steps)) + 1;
    range = read;
    return true;
}

VariableRangeReading ReadVariableRange(std::size_t variable, const VariableTexts& typed)
{
    VariableRangeReading reading;
    PlotState scratch;
    SliderRange range;
    std::string message;
    bool good = false;
    try {
        good = ReadSliderRange(scratch, typed, range, message, &reading.Part);
    } catch (const FloatFault& fault) {
        message = FaultText(fault);
        reading.Fault = true;
    }
    if (good)
        reading.Range = range;
    else
        reading.Refusal = RefusalText(message, PressVariables[variable].Field);
    return reading;
}

double SweepValue(const SliderRange& range, std::int64_t index)
{
    const Extended step = Extended(range.Step);
    const Extended exact = Extended(range.Low) + Extended(index) * step;
    // How far the sum of the doubles can stand from the sum of the decimals
    // they were read from: half an ulp of the lower bound and of each step
    // (doubled for safety), never a quarter step, so no two steps meet.
    const Extended gathered = (Extended(index + 1) * step + std::fabs(Extended(range.Low))) * 0x1p-52L;
    // + 0.0: a step at zero is 0, never -0, as its value is written.
    return std::min(ShortestNear(exact, std::min(gathered, step / 4)), range.High) + 0.0;
}

std::int64_t NearestStep(const SliderRange& range, double value)
{
    const Extended steps = (Extended(value) - Extended(range.Low)) / Extended(range.Step);
    if (!(steps > 0.0L))
        return 0;
    if (steps >= Extended(range.Count - 1))
        return range.Count - 1;
    return std::int64_t(std::nearbyint(steps));
}

std::optional<std::int64_t> NearerEndStep(const SliderRange& range, double value)
{
    if (value < range.Low)
        return 0;
    if (value > range.High)
        return range.Count - 1;
    return std::nullopt;
}

std::array<bool, VariableCount> VariablesUsedBy(const std::string& formula)
{
    std::array<bool, VariableCount> used{};
    const std::string compact = NormalizeExpression(formula);
    if (compact == SyntaxErrorText)
        return used;
    for (std::size_t i = 0; i < VariableCount; ++i) {
        const char letter = char(PressVariables[i].Letter - 'a' + 'A');
        used[i] = compact.find(letter) != std::string::npos;
    }
    return used;
}

std::array<bool, VariableCount> VariablesUsed(const TraceTexts& texts)
{
    std::array<bool, VariableCount> used{};
    for (std::size_t f = 0; f < PresetFieldCount; ++f) {
        const std::array<bool, VariableCount> byThis = VariablesUsedBy(texts.*PressFields[f].Text);
        for (std::size_t i = 0; i < VariableCount; ++i)
            used[i] = used[i] || byThis[i];
    }
    return used;
}
