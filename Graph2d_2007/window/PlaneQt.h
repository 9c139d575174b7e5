// SPDX-License-Identifier: GPL-3.0-or-later
// The plane's own types as the toolkit's, for the windows and the writers
// that show or save it: the picture, its pixels' points, sizes and
// rectangles, and positions between pixels.
#pragma once

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>

#include "PixelGeometry.h"
#include "RgbImage.h"

// A copy of the picture, the toolkit's 24-bit format.
QImage ToQImage(const RgbImage& picture);
// The picture itself, not copied: for painting it at once. The picture must
// outlive the result and not change while it is used.
QImage ViewOf(const RgbImage& picture);
// The toolkit's image as a picture (converted to 24 bits).
RgbImage FromQImage(const QImage& image);

inline QPoint ToQPoint(PixelPoint p)
{
    return {p.X, p.Y};
}
inline PixelPoint FromQPoint(QPoint p)
{
    return {p.x(), p.y()};
}
inline QSize ToQSize(PixelSize s)
{
    return {s.Width, s.Height};
}
inline PixelSize FromQSize(QSize s)
{
    return {s.width(), s.height()};
}
inline QRect ToQRect(const PixelRect& r)
{
    return r.IsEmpty() ? QRect() : QRect(r.Left(), r.Top(), r.Width(), r.Height());
}
inline PixelRect FromQRect(const QRect& r)
{
    return r.isEmpty() ? PixelRect() : PixelRect(r.left(), r.top(), r.width(), r.height());
}
inline QPointF ToQPointF(PlanePoint p)
{
    return {p.X, p.Y};
}
