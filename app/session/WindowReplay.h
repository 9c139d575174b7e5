// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing presses again on the plot window, at once: a lesson opened, a zoom
// or a pan, a slider moved, a frame of "Animovat". The document draws them
// (PlotDocument.h) under a trace session: input waits, Esc stops, the windows
// keep being painted and the busy cursor shows if it takes a moment, but
// there is no pause and no box.
#pragma once

#include <vector>

#include "PlotDocument.h"
#include "TraceSession.h"

// Keeps the windows alive between the steps of presses drawn again, and
// lets Esc stop them.
class SessionHost : public TraceHost {
public:
    explicit SessionHost(TraceSession& session) : session_(session) {}
    bool Dashed() override { return false; }  // not asked: the press's own is used
    void Repaint() override {}
    void Pause() override
    {
        session_.KeepAlive();
        session_.ThrowIfStopped();
    }

private:
    TraceSession& session_;
};

struct WindowReplay {
    bool Ran = false;      // false: a trace was running, nothing was done
    bool Stopped = false;  // Esc: the presses after the one it stopped are not drawn
    std::vector<PressResult> Results;  // of the presses drawn, in order
};

// PlotDocument::DrawAnew in a session of its own; the plane is repainted at
// the end.
WindowReplay DrawPressesAnew(PlotDocument& document, const PressHistory& presses,
                             PressesChange change = PressesChange::AllReplaced);

// PlotDocument::RedrawLast in a session of its own; the plane is repainted
// at the end.
WindowReplay RedrawLastPress(PlotDocument& document, const RecordedPress& last);
