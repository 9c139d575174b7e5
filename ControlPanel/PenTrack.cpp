// SPDX-License-Identifier: GPL-3.0-or-later
#include "PenTrack.h"

#include <QWidget>

#include "PlaneHistory.h"
#include "PlotSurface.h"
#include "PressReplay.h"

namespace {

const char KeeperName[] = "PenTrack";

// Gathers the points of a replayed press.
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

PenTrack::PenTrack(QWidget& window) : QObject(&window)
{
    setObjectName(QString::fromLatin1(KeeperName));
    PlaneHistory& history = PlaneHistory::Of(window);
    connect(&history, &PlaneHistory::Changed, this, [this, &history] {
        if (history.Presses().empty())
            Clear();
    });
}

PenTrack& PenTrack::Of(QWidget& window)
{
    auto* keeper = window.findChild<PenTrack*>(QString::fromLatin1(KeeperName), Qt::FindDirectChildrenOnly);
    return keeper ? *keeper : *new PenTrack(window);
}

void PenTrack::Add(std::size_t index, double t, const WorldPoint& point)
{
    if (index == 0)
        points_.clear();
    else if (index != points_.size())
        return;  // not the next point of the press being drawn
    points_.push_back(PenPoint{t, point.x, point.y});
    emit Changed();
}

void PenTrack::Clear()
{
    if (points_.empty())
        return;
    points_.clear();
    emit Changed();
}

void PenTrack::Rebuild(const PressHistory& presses, QSize planeSize)
{
    std::vector<PenPoint> points;
    for (auto press = presses.rbegin(); press != presses.rend(); ++press) {
        if (press->Result.PointCount == 0)
            continue;
        // The same plane size: a point too far to draw ends it where it did.
        PlotSurface scratch;
        scratch.ResizePlane(planeSize.width(), planeSize.height());
        GatherHost host;
        try {
            ReplayPress(scratch, *press, &host);
        } catch (const std::exception&) {
            // Stopped by the user, as the press was: the points so far.
        }
        points = std::move(host.Points);
        break;
    }
    points_ = std::move(points);
    emit Changed();
}
