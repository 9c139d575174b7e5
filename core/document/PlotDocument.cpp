// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlotDocument.h"

#include <algorithm>
#include <utility>

#include "PressReplay.h"

void PlotListener::PressesChanged(PressesChange)
{
}

void PlotListener::PenMoved()
{
}

void PlotListener::AnimationKept()
{
}

void PlotListener::NextPressChanged()
{
}

namespace {

// Follows the pen of a press drawn again and passes every step on.
class PenHost : public TraceHost {
public:
    PenHost(PlotDocument& document, std::vector<PenPoint>& track, TraceHost& inner)
        : document_(document), track_(track), inner_(inner)
    {
    }

    bool Dashed() override { return inner_.Dashed(); }
    void Repaint() override { inner_.Repaint(); }
    void Pause() override { inner_.Pause(); }
    void PointTraced(std::size_t index, double t, const WorldPoint& point) override
    {
        if (index == 0) {
            track_.clear();
            document_.NoteFirstPoint();
        }
        if (index == track_.size())
            track_.push_back(PenPoint{t, point.x, point.y});
        inner_.PointTraced(index, t, point);
    }

private:
    PlotDocument& document_;
    std::vector<PenPoint>& track_;
    TraceHost& inner_;
};

// Gathers the points of a press drawn on a scratch plane.
class GatherHost : public TraceHost {
public:
    bool Dashed() override { return false; }  // not asked: the press's own is used
    void Repaint() override {}
    void Pause() override {}
    void PointTraced(std::size_t, double t, const WorldPoint& point) override
    {
        Points.push_back(PenPoint{t, point.x, point.y});
    }

    std::vector<PenPoint> Points;
};

}  // namespace

std::optional<ShownWindow> PlotDocument::Shown() const
{
    for (auto window = windows_.rbegin(); window != windows_.rend(); ++window) {
        if (*window)
            return *window;
    }
    return std::nullopt;
}

void PlotDocument::NoteFirstPoint()
{
    drawing_ = ShownWindow{plane_->Mapping(), plane_->X1, plane_->X2, plane_->Y1, plane_->Y2};
}

void PlotDocument::Keep(RecordedPress press)
{
    presses_.push_back(std::move(press));
    windows_.push_back(std::exchange(drawing_, std::nullopt));
}

std::int32_t PlotDocument::Colour() const
{
    return ColorValue(plane_->CurveR, plane_->CurveG, plane_->CurveB);
}

void PlotDocument::SetColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    plane_->CurveR = red;
    plane_->CurveG = green;
    plane_->CurveB = blue;
    TellNextPress();
}

void PlotDocument::SetNextT(double t)
{
    plane_->VarT = t;
    TellNextPress();
}

void PlotDocument::SetVariables(const std::array<VariableTexts, VariableCount>& variables)
{
    if (variables == variables_)
        return;
    variables_ = variables;
    TellNextPress();
}

bool PlotDocument::Unsaved() const
{
    // A wiped plane holds nothing to lose, whatever was saved before.
    if (presses_.empty())
        return false;
    // As a lesson holds them: the presses and where each was stopped.
    const auto same = [](const RecordedPress& a, const RecordedPress& b) {
        return a.Press == b.Press && a.StopAt == b.StopAt;
    };
    return !std::equal(presses_.begin(), presses_.end(), saved_.begin(), saved_.end(), same);
}

void PlotDocument::SetKeepTrace(bool keep)
{
    if (keep == keepTrace_)
        return;
    keepTrace_ = keep;
    TellNextPress();
}

void PlotDocument::Wipe()
{
    plane_->FillPlane(255, 255, 255);
    presses_.clear();
    windows_.clear();
    beforeLast_.reset();
    pen_.clear();
    TellPresses(PressesChange::Cleared);
}

DrawnPress PlotDocument::DrawOne(const RecordedPress& press, TraceHost& host)
{
    PenHost pen(*this, pen_, host);
    const KeptColourAndT kept(*plane_);
    drawing_.reset();
    DrawnPress drawn{press, false, true};
    std::optional<RecordedPress> again = ReplayStoppablePress(*plane_, press, &pen, drawn.Stopped);
    if (again)
        drawn.Record = std::move(*again);
    else
        drawn.Kept = false;
    return drawn;
}

PlaneReplay PlotDocument::DrawAnew(const PressHistory& given, TraceHost& host, PressesChange change)
{
    const PressHistory presses = given;  // the list given may be this one
    plane_->FillPlane(255, 255, 255);
    pen_.clear();  // the presses drawn bring their points again
    presses_.clear();
    windows_.clear();
    PlaneReplay replay;
    std::optional<PlaneSnapshot> beforeLast;
    for (const RecordedPress& press : presses) {
        PlaneSnapshot before = plane_->Snapshot();
        DrawnPress one = DrawOne(press, host);
        // A press stopped before it drew anything is not kept, as by hand.
        if (one.Kept) {
            beforeLast = std::move(before);
            replay.Results.push_back(one.Record.Result);
            Keep(std::move(one.Record));
        }
        if (one.Stopped) {
            replay.Stopped = true;
            break;
        }
    }
    beforeLast_ = presses_.empty() ? std::nullopt : std::move(beforeLast);
    TellPresses(change);
    return replay;
}

DrawnPress PlotDocument::RedrawLast(const RecordedPress& last, TraceHost& host)
{
    // Presses but no plane before the last of them (Esc kept a replay from
    // drawing it): the whole list is drawn anew instead.
    if (!presses_.empty() && !beforeLast_) {
        const PressHistory presses = [&] {
            PressHistory all = presses_;
            all.back() = last;
            return all;
        }();
        const PlaneReplay replay = DrawAnew(presses, host, PressesChange::LastReplaced);
        return DrawnPress{presses_.empty() ? last : presses_.back(), replay.Stopped, !presses_.empty()};
    }
    // The plane before the last press stays what it was; with no press yet,
    // it is the plane as it stands.
    const bool added = presses_.empty();
    PlaneSnapshot before = added ? plane_->Snapshot() : *beforeLast_;
    if (!added)
        plane_->Restore(before);
    DrawnPress drawn = DrawOne(last, host);
    // Stopped in a slow value or bound before it drew anything: kept as a
    // press stopped before its first point, so the list stays in step.
    if (!drawn.Kept) {
        drawn.Record.StopAt = 0;
        drawn.Record.Result = StoppedResult(0);
        drawn.Kept = true;
    }
    if (added) {
        Keep(drawn.Record);
        beforeLast_ = std::move(before);
    } else {
        presses_.back() = drawn.Record;
        windows_.back() = std::exchange(drawing_, std::nullopt);
    }
    // A last press without points leaves the track to the press before
    // that drew any.
    if (drawn.Record.Result.PointCount == 0)
        RebuildPenTrack();
    TellPresses(added ? PressesChange::Added : PressesChange::LastReplaced);
    return drawn;
}

DrawnPress PlotDocument::AddPress(const RecordedPress& press, TraceHost& host)
{
    PlaneSnapshot before = plane_->Snapshot();
    DrawnPress drawn = DrawOne(press, host);
    if (drawn.Kept) {
        Keep(drawn.Record);
        beforeLast_ = std::move(before);
        TellPresses(PressesChange::Added);
    }
    return drawn;
}

void PlotDocument::RebuildPenTrack()
{
    std::vector<PenPoint> points;
    for (auto press = presses_.rbegin(); press != presses_.rend(); ++press) {
        if (press->Result.PointCount == 0)
            continue;
        // The same plane size: a point too far to draw ends it where it did.
        PlotSurface scratch;
        scratch.ResizePlane(plane_->Plane().Width(), plane_->Plane().Height());
        GatherHost host;
        try {
            ReplayPress(scratch, *press, &host);
        } catch (const std::exception&) {
            // Stopped by the user, as the press was: the points so far.
        }
        points = std::move(host.Points);
        break;
    }
    pen_ = std::move(points);
}

void PlotDocument::FollowPen(std::size_t index, double t, const WorldPoint& point)
{
    if (index == 0) {
        pen_.clear();
        NoteFirstPoint();
    }
    else if (index != pen_.size())
        return;  // not the next point of the press being drawn
    pen_.push_back(PenPoint{t, point.x, point.y});
    TellPen();
}

void PlotDocument::AddTraced(RecordedPress press, PlaneSnapshot planeBefore)
{
    Keep(std::move(press));
    beforeLast_ = std::move(planeBefore);
    TellPresses(PressesChange::Added);
}

void PlotDocument::KeepAnimation(EncodedGif animation)
{
    animation_ = std::make_shared<const EncodedGif>(std::move(animation));
    for (PlotListener* listener : std::vector(listeners_))
        listener->AnimationKept();
}

void PlotDocument::AddListener(PlotListener* listener)
{
    listeners_.push_back(listener);
}

void PlotDocument::RemoveListener(PlotListener* listener)
{
    std::erase(listeners_, listener);
}

// Each listener is told from a copy of the list: one may remove itself.
void PlotDocument::TellPresses(PressesChange change)
{
    for (PlotListener* listener : std::vector(listeners_))
        listener->PressesChanged(change);
}

void PlotDocument::TellPen()
{
    for (PlotListener* listener : std::vector(listeners_))
        listener->PenMoved();
}

void PlotDocument::TellNextPress()
{
    for (PlotListener* listener : std::vector(listeners_))
        listener->NextPressChanged();
}
