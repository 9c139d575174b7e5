// SPDX-License-Identifier: GPL-3.0-or-later
// The plane's picture (RgbImage) beside the toolkit's images, for the tests
// that compare, count and look at pixels with QImage.
#pragma once

#include <QImage>

#include "PlaneQt.h"
#include "RgbImage.h"

// An image already the toolkit's, as it is (for helpers that take either).
inline QImage ToQImage(const QImage& image)
{
    return image;
}

inline bool operator==(PixelPoint p, QPoint q)
{
    return p.X == q.x() && p.Y == q.y();
}
inline bool operator==(QPoint q, PixelPoint p)
{
    return p == q;
}

// The same size and pixels, whatever the image's format.
inline bool operator==(const QImage& image, const RgbImage& picture)
{
    return image.convertToFormat(QImage::Format_RGB888) == ToQImage(picture);
}
inline bool operator==(const RgbImage& picture, const QImage& image)
{
    return image == picture;
}
