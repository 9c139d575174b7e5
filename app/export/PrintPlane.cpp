// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrintPlane.h"
#include "PlaneQt.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>

#include "PlanePainter.h"

QString PrintPlane(const PlaneRecord& record, QPrinter& printer)
{
    const QString failed = QStringLiteral("Rovinu se nepodařilo vytisknout.");
    if (record.Size().IsEmpty())
        return failed;
    QPainter painter;
    if (!painter.begin(&printer))
        return failed;
    // The painter's origin is the corner of the printable area.
    const QSizeF area(printer.width(), printer.height());
    const QSizeF plane(ToQSize(record.Size()));
    const qreal scale = std::min(area.width() / plane.width(), area.height() / plane.height());
    painter.translate((area.width() - plane.width() * scale) / 2, (area.height() - plane.height() * scale) / 2);
    painter.scale(scale, scale);
    PaintPlaneRecord(painter, record);
    return painter.end() ? QString() : failed;
}
