// SPDX-License-Identifier: GPL-3.0-or-later
// A slider's range and the value it holds, without the toolkit: a value the
// range leaves out comes to the step at its nearer end, the very value that
// step shows; a value within stays.
#include <gtest/gtest.h>

#include <optional>

#include "VariableValues.h"

namespace {

SliderRange Range(double low, double high, double step)
{
    PlotState state;
    SliderRange range;
    std::string message;
    VariableTexts texts;
    texts.Low = FormulaText(low);
    texts.High = FormulaText(high);
    texts.Step = FormulaText(step);
    EXPECT_TRUE(ReadSliderRange(state, texts, range, message)) << message;
    return range;
}

struct NearerEndCase {
    const char* Name;
    double Low, High, Step, Value;
    std::optional<double> Brought;  // the value it comes to; none: it stays
};

TEST(VariableValues, AValueTheRangeLeavesOutComesToItsNearerEnd)
{
    const NearerEndCase cases[] = {
        {"above: the upper end", 1, 3, 0.5, 10, 3},
        {"below: the lower end", 1, 3, 0.5, -10, 1},
        {"just above the upper end", -10, 10, 0.1, 10.000000000000002, 10},
        {"an upper end the steps miss: the last step", 0, 1, 0.3, 1.5, 0.9},
        {"at the lower end stays", 1, 3, 0.5, 1, std::nullopt},
        {"at the upper end stays", 1, 3, 0.5, 3, std::nullopt},
        {"between two steps stays", 1, 3, 0.5, 1.7, std::nullopt},
        {"beyond the last step but within stays", 0, 1, 0.3, 0.95, std::nullopt},
    };
    for (const NearerEndCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const SliderRange range = Range(c.Low, c.High, c.Step);
        const std::optional<std::int64_t> end = NearerEndStep(range, c.Value);
        ASSERT_EQ(end.has_value(), c.Brought.has_value());
        if (end) {
            EXPECT_EQ(SweepValue(range, *end), *c.Brought);
            EXPECT_EQ(NearestStep(range, SweepValue(range, *end)), *end);
        }
    }
}

}  // namespace
