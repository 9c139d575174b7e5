// SPDX-License-Identifier: GPL-3.0-or-later
// The four ready-made example curves: the texts a preset writes into the two
// formula fields and the six bound fields. Plain data, no toolkit, so the
// command-line renderer can use the same table.
#pragma once

#include <array>
#include <string_view>

#include "TracePress.h"

struct CurvePreset {
    const char* Name;     // short ASCII name, e.g. for the command line
    const char* Caption;  // the radio button's caption (UTF-8)
    // x(t), y(t), the world window (left, right, bottom, top) and the
    // parameter's start and end: the first eight fields of PressFields.
    std::array<const char*, PresetFieldCount> Texts;
};

// In the order of RadioButton1 to RadioButton4.
inline constexpr std::array<CurvePreset, 4> CurvePresets{{
    {"kruznice", "kružnice", {"3*cos(t)", "3*sin(t)", "-4", "4", "-4", "4", "0", "6.2833"}},
    {"sikmy-vrh", "šikmý vrh",
     {"14*t*cos(80*pi/180)", "14*t*sin(80*pi/180)-5*t^2", "-0.5", "10", "-0.5", "10", "0", "3"}},
    {"descartuv-list", "Descartův list", {"3*t/(1+t^3)", "3*t^2/(1+t^3)", "-3", "3", "-3", "3", "-20", "20"}},
    {"draha-planety", "dráha planety",
     {"-1/(1+0.8*cos(t))*cos(t)", "-1/(1+0.8*cos(t))*sin(t)", "-1", "6", "-3.5", "3.5", "-pi", "pi"}},
}};

// The preset of that name, or nullptr.
const CurvePreset* FindPreset(std::string_view name);

// Writes the preset's eight texts; the segment count stays.
void ApplyPreset(TraceTexts& texts, const CurvePreset& preset);
