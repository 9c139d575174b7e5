// SPDX-License-Identifier: GPL-3.0-or-later
// The keys of one press in a lesson file: the nine fields under their lesson
// keys, the colour, both check boxes, the t the press starts with and, for a
// press that was drawn, where the user stopped it. The "panel" object and
// each object of "drawn" have the same keys. A further input (a variable)
// is one more entry of the table and nothing else changes.
#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "PressHistory.h"

struct LessonKey {
    std::string Name;
    // Only in the objects of "drawn"; in "panel" it is an unknown key.
    bool DrawnOnly = false;
    // Puts the value into the press. Empty: done; else why the value will
    // not do, in Czech, e.g. "má být text v uvozovkách".
    std::function<std::string(const nlohmann::json& value, RecordedPress& press)> Read;
    // The value for the file; none leaves the key out (a press that was not
    // stopped has no "stopped-after"). A text is the press's bytes as they
    // are; the writer makes them UTF-8.
    std::function<std::optional<nlohmann::json>(const RecordedPress& press)> Write;
    // Only in "panel"; in the objects of "drawn" it is an unknown key.
    bool PanelOnly = false;
};

// In the order they are written: the fields in the panel's order first.
const std::vector<LessonKey>& LessonKeys();

// Why a field's text cannot be in a lesson file (too long, a control
// character, a character that is none), or empty. Saving refuses what
// reading would refuse. The text is UTF-8 as read (LessonJson.h): an
// escaped surrogate without its partner in its three bytes, counted as one.
std::string LessonTextProblem(std::string_view text);

// "#0000c8": lower case, as written.
std::string LessonColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
