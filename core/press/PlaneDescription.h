// SPDX-License-Identifier: GPL-3.0-or-later
// What the plane holds, in words, for a screen reader: the formulas, window
// and segment count of each press since the last wipe, and whether each
// ended early. Plain text (UTF-8), no toolkit.
#pragma once

#include <string>

#include "PressHistory.h"

std::string DescribePlane(const PressHistory& presses);
