// SPDX-License-Identifier: GPL-3.0-or-later
// The values of the variables k n r s x y z and the ranges of their sliders:
// reading the texts a press carries, and the values a slider, an animation
// and the renderer's sweep step through. Plain C++, no toolkit.
//
// A value is read like a bound, as a formula of numbers, pi and functions,
// but a formula that uses a variable (t included) is refused: a value must
// not depend on the state a press happens to find.
//
// Step i of a range stands at LOW + i * STEP, summed in extended precision
// and then taken as the double of the shortest decimal as near that sum as
// the doubles of LOW and STEP can have brought it from the decimals they
// were read from (an ulp of LOW and of each of the i + 1 steps, at most a
// quarter step). So -10 by 0.1 passes -0.3 and 0 and ends at 10, as typed
// decimals would, rather than at -0.29999999999999943, 0.0000000000000006
// and 10.000000000000002; a step that is no short decimal (1/3, pi/2) keeps
// every digit of its sum.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "PlotState.h"
#include "RealText.h"
#include "TracePress.h"

inline constexpr char VariableInValueText[] = "Hodnota nesmí obsahovat proměnnou";
inline constexpr char RangeOrderText[] = "Dolní mez musí být menší než horní";
inline constexpr char RangeStepText[] = "Krok musí být větší než 0";
inline constexpr char RangeCountText[] = "Od dolní meze k horní je víc než 10000 hodnot";

// The most values a slider, an animation or a sweep steps through.
inline constexpr std::int64_t MaxSliderValues = 10000;

// Evaluates a value text on `state` (only its ErrorText changes). False with
// the engine's message, or VariableInValueText, when it is refused; a
// floating-point fault passes out as FloatFault.
bool EvaluateValue(PlotState& state, const std::string& text, double& value, std::string& message);

struct SliderRange {
    double Low = -10.0;
    double High = 10.0;
    double Step = 0.1;
    std::int64_t Count = 201;  // values from Low to High, both ends included where the steps reach them
};

// Which text of a range a refusal is about.
enum class RangePart { Low, High, Step };

// Reads the three range texts of a variable. False with the message (and the
// text it is about) for a text that is no value, a lower bound not below the
// upper, a step not above 0, or more than MaxSliderValues values. A fault
// thrown while reading a text leaves `part` at that text.
bool ReadSliderRange(PlotState& state, const VariableTexts& texts, SliderRange& range, std::string& message,
                     RangePart* part = nullptr);

// The range variable `variable`'s fields give, or why they give none: the
// refusal as its field shows it, the text it is about, and whether a
// floating-point fault stopped the reading (a bound of 10^308*10).
struct VariableRangeReading {
    std::optional<SliderRange> Range;
    std::string Refusal;
    RangePart Part = RangePart::Low;
    bool Fault = false;
};
VariableRangeReading ReadVariableRange(std::size_t variable, const VariableTexts& typed);

// The value at step `index` (0 to Count - 1) of the range, by the rule above;
// never above High.
double SweepValue(const SliderRange& range, std::int64_t index);

// The step of the range nearest to `value`, within 0 to Count - 1.
std::int64_t NearestStep(const SliderRange& range, double value);

// For a value the range leaves out (below Low or above High): the step at
// its nearer end, 0 or Count - 1, whose value it then takes so that field,
// slider and curve agree. None for a value within the range.
std::optional<std::int64_t> NearerEndStep(const SliderRange& range, double value);


// Whether a formula uses a variable besides t: a letter of it, as the
// engine reads it. A formula the engine cannot read uses none.
std::array<bool, VariableCount> VariablesUsedBy(const std::string& formula);

// The variables that any of the eight formulas of a press (the curve and its
// bounds) uses.
std::array<bool, VariableCount> VariablesUsed(const TraceTexts& texts);
