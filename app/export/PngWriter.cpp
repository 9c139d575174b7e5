// SPDX-License-Identifier: GPL-3.0-or-later
#include "PngWriter.h"

#include <QImageWriter>

#include "PlaneQt.h"

QString WritePng(const RgbImage& plane, QIODevice& device)
{
    QImageWriter writer(&device, "png");
    if (plane.IsNull() || !writer.write(ViewOf(plane)))
        return QStringLiteral("Obrázek PNG se nepodařilo zapsat.");
    return QString();
}
