// SPDX-License-Identifier: GPL-3.0-or-later
#include "FaultAdvice.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "PressMessages.h"

namespace {

const char LargestNumber[] = "(asi 1,8·10^308)";

bool BeyondInt32(Extended pixel)
{
    return !(pixel >= -2147483648.5L && pixel < 2147483647.5L);
}

// A t for a message: six significant digits with a decimal comma.
std::string ShortNumber(double value)
{
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.6g", value);
    std::string text(buffer);
    for (char& c : text) {
        if (c == '.')
            c = ',';
    }
    return text;
}

// A fault while a formula was compiled or evaluated: the formula fields say
// "vzorce x =", the bounds "vzorce v poli x, začátek".
FaultAdvice FormulaFault(FloatFaultKind kind, InputField input, bool compiling)
{
    const bool equation = input == InputField::EquationX || input == InputField::EquationY;
    const std::string formula = (equation ? "vzorci " : "vzorci v poli ") + InputFieldName(input);
    const std::string ofFormula = (equation ? "vzorce " : "vzorce v poli ") + InputFieldName(input);
    switch (kind) {
    case FloatFaultKind::Overflow:
        if (compiling)
            return {"Číslo ve " + formula + " přesahuje největší číslo " + LargestNumber + ".", input};
        return {"Výsledek " + ofFormula + " přesáhl největší číslo " + LargestNumber + ".", input};
    case FloatFaultKind::DivisionByZero:
        return {"Ve " + formula + " je záporná mocnina čísla tak blízkého nule, že jeho kladná mocnina je 0.",
                input};
    case FloatFaultKind::InvalidOperation:
        return {"Ve " + formula + " je exponent nebo argument faktoriálu mimo rozsah celých čísel (±2 147 483 647).",
                input};
    }
    return {};
}

FaultAdvice WorldFault(FloatFaultKind kind, const PlotState& state)
{
    const bool xEqual = state.X1 == state.X2, yEqual = state.Y1 == state.Y2;
    if (kind == FloatFaultKind::DivisionByZero || kind == FloatFaultKind::InvalidOperation) {
        if (xEqual)
            return {"Zorné pole x má stejný začátek a konec.", InputField::X1};
        if (yEqual)
            return {"Zorné pole y má stejný začátek a konec.", InputField::Y1};
        return {};
    }
    // Overflow: a window narrower than the plane's pixels can tell apart,
    // or so far from 0 for its width that the origin's pixel leaves the range.
    const Extended maximum = std::numeric_limits<double>::max();
    const Extended width = Extended(state.X2) - Extended(state.X1);
    const Extended height = Extended(state.Y2) - Extended(state.Y1);
    if (std::fabs(500.0L / width) > maximum)
        return {"Zorné pole x je příliš úzké.", InputField::X1};
    if (std::fabs(500.0L / height) > maximum)
        return {"Zorné pole y je příliš úzké.", InputField::Y1};
    if (std::fabs(Extended(state.X1) * (500.0L / width)) > maximum)
        return {"Zorné pole x leží na svou šířku příliš daleko od nuly.", InputField::X1};
    return {"Zorné pole y leží na svou výšku příliš daleko od nuly.", InputField::Y1};
}

FaultAdvice AxisFault(FloatFaultKind kind, bool xAxis, const PlotState& state)
{
    const double min = xAxis ? state.X1 : state.Y1, max = xAxis ? state.X2 : state.Y2;
    const InputField start = xAxis ? InputField::X1 : InputField::Y1;
    const std::string name = xAxis ? "x" : "y";
    if (min > max)
        return {"Zorné pole " + name + " je obrácené (začátek je větší než konec).", start};
    if (kind != FloatFaultKind::InvalidOperation)
        return {};
    // The x axis runs along y = 0: its row is that of 0 in the y window.
    const Extended across = xAxis ? Extended(state.OffsetY) : Extended(state.OffsetX);
    if (BeyondInt32(across)) {
        if (xAxis)
            return {"Osa x (y = 0) leží příliš daleko mimo zorné pole y.", InputField::Y1};
        return {"Osa y (x = 0) leží příliš daleko mimo zorné pole x.", InputField::X1};
    }
    return {"Zorné pole " + name + " je pro osy příliš široké (nejvýš asi 3·10^36).", start};
}

// A segment starts at the point before (drawn or, in dashed mode, skipped)
// and ends at the point just evaluated; one of the four pixel positions left
// the 32-bit range.
FaultAdvice SegmentFault(const FaultPlace& place, const PlotState& state)
{
    if (place.Point >= state.Points.size())
        return {};
    for (std::size_t back = 0; back <= 1 && back <= place.Point; ++back) {
        const WorldPoint& point = state.Points[place.Point - back];
        const double t = back == 0 ? state.VarT : StoreReal(Extended(state.VarT) - state.DT);
        const std::string at = "Bod křivky při t = " + ShortNumber(t) + " leží příliš daleko mimo zorné pole ";
        if (BeyondInt32(Extended(state.ScaleX) * Extended(point.x) + Extended(state.OffsetX)))
            return {at + "x.", InputField::EquationX};
        if (BeyondInt32(Extended(state.OffsetY) - Extended(state.ScaleY) * Extended(point.y)))
            return {at + "y.", InputField::EquationY};
    }
    return {};
}

}  // namespace

FaultAdvice AdviseFault(FloatFaultKind kind, const FaultPlace& place, const PlotState& state)
{
    switch (place.Stage) {
    case TraceStage::ReadingInputs:
        if (place.Input == InputField::Segments)
            return {"Počet segmentů je příliš velké číslo.", InputField::Segments};
        if (place.Input == InputField::None)
            return {};
        return FormulaFault(kind, place.Input, false);
    case TraceStage::SettingWorld: return WorldFault(kind, state);
    case TraceStage::DrawingAxisX: return AxisFault(kind, true, state);
    case TraceStage::DrawingAxisY: return AxisFault(kind, false, state);
    case TraceStage::FindingStep:
        if (kind == FloatFaultKind::Overflow)
            return {"Rozsah parametru t je příliš velký.", InputField::T1};
        return {"Počet segmentů je 0.", InputField::Segments};
    case TraceStage::Compiling:
    case TraceStage::Evaluating:
        if (place.Input == InputField::None)
            return {};
        return FormulaFault(kind, place.Input, place.Stage == TraceStage::Compiling);
    case TraceStage::DrawingSegment: return SegmentFault(place, state);
    case TraceStage::AdvancingT:
        return {std::string("Parametr t přesáhl největší číslo ") + LargestNumber + ".", InputField::T2};
    }
    return {};
}
