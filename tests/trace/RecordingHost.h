// SPDX-License-Identifier: GPL-3.0-or-later
// A trace host for tests: answers at once, never sleeps, and records what the
// trace asked of it, in order.
#pragma once

#include <functional>
#include <vector>

#include "PressRun.h"

struct TracedPoint {
    std::size_t index;
    double t;
    double x;
    double y;
};

class RecordingHost : public TraceHost {
public:
    bool DashedMode = false;
    int Repaints = 0;
    int Pauses = 0;
    int DashedQueries = 0;
    std::vector<TracedPoint> Points;
    std::function<void(std::size_t)> OnPoint;  // runs after a point is recorded

    bool Dashed() override
    {
        ++DashedQueries;
        return DashedMode;
    }
    void Repaint() override { ++Repaints; }
    void Pause() override { ++Pauses; }
    void PointTraced(std::size_t index, double t, const WorldPoint& point) override
    {
        Points.push_back({index, t, point.x, point.y});
        if (OnPoint)
            OnPoint(index);
    }
};

// The inputs of the control panel at start, as TraceTexts.
inline TraceTexts StartTexts()
{
    return StartPress().Texts;
}
