// SPDX-License-Identifier: GPL-3.0-or-later
// Planes for trace tests: fresh white surfaces and reference drawings made
// from the points a trace reported, so a plane can be compared pixel by pixel.
#pragma once

#include <QImage>

#include <memory>
#include <vector>

#include "PlaneImages.h"
#include "Canvas.h"
#include "PlotSurface.h"
#include "RecordingHost.h"

inline constexpr QRgb CurveColour = qRgb(0, 0, 200);

// 500 x 500, white, curve colour 0, 0, 200: the plot window after start-up.
inline std::unique_ptr<PlotSurface> FreshSurface()
{
    auto surface = std::make_unique<PlotSurface>();
    surface->ResizePlane(500, 500);
    surface->FillPlane(255, 255, 255);
    surface->CurveB = 200;
    return surface;
}

inline int CountNotWhite(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                ++count;
        }
    }
    return count;
}

// Axes as the trace draws them, on `reference` in the world of `traced`.
inline void DrawReferenceAxes(PlotSurface& reference, const PlotState& traced)
{
    reference.SetWorld(traced.X1, traced.X2, traced.Y1, traced.Y2);
    reference.Canvas().SetPenWidth(1);
    reference.Canvas().SetFontHeight(10);
    reference.DrawAxisX(traced.X1, traced.X2, 0.0, 255, 0, 0);
    reference.DrawAxisY(traced.Y1, traced.Y2, 0.0, 255, 0, 0);
}

// The segments between the reported points in the reference's curve colour:
// every one, or in dashed mode those ending at an odd point.
inline void DrawReferenceCurve(PlotSurface& reference, const PlotState& traced,
                               const std::vector<TracedPoint>& points, bool dashed)
{
    reference.SetWorld(traced.X1, traced.X2, traced.Y1, traced.Y2);
    for (std::size_t i = 1; i < points.size(); ++i) {
        if (dashed && i % 2 == 0)
            continue;
        reference.DrawLine({points[i - 1].x, points[i - 1].y, 0.0}, {points[i].x, points[i].y, 0.0},
                           reference.CurveR, reference.CurveG, reference.CurveB);
    }
}
