// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing recorded presses again, at once: the road of "Kresli" (PressRun)
// with no pause. A lesson opened, a zoom, a slider moved and the renderer
// all draw through here, so each press gives the very pixels it gave when it
// was made by hand.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "PressHistory.h"
#include "PressRun.h"

// Draws one press and tells how it ended: a formula error or a fault ends it
// where it arises, nothing is shown; a press with StopAt stops after that
// many points. `inner`, when given, is told of every step as a run's host
// is (Repaint, Pause, PointTraced; never Dashed, the press's own is used):
// an animation's recorder, or whatever keeps the windows alive. A stop from
// outside (EvaluationCancelled thrown by `inner` or by the engine's
// long-work hook) passes out: the whole replay is to stop.
PressResult ReplayPress(PlotSurface& surface, const RecordedPress& press, TraceHost* inner = nullptr);

// Draws one press as ReplayPress does, and a stop from outside ends it as
// well: the press comes back with StopAt where it stopped, so that it draws
// the same when drawn again, and `stopped` is set. A press stopped before it
// began to draw (in a slow bound) comes back as nothing: by hand such a
// press is not kept.
std::optional<RecordedPress> ReplayStoppablePress(PlotSurface& surface, const RecordedPress& press,
                                                  TraceHost* inner, bool& stopped);

// Each press in order, results in the same order. The surface's t and
// curve colour are left as they were before (KeptColourAndT); the rest of
// the plot state is as the last press left it.
std::vector<PressResult> ReplayPresses(PlotSurface& surface, std::span<const RecordedPress> presses,
                                       TraceHost* inner = nullptr);

// The plot state's t and curve colour belong to the press still to come:
// drawing presses again sets them, so they are kept for the scope's length
// and put back however it ends.
class KeptColourAndT {
public:
    explicit KeptColourAndT(PlotState& state);
    ~KeptColourAndT();
    KeptColourAndT(const KeptColourAndT&) = delete;
    KeptColourAndT& operator=(const KeptColourAndT&) = delete;

private:
    PlotState& state_;
    double t_;
    std::uint8_t red_;
    std::uint8_t green_;
    std::uint8_t blue_;
};
