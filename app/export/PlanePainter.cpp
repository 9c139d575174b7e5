// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlanePainter.h"
#include "PlaneQt.h"

#include <QPainter>
#include <QPolygonF>

#include "VectorStyle.h"

namespace {

void PaintCurve(QPainter& painter, const CurveRecord& curve)
{
    // A polyline through the traced points, joined round so it is smooth at
    // any scale, and ending flat at its end points as the bitmap's strokes do.
    painter.setPen(QPen(VectorColour(curve.Colour), curve.PenWidth, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    QPolygonF polyline;
    polyline.reserve(qsizetype(curve.Points.size()));
    for (const PlanePoint& point : curve.Points)
        polyline << PixelCentre(ToQPointF(point));
    painter.drawPolyline(polyline);
}

}  // namespace

void PaintPlaneRecord(QPainter& painter, const PlaneRecord& record)
{
    const QRectF page(QPointF(0, 0), QSizeF(ToQSize(record.Size())));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setClipRect(page);
    painter.fillRect(page, VectorColour(record.Background()));
    for (const PlaneItem& item : record.Items()) {
        if (const auto* curve = std::get_if<CurveRecord>(&item))
            PaintCurve(painter, *curve);
        else
            PaintAxisRecord(painter, std::get<AxisRecord>(item), ToQSize(record.Size()));
    }
    painter.restore();
}
