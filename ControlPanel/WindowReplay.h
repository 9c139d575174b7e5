// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing presses again on the plot window, at once: a lesson opened, a zoom
// or a pan, a slider moved. The same road as "Kresli" (ReplayPresses) under
// a trace session: the busy cursor shows, input waits, Esc stops, and the
// windows keep being painted, but there is no pause and no box; the plane is
// repainted once at the end. The window's PlaneHistory becomes what the
// plane then shows.
#pragma once

#include <vector>

#include "PressHistory.h"

class TDraw2D;

struct WindowReplay {
    bool Ran = false;      // false: a trace was running, nothing was done
    bool Stopped = false;  // Esc: the presses after the one it stopped are not drawn
    std::vector<PressResult> Results;  // of the presses drawn, in order
};

// Wipes the plane white and draws `presses` in order. When Esc stops it, the
// history holds the presses drawn so far, the one stopped with where it
// stopped.
WindowReplay DrawPressesAnew(TDraw2D& window, const PressHistory& presses);

// Puts the plane back as it stood before the last press of the history and
// draws `last` there in its place: the earlier curves stay, the last one
// changes. With no press in the history it draws `last` over the plane as it
// stands.
WindowReplay RedrawLastPress(TDraw2D& window, const RecordedPress& last);
