// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing presses again on the plot window, at once: a lesson opened, a zoom
// or a pan, a slider moved, a frame of "Animovat". The same road as "Kresli"
// (ReplayPresses) under a trace session: input waits, Esc stops, the windows
// keep being painted and the busy cursor shows if it takes a moment, but
// there is no pause and no box. The window's PlaneHistory becomes what the
// plane then shows.
#pragma once

#include <vector>

#include "PressHistory.h"

class QWidget;
class TDraw2D;
class TraceSession;

struct WindowReplay {
    bool Ran = false;      // false: a trace was running, nothing was done
    bool Stopped = false;  // Esc: the presses after the one it stopped are not drawn
    std::vector<PressResult> Results;  // of the presses drawn, in order
};

// Wipes the plane white and draws `presses` in order. When Esc stops it, the
// history holds the presses drawn so far, the one stopped with where it
// stopped. The plane is repainted at the end.
WindowReplay DrawPressesAnew(TDraw2D& window, const PressHistory& presses);

// Puts the plane back as it stood before the last press of the history and
// draws `last` there in its place: the earlier curves stay, the last one
// changes. With no press in the history it draws `last` over the plane as it
// stands. The plane is repainted at the end.
WindowReplay RedrawLastPress(TDraw2D& window, const RecordedPress& last);

// One press drawn within a session that is already running (an
// animation's), as a record of how it went: Stopped after Esc, with StopAt
// where it stopped. No repaint.
struct DrawnPress {
    RecordedPress Record;
    bool Stopped = false;
    bool Kept = true;  // false: stopped before it drew anything, not in the history
};
// As RedrawLastPress.
DrawnPress RedrawLastPressIn(TraceSession& session, TDraw2D& window, const RecordedPress& last);
// Over the plane as it stands, added to the history as one more press.
DrawnPress AddPressIn(TraceSession& session, TDraw2D& window, const RecordedPress& press);

// The windows a session holds input for: the panel, the plot window and the
// variables window, those that exist.
std::vector<QWidget*> ProgramWindows();
