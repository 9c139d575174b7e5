// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowReplay.h"

#include <utility>

#include "ControlPanel.h"
#include "Draw2D.h"
#include "LongWork.h"
#include "PlaneHistory.h"
#include "PressReplay.h"
#include "TraceSession.h"

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
    void BeforePoint(std::size_t) override { LoopBegan = true; }
    void PointTraced(std::size_t index, double, const WorldPoint&) override { Points = index + 1; }

    std::size_t Points = 0;
    // Esc before the loop, in a slow bound, leaves a press that drew
    // nothing: as by hand, it is not kept.
    bool LoopBegan = false;

private:
    TraceSession& session_;
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
        SessionHost host(session);
        for (const RecordedPress& press : presses) {
            PlaneSnapshot before = window.Snapshot();
            host.Points = 0;
            host.LoopBegan = false;
            RecordedPress again = press;
            try {
                again.Result = ReplayPresses(window, std::span(&press, 1), &host).front();
            } catch (const EvaluationCancelled&) {
                again.StopAt = host.Points;
                again.Result = PressResult{PressEnd::Stopped, {}, InputField::None, host.Points};
                replay.Stopped = true;
            }
            if (replay.Stopped && !host.LoopBegan)
                break;
            beforeLast = std::move(before);
            replay.Results.push_back(again.Result);
            drawn.push_back(std::move(again));
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
    return DrawOver(window, std::move(kept), PressHistory{last});
}
