// SPDX-License-Identifier: GPL-3.0-or-later
#include "PressInputs.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "Expression.h"
#include "VariableValues.h"

Extended RoundToReal48(Extended value)
{
    if (std::isnan(value))
        RaiseFloatFault(FloatFaultKind::InvalidOperation);
    if (std::isinf(value))
        RaiseFloatFault(FloatFaultKind::Overflow);
    if (value == 0.0L)
        return 0.0L;

    // Scale the significand to 40 integer bits, round it there (ties to even,
    // the default rounding mode) and scale back; all exact in Extended.
    int exponent = 0;
    const Extended fraction = std::frexp(value, &exponent);  // 0.5 <= |fraction| < 1
    const Extended rounded = std::ldexp(std::nearbyint(std::ldexp(fraction, 40)), exponent - 40);

    // The format's largest value is just below 2^127; it has no denormals.
    if (std::fabs(rounded) >= 0x1p127L)
        RaiseFloatFault(FloatFaultKind::Overflow);
    if (std::fabs(rounded) < 0x1p-128L)
        return 0.0L;
    return rounded;
}

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Decimal exponent of the leading significant digit of a number already
// checked by ReadSegmentCount; only its sign matters, to tell a value too
// large for Extended from one too small.
long LeadingDigitExponent(const std::string& text, std::size_t from)
{
    long intDigits = 0;
    long firstNonZero = -1;  // index among all mantissa digits
    long digitIndex = 0;
    bool inFraction = false;
    long exponent = 0;
    std::size_t p = from;
    for (; p < text.size() && text[p] != 'e' && text[p] != 'E'; ++p) {
        if (text[p] == '.') {
            inFraction = true;
            continue;
        }
        if (firstNonZero < 0 && text[p] != '0')
            firstNonZero = digitIndex;
        ++digitIndex;
        if (!inFraction)
            ++intDigits;
    }
    if (p < text.size()) {
        ++p;
        const bool negative = text[p] == '-';
        if (text[p] == '+' || text[p] == '-')
            ++p;
        for (; p < text.size(); ++p)
            exponent = std::min(exponent * 10 + (text[p] - '0'), 1000000000L);
        if (negative)
            exponent = -exponent;
    }
    return exponent + intDigits - firstNonZero - 1;
}

}  // namespace

bool ReadSegmentCount(const std::string& text, std::int32_t& count)
{
    std::size_t p = 0;
    while (p < text.size() && text[p] == ' ')
        ++p;
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
        negative = text[p] == '-';
        ++p;
    }
    const std::size_t numberStart = p;

    std::size_t mantissaDigits = 0;
    for (; p < text.size() && IsDigit(text[p]); ++p)
        ++mantissaDigits;
    if (p < text.size() && text[p] == '.') {
        for (++p; p < text.size() && IsDigit(text[p]); ++p)
            ++mantissaDigits;
    }
    if (mantissaDigits == 0)
        return false;
    if (p < text.size() && (text[p] == 'e' || text[p] == 'E')) {
        ++p;
        if (p < text.size() && (text[p] == '+' || text[p] == '-'))
            ++p;
        std::size_t exponentDigits = 0;
        for (; p < text.size() && IsDigit(text[p]); ++p)
            ++exponentDigits;
        if (exponentDigits == 0)
            return false;
    }
    if (p != text.size())
        return false;

    // from_chars is locale-independent (the toolkit sets the user's locale).
    Extended value = 0.0L;
    const char* first = text.data() + numberStart;
    const auto result = std::from_chars(first, text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (LeadingDigitExponent(text, numberStart) > 0)
            RaiseFloatFault(FloatFaultKind::Overflow);
        value = 0.0L;  // below the smallest Extended: the 6-byte real holds 0
    }
    if (negative)
        value = -value;
    count = TruncToInt32(RoundToReal48(value));
    return true;
}

// Where a fault would come from, for the caller that asked.
void Note(FaultPlace* place, TraceStage stage, InputField input = InputField::None)
{
    if (place) {
        place->Stage = stage;
        place->Input = input;
    }
}

TraceOutcome WriteVariables(PlotState& draw, const TracePress& press, FaultPlace* place)
{
    TraceOutcome outcome;
    for (std::size_t i = 0; i < VariableCount; ++i) {
        const PressVariable& variable = PressVariables[i];
        Note(place, TraceStage::ReadingInputs, variable.Field);
        double value = 0.0;
        std::string message;
        if (!EvaluateValue(draw, press.Variables[i].Value, value, message)) {
            outcome.Message = message;
            outcome.Focus = variable.Field;
            return outcome;
        }
        draw.*variable.Slot = value;
    }
    Note(place, TraceStage::ReadingInputs);
    return outcome;
}

TraceOutcome ReadTraceInputs(PlotState& draw, const TraceTexts& texts, TraceInputs& inputs,
                             FaultPlace* place)
{
    inputs.EquationX = texts.EquationX;
    inputs.EquationY = texts.EquationY;

    struct Bound {
        const std::string& text;
        double& target;
        InputField field;
    };
    const Bound bounds[] = {
        {texts.X1, draw.X1, InputField::X1}, {texts.X2, draw.X2, InputField::X2},
        {texts.Y1, draw.Y1, InputField::Y1}, {texts.Y2, draw.Y2, InputField::Y2},
        {texts.T1, draw.T1, InputField::T1}, {texts.T2, draw.T2, InputField::T2},
    };
    TraceOutcome outcome;
    for (const Bound& bound : bounds) {
        Note(place, TraceStage::ReadingInputs, bound.field);
        const double value = EvaluateExpression(draw, bound.text, draw.ErrorText);
        if (!draw.ErrorText.empty()) {
            // The bound keeps its previous value rather than the failed result.
            outcome.Message = draw.ErrorText;
            outcome.Focus = bound.field;
            return outcome;
        }
        bound.target = value;
    }

    std::int32_t count = 0;
    Note(place, TraceStage::ReadingInputs, InputField::Segments);
    const bool readable = ReadSegmentCount(texts.Segments, count);
    Note(place, TraceStage::ReadingInputs);
    if (!readable) {
        outcome.Message = SegmentsNotNumberText;
        outcome.Focus = InputField::Segments;
        return outcome;
    }
    inputs.SegmentCount = count;
    if (count < 0 || count > MaxSegmentCount) {
        outcome.Message = SegmentsOutOfRangeText;
        outcome.Focus = InputField::Segments;
    }
    return outcome;
}

TracePress PressOn(const PlotState& state, const TraceTexts& texts, bool showAxes, bool dashed)
{
    TracePress press;
    press.Texts = texts;
    press.ShowAxes = showAxes;
    press.Dashed = dashed;
    press.CurveR = state.CurveR;
    press.CurveG = state.CurveG;
    press.CurveB = state.CurveB;
    press.TBefore = state.VarT;
    return press;
}
