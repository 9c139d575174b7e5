// SPDX-License-Identifier: GPL-3.0-or-later
// The variables window "Proměnné" on the page, as the desktop's
// (app/variables): a value or a slider's range read and refused as there,
// the slider's values by SweepValue, the last press drawn again with the
// values as they stand, and "Animovat" a frame at a time, the page's timer
// keeping the tempo. The texts of the seven variables are the document's;
// the page sends them with each request that draws, so both agree.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "GifStream.h"
#include "PageJson.h"
#include "PageStop.h"
#include "PlaneFrames.h"
#include "PlotDocument.h"
#include "VariableValues.h"

class PageVariables {
public:
    PageVariables(PlotDocument& document, PageStop& stop);

    // The texts of a press (the page's panel, a lesson's) become the
    // document's; gives each letter's slider as {count, position}.
    Json Take(const std::array<VariableTexts, VariableCount>& texts);

    // {ok: true, count, position} or {ok: false, refusal, fault}.
    Json ReadValue(std::size_t variable, const std::string& text);
    // {ok: true, count, position, valueText} (valueText when the range left
    // the value out and brought it to its nearer end: the page draws the
    // last press again) or {ok: false, refusal, part, fault}.
    Json ReadRange(std::size_t variable, const VariableTexts& typed);
    // {valueText}: the value of slider position `index`.
    Json SliderValue(std::size_t variable, std::int64_t index);
    // {line}: the last press drawn again with the values as they stand.
    Json RedrawLast();

    // "Animovat": the last press (or `panel`'s, with none drawn) once for
    // each value of the range; {ended}.
    Json AnimateBegin(std::size_t variable, bool keepTrace, const TracePress& panel);
    // One value's frame; {ended, point: null}.
    Json AnimateStep();
    void AnimateStop();
    // {line, valueText, count, position}; the animation is kept for "Uložit
    // animaci…".
    Json AnimateEnd();

private:
    struct Animation;

    Json Slider(std::size_t variable, double value) const;
    std::string ShowStep(std::size_t variable, std::int64_t index);

    PlotDocument& document_;
    PageStop& stop_;
    std::array<SliderRange, VariableCount> ranges_{};
    std::shared_ptr<Animation> animation_;
};
