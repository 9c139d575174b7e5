// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlaneQt.h"

#include <cstring>

QImage ViewOf(const RgbImage& picture)
{
    if (picture.IsNull())
        return QImage();
    return QImage(picture.Bits(), picture.Width(), picture.Height(), qsizetype(picture.BytesPerLine()),
                  QImage::Format_RGB888);
}

QImage ToQImage(const RgbImage& picture)
{
    return ViewOf(picture).copy();
}

RgbImage FromQImage(const QImage& image)
{
    const QImage source = image.convertToFormat(QImage::Format_RGB888);
    RgbImage picture(source.width(), source.height());
    for (int y = 0; y < picture.Height(); ++y)
        std::memcpy(picture.Line(y), source.constScanLine(y), std::size_t(picture.Width()) * 3);
    return picture;
}
