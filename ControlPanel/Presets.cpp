#include "Presets.h"

const CurvePreset* FindPreset(std::string_view name)
{
    for (const CurvePreset& preset : CurvePresets) {
        if (name == preset.Name)
            return &preset;
    }
    return nullptr;
}
