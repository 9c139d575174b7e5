// SPDX-License-Identifier: GPL-3.0-or-later
#include "PngWriter.h"

#include <QImageWriter>

#include <algorithm>
#include <cstring>

#include "PlaneQt.h"

namespace {

// Each pixel repeated `scale` times along its row, and each widened row
// `scale` times down: an exact enlargement, which a transformation's
// sampling would not promise.
QImage Enlarged(const QImage& plane, int scale)
{
    QImage large(plane.width() * scale, plane.height() * scale, plane.format());
    if (large.isNull())
        return large;
    const int bytes = plane.depth() / 8;
    const auto rowBytes = std::size_t(large.width()) * std::size_t(bytes);
    for (int y = 0; y < plane.height(); ++y) {
        const uchar* from = plane.constScanLine(y);
        uchar* row = large.scanLine(y * scale);
        for (int x = 0; x < plane.width(); ++x) {
            for (int k = 0; k < scale; ++k)
                std::memcpy(row + std::size_t(x * scale + k) * std::size_t(bytes), from + x * bytes, std::size_t(bytes));
        }
        for (int k = 1; k < scale; ++k)
            std::memcpy(large.scanLine(y * scale + k), row, rowBytes);
    }
    return large;
}

}  // namespace

QString WritePng(const RgbImage& plane, QIODevice& device, int scale)
{
    const QString failed = QStringLiteral("Obrázek PNG se nepodařilo zapsat.");
    if (plane.IsNull() || std::find(std::begin(PngScales), std::end(PngScales), scale) == std::end(PngScales))
        return failed;
    QImageWriter writer(&device, "png");
    // The plane itself at 1x, so that PNG stays what it always was.
    const QImage picture = scale == 1 ? ViewOf(plane) : Enlarged(ViewOf(plane), scale);
    if (picture.isNull() || !writer.write(picture))
        return failed;
    return QString();
}
