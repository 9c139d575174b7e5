// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlotSurface.h"

#include <algorithm>

PlotSurface::PlotSurface() : canvas_(plane_)
{
    canvas_.SetChangeListener([this](const PixelRect& rect) { NotifyPlaneChanged(rect); });
}

void PlotSurface::AddPlaneObserver(PlaneObserver* observer)
{
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void PlotSurface::RemovePlaneObserver(PlaneObserver* observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void PlotSurface::NotifyPlaneChanged(const PixelRect& rect)
{
    // By index: an observer may remove itself while it is told.
    for (std::size_t i = 0; i < observers_.size(); ++i)
        observers_[i]->PlaneChanged(rect);
}

PlotSurface::~PlotSurface() = default;

void PlotSurface::RepaintPlane() {}

void PlotSurface::SetWorld(double left, double right, double bottom, double top)
{
    // Each coefficient is stored as soon as it is known, so a fault leaves the
    // earlier ones new and the later ones as they were.
    const Extended width = plane_.Width(), height = plane_.Height();
    ScaleX = StoreReal(DivideExtended(width, Extended(right) - Extended(left)));
    ScaleY = StoreReal(DivideExtended(height, Extended(top) - Extended(bottom)));
    OffsetX = StoreReal(-Extended(left) * Extended(ScaleX));
    OffsetY = StoreReal(Extended(top) * Extended(ScaleY));
}

std::int32_t PlotSurface::ScreenX(double x) const
{
    return Mapping().ScreenX(x);
}

std::int32_t PlotSurface::ScreenY(double y) const
{
    return Mapping().ScreenY(y);
}

void PlotSurface::ResizePlane(std::int32_t width, std::int32_t height)
{
    plane_ = RgbImage(width, height);
    record_.Restart(plane_.Size(), ColorValue(255, 255, 255));
    if (!plane_.IsNull())
        NotifyPlaneChanged(plane_.Rect());
}

void PlotSurface::FillPlane(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    const std::int32_t colour = ColorValue(red, green, blue);
    canvas_.SetPenColor(colour);
    canvas_.SetBrushColor(colour);
    canvas_.Rectangle(0, 0, plane_.Width(), plane_.Height());
    record_.Restart(plane_.Size(), colour);
}

PlaneSnapshot PlotSurface::Snapshot() const
{
    return PlaneSnapshot{plane_, record_, canvas_.State()};
}

void PlotSurface::Restore(const PlaneSnapshot& snapshot)
{
    // Assigned to the plane in place: the canvas and the window hold on to it.
    plane_ = snapshot.Plane;
    record_ = snapshot.Record;
    canvas_.SetState(snapshot.Canvas);
    if (!plane_.IsNull())
        NotifyPlaneChanged(plane_.Rect());
}

void PlotSurface::DrawLine(WorldPoint from, WorldPoint to, std::uint8_t red, std::uint8_t green,
                           std::uint8_t blue)
{
    DrawSegment(from, to, ColorValue(red, green, blue));
}

void PlotSurface::DrawSegment(WorldPoint from, WorldPoint to, std::int32_t colour)
{
    canvas_.SetPenColor(colour);
    const PlaneMapping mapping = Mapping();
    const std::int32_t fromX = mapping.ScreenX(from.x);
    const std::int32_t fromY = mapping.ScreenY(from.y);
    canvas_.MoveTo(fromX, fromY);
    const std::int32_t toX = mapping.ScreenX(to.x);
    const std::int32_t toY = mapping.ScreenY(to.y);
    canvas_.LineTo(toX, toY);
    if (drawingAxis_ || !keepCurves_)
        return;
    // In the 32-bit range, so the positions are exact enough as doubles.
    const PlanePoint fromPixel{double(mapping.PixelX(from.x)), double(mapping.PixelY(from.y))};
    const PlanePoint toPixel{double(mapping.PixelX(to.x)), double(mapping.PixelY(to.y))};
    record_.AddSegment(fromPixel, toPixel, colour, std::max(canvas_.PenWidth(), 1),
                       fromX == toX && fromY == toY);
}

void PlotSurface::DrawHorizontal(double xFrom, double xTo, double y, std::uint8_t r, std::uint8_t g,
                                 std::uint8_t b)
{
    DrawLine(WorldPoint{xFrom, y, 0.0}, WorldPoint{xTo, y, 0.0}, r, g, b);
}

void PlotSurface::DrawVertical(double yFrom, double yTo, double x, std::uint8_t r, std::uint8_t g,
                               std::uint8_t b)
{
    DrawLine(WorldPoint{x, yFrom, 0.0}, WorldPoint{x, yTo, 0.0}, r, g, b);
}
