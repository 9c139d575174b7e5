// SPDX-License-Identifier: GPL-3.0-or-later
// "Animovat": the last press drawn once for each value of one variable's
// range, from the lower bound to the upper by the step, one whole curve a
// frame held 50 ms. Moving, each value replaces the one before; with
// "ponechat stopu" each stays, a family. It runs as a trace does: the busy
// cursor, input held, Esc stops it after the frame it is in.
//
// The frames are encoded as a GIF as they are shown and kept for "Uložit
// animaci…" (only the file's bytes are held). Afterwards the plane's
// history says what the plane shows: moving, the last press with the last
// value shown; a family, one press for each value drawn, so the family can
// be drawn again from the history. The variable's slider and field show the
// last value drawn; a value whose curve fails says so in the status line.
//
// With no press drawn yet, the press "Kresli" would make is animated.
#pragma once

#include <cstddef>

class TVariables;

void AnimateVariable(TVariables& window, std::size_t variable);
