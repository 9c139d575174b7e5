// SPDX-License-Identifier: GPL-3.0-or-later
#include "PressReplay.h"

#include "LongWork.h"
#include "PlotSurface.h"

namespace {

// Answers the press's own dashes and passes every step on to the caller's
// host, if there is one.
class ReplayHost : public TraceHost {
public:
    ReplayHost(const RecordedPress& press, TraceHost* inner) : press_(press), inner_(inner) {}

    bool Dashed() override { return press_.Press.Dashed; }
    void Repaint() override
    {
        if (inner_)
            inner_->Repaint();
    }
    void Pause() override
    {
        if (inner_)
            inner_->Pause();
    }
    void PointTraced(std::size_t index, double t, const WorldPoint& point) override
    {
        if (inner_)
            inner_->PointTraced(index, t, point);
    }

private:
    const RecordedPress& press_;
    TraceHost* inner_;
};

struct Replayed {
    PressResult Result;
    bool Interrupted = false;  // stopped from outside
    bool BeganDrawing = false;
};

Replayed Replay(PlotSurface& surface, const RecordedPress& press, TraceHost* inner)
{
    ReplayHost host(press, inner);
    PressRun run(surface, press.Press, &host);
    run.StopAt(press.StopAt);
    Replayed replayed;
    replayed.Interrupted = DriveRun(run, host);
    replayed.Result = run.Result();
    replayed.BeganDrawing = run.BeganDrawing();
    return replayed;
}

}  // namespace

PressResult ReplayPress(PlotSurface& surface, const RecordedPress& press, TraceHost* inner)
{
    Replayed replayed = Replay(surface, press, inner);
    if (replayed.Interrupted)
        throw EvaluationCancelled();
    return std::move(replayed.Result);
}

std::optional<RecordedPress> ReplayStoppablePress(PlotSurface& surface, const RecordedPress& press,
                                                  TraceHost* inner, bool& stopped)
{
    Replayed replayed = Replay(surface, press, inner);
    stopped = replayed.Interrupted;
    if (stopped && !replayed.BeganDrawing)
        return std::nullopt;
    RecordedPress drawn = press;
    if (stopped)
        drawn.StopAt = replayed.Result.PointCount;
    drawn.Result = std::move(replayed.Result);
    return drawn;
}

std::vector<PressResult> ReplayPresses(PlotSurface& surface, std::span<const RecordedPress> presses,
                                       TraceHost* inner)
{
    const KeptColourAndT kept(surface);
    std::vector<PressResult> results;
    results.reserve(presses.size());
    for (const RecordedPress& press : presses)
        results.push_back(ReplayPress(surface, press, inner));
    return results;
}

KeptColourAndT::KeptColourAndT(PlotState& state)
    : state_(state), t_(state.VarT), red_(state.CurveR), green_(state.CurveG), blue_(state.CurveB)
{
}

KeptColourAndT::~KeptColourAndT()
{
    state_.VarT = t_;
    state_.CurveR = red_;
    state_.CurveG = green_;
    state_.CurveB = blue_;
}
