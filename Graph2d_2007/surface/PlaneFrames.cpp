// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlaneFrames.h"

#include <cstring>

void ApplyFrame(QImage& picture, const PlaneFrame& frame)
{
    const QRect area = frame.Changed & picture.rect();
    if (area.isEmpty() || frame.Pixels.size() != frame.Changed.size() ||
        picture.format() != QImage::Format_RGB888 || frame.Pixels.format() != QImage::Format_RGB888)
        return;
    const int dx = area.left() - frame.Changed.left(), dy = area.top() - frame.Changed.top();
    for (int y = 0; y < area.height(); ++y) {
        std::memcpy(picture.scanLine(area.top() + y) + 3 * area.left(),
                    frame.Pixels.constScanLine(dy + y) + 3 * dx, std::size_t(area.width()) * 3);
    }
}

PlaneChanges::PlaneChanges(PlotSurface& surface) : surface_(surface)
{
    surface_.AddPlaneObserver(this);
}

PlaneChanges::~PlaneChanges()
{
    surface_.RemovePlaneObserver(this);
}

QImage PlaneChanges::Picture() const
{
    return surface_.Plane().convertToFormat(QImage::Format_RGB888);
}

PlaneFrame PlaneChanges::Take(QRect bounds)
{
    PlaneFrame frame;
    // A plane resized meanwhile counts only as far as the two overlap.
    frame.Changed = pending_ & bounds & surface_.Plane().rect();
    if (!frame.Changed.isEmpty())
        frame.Pixels = surface_.Plane().copy(frame.Changed).convertToFormat(QImage::Format_RGB888);
    pending_ = QRect();
    return frame;
}

void PlaneChanges::PlaneChanged(const QRect& rect)
{
    pending_ |= rect;
}
