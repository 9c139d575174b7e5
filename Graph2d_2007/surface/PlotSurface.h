// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing plane with its world-to-pixel mapping and the drawing
// operations everything else is built on: fill, world segments, the two axes.
// No toolkit: the renderer, the page and tests draw on it as the plot window
// (TDraw2D) does, which shows it on screen.
//
// All mapping arithmetic is done in Extended and stored as double; faults are
// FloatFault (division by zero for equal bounds, overflow, invalid operation
// for pixel positions beyond the 32-bit range).
#pragma once

#include <cstdint>
#include <vector>

#include "Canvas.h"
#include "PlaneMapping.h"
#include "PlaneRecord.h"
#include "PlotState.h"
#include "RealArith.h"
#include "RgbImage.h"

// Told of every rectangle of the plane that a drawing operation may have
// changed (FillPlane, lines, axes, text, and a new plane from ResizePlane),
// right after the change.
class PlaneObserver {
public:
    virtual ~PlaneObserver() = default;
    virtual void PlaneChanged(const PixelRect& rect) = 0;
};

// The plane as it stands, to come back to: its pixels, its record and the
// canvas it is drawn with.
struct PlaneSnapshot {
    RgbImage Plane;
    PlaneRecord Record;
    CanvasState Canvas;
};

class PlotSurface : public PlotState {
public:
    PlotSurface();
    virtual ~PlotSurface();
    PlotSurface(const PlotSurface&) = delete;
    PlotSurface& operator=(const PlotSurface&) = delete;

    RgbImage& Plane() { return plane_; }
    const RgbImage& Plane() const { return plane_; }
    TCanvas& Canvas() { return canvas_; }

    // What the operations below drew since the plane was last filled or
    // resized (PlaneRecord.h); drawing straight on the canvas is not in it.
    const PlaneRecord& Record() const { return record_; }
    // Off: curves are drawn without being kept in the record, for a caller
    // that writes no vector picture (a family of thousands of curves would
    // keep every point of each). On at start.
    void KeepCurveRecord(bool keep) { keepCurves_ = keep; }

    void SetWorld(double left, double right, double bottom, double top);
    std::int32_t ScreenX(double x) const;
    std::int32_t ScreenY(double y) const;
    PlaneMapping Mapping() const { return PlaneMapping{ScaleX, ScaleY, OffsetX, OffsetY}; }

    // The bitmap part of sizing the plane: a fresh width x height picture,
    // white until the first FillPlane. Sizes below 0 count as 0.
    void ResizePlane(std::int32_t width, std::int32_t height);
    void FillPlane(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

    PlaneSnapshot Snapshot() const;
    // Puts a snapshot's plane, record and canvas back, as a change of the
    // whole plane. A snapshot of another size makes the plane that size.
    void Restore(const PlaneSnapshot& snapshot);

    void DrawLine(WorldPoint from, WorldPoint to, std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    void DrawHorizontal(double xFrom, double xTo, double y, std::uint8_t r, std::uint8_t g, std::uint8_t b);
    void DrawVertical(double yFrom, double yTo, double x, std::uint8_t r, std::uint8_t g, std::uint8_t b);

    // Axes with decimal ticks (Axes.cpp); see AxisScale.h for the tick rules.
    void DrawAxisX(double min, double max, double at, std::uint8_t r, std::uint8_t g, std::uint8_t b);
    void DrawAxisY(double min, double max, double at, std::uint8_t r, std::uint8_t g, std::uint8_t b);

    virtual void RepaintPlane();  // no-op here; the window shows the plane on screen

    // Observers are not owned; remove one before it is destroyed.
    void AddPlaneObserver(PlaneObserver* observer);
    void RemovePlaneObserver(PlaneObserver* observer);

private:
    void NotifyPlaneChanged(const PixelRect& rect);
    void DrawSegment(WorldPoint from, WorldPoint to, std::int32_t colour);
    void DrawAxis(AxisKind kind, double min, double max, double at, std::uint8_t r, std::uint8_t g,
                  std::uint8_t b);
    void DrawAxisParts(AxisRecord& axis);  // all but the line, noting progress in `axis`

    RgbImage plane_;
    TCanvas canvas_;
    PlaneRecord record_;
    bool drawingAxis_ = false;  // an axis's own strokes are part of its record
    bool keepCurves_ = true;
    std::vector<PlaneObserver*> observers_;
};
