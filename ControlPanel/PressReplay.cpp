// SPDX-License-Identifier: GPL-3.0-or-later
#include "PressReplay.h"

#include "FaultAdvice.h"
#include "LongWork.h"
#include "PlotSurface.h"

namespace {

// Passes every step on to the caller's host, if there is one, and counts
// the points.
class PassingHost : public TraceHost {
public:
    explicit PassingHost(TraceHost* inner) : inner_(inner) {}

    bool Dashed() override { return false; }  // not asked: the press's own is used
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
    void BeforePoint(std::size_t index) override
    {
        if (inner_)
            inner_->BeforePoint(index);
    }
    void PointTraced(std::size_t index, double t, const WorldPoint& point) override
    {
        Points = index + 1;
        if (inner_)
            inner_->PointTraced(index, t, point);
    }

    std::size_t Points = 0;

private:
    TraceHost* inner_;
};

// Answers the press's own dashes and stops where the recorded press stopped.
class ReplayHost : public PassingHost {
public:
    ReplayHost(const RecordedPress& press, TraceHost* inner) : PassingHost(inner), press_(press) {}

    bool Dashed() override { return press_.Press.Dashed; }
    void BeforePoint(std::size_t index) override
    {
        if (press_.StopAt && index >= *press_.StopAt) {
            StoppedHere = true;
            throw EvaluationCancelled();
        }
        PassingHost::BeforePoint(index);
    }

    bool StoppedHere = false;

private:
    const RecordedPress& press_;
};

// Notes whether a press's loop began and whether the plane changed meanwhile.
class StopWatchHost : public PassingHost, private PlaneObserver {
public:
    StopWatchHost(PlotSurface& surface, TraceHost* inner) : PassingHost(inner), surface_(surface)
    {
        surface_.AddPlaneObserver(this);
    }
    ~StopWatchHost() override { surface_.RemovePlaneObserver(this); }
    StopWatchHost(const StopWatchHost&) = delete;
    StopWatchHost& operator=(const StopWatchHost&) = delete;

    void BeforePoint(std::size_t index) override
    {
        LoopBegan = true;
        PassingHost::BeforePoint(index);
    }

    bool LoopBegan = false;
    bool Changed = false;

private:
    void PlaneChanged(const QRect&) override { Changed = true; }

    PlotSurface& surface_;
};

}  // namespace

PressResult ResultOf(const TraceOutcome& outcome)
{
    PressResult result;
    result.End = outcome.Ok() ? PressEnd::Completed : PressEnd::FormulaError;
    result.Message = outcome.Message;
    result.Focus = outcome.Focus;
    result.PointCount = outcome.PointCount;
    return result;
}

PressResult FaultResult(const FloatFault& fault, const FaultPlace& place, const PlotState& state,
                        std::size_t pointCount)
{
    PressResult result;
    result.End = PressEnd::Fault;
    result.Message = std::string(fault.what()) + '.';
    result.Focus = place.Input;
    result.PointCount = pointCount;
    const FaultAdvice advice = AdviseFault(fault.Kind(), place, state);
    result.Advice = advice.Cause;
    result.AdviceField = advice.Field;
    return result;
}

PressResult ReplayPress(PlotSurface& surface, const RecordedPress& press, TraceHost* inner)
{
    ReplayHost host(press, inner);
    FaultPlace place;
    try {
        return ResultOf(RunPress(surface, press.Press, host, &place));
    } catch (const FloatFault& fault) {
        return FaultResult(fault, place, surface, host.Points);
    } catch (const EvaluationCancelled&) {
        if (!host.StoppedHere)
            throw;
        PressResult result;
        result.End = PressEnd::Stopped;
        result.PointCount = host.Points;
        return result;
    }
}

std::vector<PressResult> ReplayPresses(PlotSurface& surface, std::span<const RecordedPress> presses,
                                       TraceHost* inner)
{
    const double t = surface.VarT;
    const std::uint8_t red = surface.CurveR, green = surface.CurveG, blue = surface.CurveB;
    const auto restore = [&] {
        surface.VarT = t;
        surface.CurveR = red;
        surface.CurveG = green;
        surface.CurveB = blue;
    };
    std::vector<PressResult> results;
    results.reserve(presses.size());
    try {
        for (const RecordedPress& press : presses)
            results.push_back(ReplayPress(surface, press, inner));
    } catch (...) {
        restore();
        throw;
    }
    restore();
    return results;
}

std::optional<RecordedPress> ReplayStoppablePress(PlotSurface& surface, const RecordedPress& press,
                                                  TraceHost* inner, bool& stopped)
{
    StopWatchHost watch(surface, inner);
    RecordedPress drawn = press;
    try {
        drawn.Result = ReplayPress(surface, press, &watch);
        stopped = false;
        return drawn;
    } catch (const EvaluationCancelled&) {
        stopped = true;
        if (!watch.LoopBegan && !watch.Changed)
            return std::nullopt;
        drawn.StopAt = watch.Points;
        drawn.Result = StoppedResult(watch.Points);
        return drawn;
    }
}
