// SPDX-License-Identifier: GPL-3.0-or-later
// One press of "Kresli" as a value: every input it reads, so that it can be
// drawn again anywhere (a lesson file, a zoom, the renderer) with the very
// pixels it drew when it was made by hand.
//
// Besides the nine texts and the two check boxes it carries the curve colour,
// the t it starts with (a bound may use t, and t is what the press before
// left behind) and the values of the seven variables k n r s x y z with
// their sliders' ranges. Plain data, no toolkit.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "PlotState.h"

// The input a refusal or a formula error points at, so the caller can focus
// it or name it.
enum class InputField {
    None, X1, X2, Y1, Y2, T1, T2, Segments, EquationX, EquationY,
    VariableK, VariableN, VariableR, VariableS, VariableX, VariableY, VariableZ,
};

// The texts of the inputs as typed.
struct TraceTexts {
    std::string EquationX;
    std::string EquationY;
    std::string X1;
    std::string X2;
    std::string Y1;
    std::string Y2;
    std::string T1;
    std::string T2;
    std::string Segments;

    bool operator==(const TraceTexts&) const = default;
};

// One variable as a press carries it: its value and its slider's lower
// bound, upper bound and step, each as typed (a formula of numbers, pi and
// functions). A press made before variables had values reads 0 and the
// default range.
struct VariableTexts {
    std::string Value = "0";
    std::string Low = "-10";
    std::string High = "10";
    std::string Step = "0.1";

    bool operator==(const VariableTexts&) const = default;
};

inline constexpr std::size_t VariableCount = 7;

struct TracePress {
    TraceTexts Texts;
    bool ShowAxes = true;  // "ukaž osy"
    bool Dashed = false;   // "přerušovat"
    std::uint8_t CurveR = 0;
    std::uint8_t CurveG = 0;
    std::uint8_t CurveB = 200;
    double TBefore = 0.0;  // VarT when the press reads its inputs
    // In the order of PressVariables; written into the plot state's slots
    // before the press reads its bounds, so a bound may use them too.
    std::array<VariableTexts, VariableCount> Variables{};
    // "ponechat stopu" of the variables window: "Animovat" keeps each
    // value's curve. The panel's, kept with a lesson; a press drawn does not
    // read it.
    bool KeepTrace = false;

    bool operator==(const TracePress&) const = default;
};

// One of the nine input fields, with every name it goes by.
struct PressField {
    InputField Field;
    std::string TraceTexts::*Text;
    const char* WidgetName;      // in forms/Control_Panel.ui
    const char* OptionName;      // the renderer's option, without dashes
    const char* LessonKey;       // in a lesson file
    const char* MessageName;     // in messages: "Pole: x, začátek"
    const char* AccessibleName;  // what a screen reader calls the field
    const char* StartText;       // the field's text at start
};

// In the order of the panel: the two formulas, the world window, the
// parameter range, the segment count. The first eight are a preset's.
inline constexpr std::array<PressField, 9> PressFields{{
    {InputField::EquationX, &TraceTexts::EquationX, "EditEq1", "x", "x", "x =", "x =", "3*cos(t)"},
    {InputField::EquationY, &TraceTexts::EquationY, "EditEq2", "y", "y", "y =", "y =", "3*sin(t)"},
    {InputField::X1, &TraceTexts::X1, "EditX1", "x1", "x1", "x, začátek", "Zorné pole x, začátek", "-4"},
    {InputField::X2, &TraceTexts::X2, "EditX2", "x2", "x2", "x, konec", "Zorné pole x, konec", "4"},
    {InputField::Y1, &TraceTexts::Y1, "EditY1", "y1", "y1", "y, začátek", "Zorné pole y, začátek", "-4"},
    {InputField::Y2, &TraceTexts::Y2, "EditY2", "y2", "y2", "y, konec", "Zorné pole y, konec", "4"},
    {InputField::T1, &TraceTexts::T1, "EditT1", "t1", "t1", "t, začátek", "Parametr t, začátek", "0"},
    {InputField::T2, &TraceTexts::T2, "EditT2", "t2", "t2", "t, konec", "Parametr t, konec", "2*pi"},
    {InputField::Segments, &TraceTexts::Segments, "EditSeg", "segments", "segments", "počet segmentů",
     "počet segmentů", "100"},
}};

inline constexpr std::size_t PresetFieldCount = 8;

// One of the seven variables, with every name it goes by.
struct PressVariable {
    InputField Field;
    char Letter;                  // in formulas (any case) and in messages: "Proměnná: k"
    double PlotState::*Slot;      // where its value goes before a press reads its inputs
    // Its value in a lesson file: the letter, but for x and y, whose
    // letters are the keys of the two formulas.
    const char* LessonKey;
    const char* RangeKey;         // its slider's range in a lesson file: [low, high, step]
};

// In the order of TracePress::Variables.
inline constexpr std::array<PressVariable, VariableCount> PressVariables{{
    {InputField::VariableK, 'k', &PlotState::VarK, "k", "k-slider"},
    {InputField::VariableN, 'n', &PlotState::VarN, "n", "n-slider"},
    {InputField::VariableR, 'r', &PlotState::VarR, "r", "r-slider"},
    {InputField::VariableS, 's', &PlotState::VarS, "s", "s-slider"},
    {InputField::VariableX, 'x', &PlotState::VarX, "x-value", "x-slider"},
    {InputField::VariableY, 'y', &PlotState::VarY, "y-value", "y-slider"},
    {InputField::VariableZ, 'z', &PlotState::VarZ, "z", "z-slider"},
}};

// The variable's entry, or nullptr for an input that is no variable.
const PressVariable* FindPressVariable(InputField field);

// The field's entry, or nullptr for InputField::None.
const PressField* FindPressField(InputField field);

// What the panel holds at start: the circle with t up to "2*pi", axes on,
// solid, in 0, 0, 200, t = 0.
TracePress StartPress();
