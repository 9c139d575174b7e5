// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlaneFrames.h"

void ApplyFrame(RgbImage& picture, const PlaneFrame& frame)
{
    if (frame.Changed.IsEmpty() || frame.Pixels.Size() != frame.Changed.Size())
        return;
    picture.Paste(frame.Pixels, frame.Changed.TopLeft());
}

PlaneChanges::PlaneChanges(PlotSurface& surface) : surface_(surface)
{
    surface_.AddPlaneObserver(this);
}

PlaneChanges::~PlaneChanges()
{
    surface_.RemovePlaneObserver(this);
}

const RgbImage& PlaneChanges::Picture() const
{
    return surface_.Plane();
}

PlaneFrame PlaneChanges::Take(PixelRect bounds)
{
    PlaneFrame frame;
    // A plane resized meanwhile counts only as far as the two overlap.
    frame.Changed = pending_.Intersected(bounds).Intersected(surface_.Plane().Rect());
    if (!frame.Changed.IsEmpty())
        frame.Pixels = surface_.Plane().Copy(frame.Changed);
    pending_ = PixelRect();
    return frame;
}

void PlaneChanges::PlaneChanged(const PixelRect& rect)
{
    pending_ = pending_.United(rect);
}
