// SPDX-License-Identifier: GPL-3.0-or-later
// Where the pen went: the points of the last press on a plot window that
// drew any, each with the t it was traced at, as the trace reported them.
// The readout steps along these. A child object of the window, like its
// PlaneHistory: every road that draws presses on the window (a "Kresli", a
// replay) hands it the points as they come, so during a trace it follows
// the pen; a press that drew no point leaves the track as it was.
//
// "Vymaž" (the history emptied) clears it.
#pragma once

#include <QObject>
#include <QSize>

#include <cstddef>
#include <vector>

#include "PlotState.h"
#include "PressHistory.h"

class QWidget;

struct PenPoint {
    double T = 0.0;
    double X = 0.0;
    double Y = 0.0;
};

class PenTrack : public QObject {
    Q_OBJECT
public:
    // The window's keeper, made on first use.
    static PenTrack& Of(QWidget& window);

    const std::vector<PenPoint>& Points() const { return points_; }

    // Point `index` of the press being drawn; index 0 starts a new track.
    void Add(std::size_t index, double t, const WorldPoint& point);
    void Clear();

    // Traces the last press of `presses` that drew points afresh, on a
    // scratch plane of `planeSize`, and makes its points the track: for when
    // the press the track came from is no longer in the history.
    void Rebuild(const PressHistory& presses, QSize planeSize);

signals:
    void Changed();

private:
    explicit PenTrack(QWidget& window);

    std::vector<PenPoint> points_;
};
