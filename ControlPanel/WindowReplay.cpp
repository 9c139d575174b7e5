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

namespace {

// Keeps the windows alive between the steps and lets Esc stop the replay.
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

// Draws `presses` over the plane as it stands and appends each to `drawn`.
WindowReplay DrawOver(TDraw2D& window, PressHistory drawn, const PressHistory& presses)
{
    WindowReplay replay;
    replay.Ran = true;
    std::optional<PlaneSnapshot> beforeLast;
    {
        std::vector<QWidget*> windows{&window};
        if (Control_Panel)
            windows.push_back(Control_Panel);
        TraceSession session(std::move(windows));
        SessionHost host(session, PenTrack::Of(window));
        const std::uint8_t red = window.CurveR, green = window.CurveG, blue = window.CurveB;
        for (const RecordedPress& press : presses) {
            PlaneSnapshot before = window.Snapshot();
            const double t = window.VarT;
            std::optional<RecordedPress> again = ReplayStoppablePress(window, press, &host, replay.Stopped);
            // The press to come reads the window's own t and colour.
            window.VarT = t;
            window.CurveR = red;
            window.CurveG = green;
            window.CurveB = blue;
            if (again) {
                beforeLast = std::move(before);
                replay.Results.push_back(again->Result);
                drawn.push_back(std::move(*again));
            }
            if (replay.Stopped)
                break;
        }
    }
    window.RepaintPlane();
    PlaneHistory::Of(window).Replace(std::move(drawn), std::move(beforeLast));
    return replay;
}

}  // namespace

WindowReplay DrawPressesAnew(TDraw2D& window, const PressHistory& presses)
{
    if (TraceSession::Running())
        return {};
    window.FillPlane(255, 255, 255);
    PenTrack::Of(window).Clear();  // the presses drawn bring their points again
    return DrawOver(window, {}, presses);
}

WindowReplay RedrawLastPress(TDraw2D& window, const RecordedPress& last)
{
    if (TraceSession::Running())
        return {};
    const PlaneHistory& history = PlaneHistory::Of(window);
    PressHistory kept = history.Presses();
    if (!kept.empty()) {
        kept.pop_back();
        // No plane before the last press (Esc kept a replay from drawing
        // it): the whole list is drawn anew instead.
        if (!history.PlaneBeforeLast()) {
            kept.push_back(last);
            return DrawPressesAnew(window, kept);
        }
        window.Restore(*history.PlaneBeforeLast());
    }
    WindowReplay replay = DrawOver(window, std::move(kept), PressHistory{last});
    // A last press without points leaves the track of the press it replaced.
    if (!replay.Results.empty() && replay.Results.back().PointCount == 0)
        PenTrack::Of(window).Rebuild(PlaneHistory::Of(window).Presses(), window.Plane().size());
    return replay;
}
