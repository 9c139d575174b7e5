// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowReplay.h"

#include <utility>

#include "ControlPanel.h"
#include "Draw2D.h"
#include "LongWork.h"
#include "PenTrack.h"
#include "PlaneHistory.h"
#include "PressReplay.h"
#include "TraceSession.h"
#include "VariablesWindow.h"

namespace {

// Keeps the windows alive between the steps, lets Esc stop the replay and
// follows the pen for the position readout.
class SessionHost : public TraceHost {
public:
    SessionHost(TraceSession& session, PenTrack& track) : session_(session), track_(track) {}
    bool Dashed() override { return false; }  // not asked: the press's own is used
    void Repaint() override {}
    void Pause() override
    {
        session_.KeepAlive();
        session_.ThrowIfStopped();
    }
    void PointTraced(std::size_t index, double t, const WorldPoint& point) override { track_.Add(index, t, point); }

private:
    TraceSession& session_;
    PenTrack& track_;
};

// Draws `press` over the plane as it stands. The window's t and colour stay
// as they were: they belong to the press still to come.
DrawnPress DrawOne(TraceSession& session, TDraw2D& window, const RecordedPress& press)
{
    SessionHost host(session, PenTrack::Of(window));
    const double t = window.VarT;
    const std::uint8_t red = window.CurveR, green = window.CurveG, blue = window.CurveB;
    DrawnPress drawn{press, false, true};
    std::optional<RecordedPress> again = ReplayStoppablePress(window, press, &host, drawn.Stopped);
    window.VarT = t;
    window.CurveR = red;
    window.CurveG = green;
    window.CurveB = blue;
    if (again)
        drawn.Record = std::move(*again);
    else
        drawn.Kept = false;
    return drawn;
}

}  // namespace

std::vector<QWidget*> ProgramWindows()
{
    return {Control_Panel, Draw2D, VariablesWindow};
}

WindowReplay DrawPressesAnew(TDraw2D& window, const PressHistory& presses)
{
    if (TraceSession::Running())
        return {};
    window.FillPlane(255, 255, 255);
    PenTrack::Of(window).Clear();  // the presses drawn bring their points again
    WindowReplay replay;
    replay.Ran = true;
    PressHistory drawn;
    std::optional<PlaneSnapshot> beforeLast;
    {
        TraceSession session(ProgramWindows(), BusyCursor::AfterAMoment);
        for (const RecordedPress& press : presses) {
            PlaneSnapshot before = window.Snapshot();
            DrawnPress one = DrawOne(session, window, press);
            // A press stopped before it drew anything is not kept, as by hand.
            if (one.Kept) {
                beforeLast = std::move(before);
                replay.Results.push_back(one.Record.Result);
                drawn.push_back(std::move(one.Record));
            }
            if (one.Stopped) {
                replay.Stopped = true;
                break;
            }
        }
    }
    window.RepaintPlane();
    PlaneHistory::Of(window).Replace(std::move(drawn), std::move(beforeLast));
    return replay;
}

WindowReplay RedrawLastPress(TDraw2D& window, const RecordedPress& last)
{
    if (TraceSession::Running())
        return {};
    const PlaneHistory& history = PlaneHistory::Of(window);
    // Presses but no plane before the last of them (Esc kept a replay from
    // drawing it): the whole list is drawn anew instead.
    if (!history.Presses().empty() && !history.PlaneBeforeLast()) {
        PressHistory presses = history.Presses();
        presses.back() = last;
        return DrawPressesAnew(window, presses);
    }
    WindowReplay replay;
    replay.Ran = true;
    {
        TraceSession session(ProgramWindows(), BusyCursor::AfterAMoment);
        const DrawnPress drawn = RedrawLastPressIn(session, window, last);
        replay.Stopped = drawn.Stopped;
        replay.Results.push_back(drawn.Record.Result);
    }
    window.RepaintPlane();
    // A last press without points leaves the track of the press it replaced.
    if (!replay.Results.empty() && replay.Results.back().PointCount == 0)
        PenTrack::Of(window).Rebuild(PlaneHistory::Of(window).Presses(), window.Plane().size());
    return replay;
}

DrawnPress RedrawLastPressIn(TraceSession& session, TDraw2D& window, const RecordedPress& last)
{
    PlaneHistory& history = PlaneHistory::Of(window);
    // The plane before the last press stays what it was; with no press yet,
    // it is the plane as it stands.
    std::optional<PlaneSnapshot> fresh;
    if (history.Presses().empty() || !history.PlaneBeforeLast())
        fresh = window.Snapshot();
    else
        window.Restore(*history.PlaneBeforeLast());
    DrawnPress drawn = DrawOne(session, window, last);
    // Stopped in a slow value or bound before it drew anything: kept as a
    // press stopped before its first point, so the list stays in step.
    if (!drawn.Kept) {
        drawn.Record.StopAt = 0;
        drawn.Record.Result = StoppedResult(0);
    }
    history.ReplaceLast(drawn.Record, fresh ? *fresh : *history.PlaneBeforeLast());
    return drawn;
}

DrawnPress AddPressIn(TraceSession& session, TDraw2D& window, const RecordedPress& press)
{
    PlaneSnapshot before = window.Snapshot();
    DrawnPress drawn = DrawOne(session, window, press);
    if (drawn.Kept)
        PlaneHistory::Of(window).Add(drawn.Record, std::move(before));
    return drawn;
}
