// SPDX-License-Identifier: GPL-3.0-or-later
// A PNG enlarged for a worksheet checked against the plane: every pixel of
// the plane a block of k x k pixels of its colour, nothing smoothed.
#pragma once

#include <QImage>
#include <QString>

// Empty when `large` is `plane` with each pixel repeated `scale` x `scale`
// times; else the first pixel that is not.
inline QString NotEnlarged(const QImage& plane, const QImage& large, int scale)
{
    if (large.size() != plane.size() * scale)
        return QStringLiteral("size %1 x %2").arg(large.width()).arg(large.height());
    for (int y = 0; y < large.height(); ++y) {
        for (int x = 0; x < large.width(); ++x) {
            if ((large.pixel(x, y) & 0xFFFFFF) != (plane.pixel(x / scale, y / scale) & 0xFFFFFF))
                return QStringLiteral("pixel %1, %2").arg(x).arg(y);
        }
    }
    return QString();
}
