// SPDX-License-Identifier: GPL-3.0-or-later
#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

#include "PlanePainter.h"
#include "PlaneQt.h"
#include "VectorWriters.h"
#include "WriteAll.h"

QString WriteSvg(const PlaneRecord& record, QIODevice& device)
{
    const QString notWritten = QStringLiteral("Obrázek SVG se nepodařilo zapsat.");
    // The generator cannot report a failed write; the finished document is
    // written in one piece where the result can be checked.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(ToQSize(record.Size()));
    generator.setViewBox(QRect(QPoint(0, 0), ToQSize(record.Size())));
    generator.setResolution(VectorDotsPerInch);
    generator.setTitle(QStringLiteral("Parametrická křivka"));
    generator.setDescription(QStringLiteral("Rovina programu paramcurve"));
    QPainter painter;
    if (!painter.begin(&generator))
        return notWritten;
    PaintPlaneRecord(painter, record);
    if (!painter.end())
        return notWritten;
    return WriteAll(device, buffer.data()) ? QString() : notWritten;
}
