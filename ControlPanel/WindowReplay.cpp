#include "WindowReplay.h"

#include <utility>

#include "ControlPanel.h"
#include "Draw2D.h"
#include "LongWork.h"
#include "PlaneHistory.h"
#include "PressReplay.h"
#include "TraceSession.h"
#include "VariablesWindow.h"

namespace {

// Keeps the windows alive between the steps and lets Esc stop the replay.
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
    void PointTraced(std::size_t index, double, const WorldPoint&) override { Points = index + 1; }

    std::size_t Points = 0;

private:
    TraceSession& session_;
};

// Draws `press` over the plane as it stands.
DrawnPress DrawOne(TraceSession& session, TDraw2D& window, const RecordedPress& press)
{
    SessionHost host(session);
    DrawnPress drawn{press, false};
    try {
        drawn.Record.Result = ReplayPresses(window, std::span(&press, 1), &host).front();
    } catch (const EvaluationCancelled&) {
        drawn.Record.StopAt = host.Points;
        drawn.Record.Result = PressResult{PressEnd::Stopped, {}, InputField::None, host.Points};
        drawn.Stopped = true;
    }
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
    WindowReplay replay;
    replay.Ran = true;
    PressHistory drawn;
    std::optional<PlaneSnapshot> beforeLast;
    {
        TraceSession session(ProgramWindows(), BusyCursor::AfterAMoment);
        for (const RecordedPress& press : presses) {
            beforeLast = window.Snapshot();
            DrawnPress one = DrawOne(session, window, press);
            replay.Results.push_back(one.Record.Result);
            drawn.push_back(std::move(one.Record));
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
    WindowReplay replay;
    replay.Ran = true;
    {
        TraceSession session(ProgramWindows(), BusyCursor::AfterAMoment);
        const DrawnPress drawn = RedrawLastPressIn(session, window, last);
        replay.Stopped = drawn.Stopped;
        replay.Results.push_back(drawn.Record.Result);
    }
    window.RepaintPlane();
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
    history.ReplaceLast(drawn.Record, fresh ? *fresh : *history.PlaneBeforeLast());
    return drawn;
}

DrawnPress AddPressIn(TraceSession& session, TDraw2D& window, const RecordedPress& press)
{
    PlaneSnapshot before = window.Snapshot();
    DrawnPress drawn = DrawOne(session, window, press);
    PlaneHistory::Of(window).Add(drawn.Record, std::move(before));
    return drawn;
}
