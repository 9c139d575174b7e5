// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowReplay.h"

WindowReplay DrawPressesAnew(PlotDocument& document, const PressHistory& presses, PressesChange change)
{
    if (TraceSession::Running())
        return {};
    WindowReplay replay;
    replay.Ran = true;
    {
        TraceSession session(ProgramWindows(), BusyCursor::AfterAMoment);
        SessionHost host(session);
        PlaneReplay drawn = document.DrawAnew(presses, host, change);
        replay.Stopped = drawn.Stopped;
        replay.Results = std::move(drawn.Results);
    }
    document.Surface().RepaintPlane();
    return replay;
}

WindowReplay RedrawLastPress(PlotDocument& document, const RecordedPress& last)
{
    if (TraceSession::Running())
        return {};
    WindowReplay replay;
    replay.Ran = true;
    {
        TraceSession session(ProgramWindows(), BusyCursor::AfterAMoment);
        SessionHost host(session);
        const DrawnPress drawn = document.RedrawLast(last, host);
        replay.Stopped = drawn.Stopped;
        replay.Results.push_back(drawn.Record.Result);
    }
    document.Surface().RepaintPlane();
    return replay;
}
