// SPDX-License-Identifier: GPL-3.0-or-later
#include "PngWriter.h"

#include <QImageWriter>

QString WritePng(const QImage& plane, QIODevice& device)
{
    QImageWriter writer(&device, "png");
    if (plane.isNull() || !writer.write(plane))
        return QStringLiteral("Obrázek PNG se nepodařilo zapsat.");
    return QString();
}
