// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing recorded presses again, at once: the road of "Kresli" (RunPress)
// with a host that does not pause. A lesson opened, a zoom, a slider moved
// and the renderer all draw through here, so each press gives the very
// pixels it gave when it was made by hand.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "CurveTrace.h"
#include "PressHistory.h"

// Draws one press and tells how it ended: a formula error or a fault ends it
// where it arises, nothing is shown; a press with StopAt stops after that
// many points. `inner`, when given, is told of every step as a trace's host
// is (Repaint, Pause, BeforePoint, PointTraced; never Dashed, the press's
// own is used): an animation's recorder, or whatever keeps the windows alive.
// EvaluationCancelled thrown by `inner`, or by the engine's long-work hook,
// passes out: the whole replay is to stop.
PressResult ReplayPress(PlotSurface& surface, const RecordedPress& press, TraceHost* inner = nullptr);

// Draws one press as ReplayPress does, and a stop from outside
// (EvaluationCancelled from `inner` or from the engine's long-work hook:
// Esc, a timeout) ends it as well: the press comes back with StopAt where
// it stopped, so that it draws the same when drawn again, and `stopped` is
// set. A press stopped before it drew anything or began its loop (in a
// slow bound) comes back as nothing: by hand such a press is not kept.
std::optional<RecordedPress> ReplayStoppablePress(PlotSurface& surface, const RecordedPress& press,
                                                  TraceHost* inner, bool& stopped);

// Each press in order, results in the same order. The surface's VarT and
// curve colour are left as they were before (they belong to the press to
// come); the rest of the plot state is as the last press left it.
std::vector<PressResult> ReplayPresses(PlotSurface& surface, std::span<const RecordedPress> presses,
                                       TraceHost* inner = nullptr);

// How a press that came back from TraceCurve or RunPress ended.
PressResult ResultOf(const TraceOutcome& outcome);
// How a press ended by a fault, from where it came and the plot state it
// left: the message as the fault box words it, and its cause.
PressResult FaultResult(const FloatFault& fault, const FaultPlace& place, const PlotState& state,
                        std::size_t pointCount);
