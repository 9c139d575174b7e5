// SPDX-License-Identifier: GPL-3.0-or-later
// The texts a press that ended early shows: in a box, with the input it is
// about named on a line below (a refusal, a formula error) or with the
// fault's cause below it; and the same on one line, for a status line. Plain
// text (UTF-8), no toolkit.
#pragma once

#include <string>

#include "PressHistory.h"

// The name of an input in messages, after the panel's captions: "t, konec"
// is the right field of the row "t", "x =" the x formula; empty for none.
std::string InputFieldName(InputField field);

// A refusal's message with the refused input named on a line below it:
// "Pole: t, konec", or "Proměnná: k" for a variable.
std::string RefusalText(const std::string& message, InputField field);

// A box's text for a press that ended with a formula error or a fault; empty
// for one that completed or was stopped.
std::string EndedText(const PressResult& result);

// EndedText on one line: a fault's cause after its message, a refused
// input after a comma.
std::string EndedLine(const PressResult& result);
