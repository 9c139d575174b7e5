// SPDX-License-Identifier: GPL-3.0-or-later
#include "Presets.h"

const CurvePreset* FindPreset(std::string_view name)
{
    for (const CurvePreset& preset : CurvePresets) {
        if (name == preset.Name)
            return &preset;
    }
    return nullptr;
}

void ApplyPreset(TraceTexts& texts, const CurvePreset& preset)
{
    for (std::size_t i = 0; i < PresetFieldCount; ++i)
        texts.*PressFields[i].Text = preset.Texts[i];
}
