// SPDX-License-Identifier: GPL-3.0-or-later
// The values the page and the core exchange, as JSON (web/PROTOCOL.md,
// "Values"): a press under the lesson's keys, an input field by its key, how
// a press ended, a world window as the fields are written.
#pragma once

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

#include "PressHistory.h"
#include "TracePress.h"
#include "WorldWindow.h"

using Json = nlohmann::json;

// The reply's text: UTF-8 throughout (a byte that is none becomes U+FFFD).
std::string JsonText(const Json& value);

// A text of the page's; null when it is no JSON.
Json ParseJson(const char* text);

// The press the page's panel holds, over `start` (the document's t, and
// whatever the page leaves out): the nine texts as typed, "color",
// "axes", "dashed", the variables' values and ranges, "keep-trace" and,
// when given, "t-before".
TracePress PressOfJson(const Json& panel, TracePress start);

// The press with every key the page shows, "t-before" as its shortest text.
Json PressJson(const TracePress& press);

// "x" … "segments" for a field, "variable:k" for a variable, null for none.
Json FieldJson(InputField field);

// {end, message, focus, pointCount, advice, adviceField, text, line}
Json ResultJson(const PressResult& result);

// {x1, x2, y1, y2}: each bound as a formula of the language writes it.
Json WindowJson(const WorldWindow& window);

// The variable of that letter (k n r s x y z), or none.
std::optional<std::size_t> VariableOfLetter(const char* letter);
