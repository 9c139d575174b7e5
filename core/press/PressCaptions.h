// SPDX-License-Identifier: GPL-3.0-or-later
// What a printed page says under the plane, so a worksheet tells what it
// shows: one line for each press since the last "Vymaž", oldest first, with
// its formulas, world window, parameter range and segment count as typed,
// the values of the variables its formulas use, and how it ended if it
// ended early:
//
//   1. x = 3*cos(t), y = 3*sin(t); zorné pole x od -4 do 4, y od -4 do 4;
//      parametr t od 0 do 2*pi; počet segmentů 100
//   2. x = 3*cos(k*t), …; počet segmentů 100; k = 2 (skončilo dříve: …)
//
// The desktop's print and the page's print both take them from here. Plain
// text (UTF-8), no toolkit.
#pragma once

#include <string>
#include <vector>

#include "PressHistory.h"

std::vector<std::string> PressCaptions(const PressHistory& presses);
