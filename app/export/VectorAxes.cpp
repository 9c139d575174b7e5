// SPDX-License-Identifier: GPL-3.0-or-later
// An axis of a PlaneRecord replayed as vector graphics: the parts that
// Axes.cpp drew, at the unrounded positions of the same world points.
#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>
#include <QString>

#include <vector>

#include "AxisLayout.h"
#include "Canvas.h"
#include "CanvasFont.h"
#include "PlanePainter.h"
#include "PlaneQt.h"
#include "PlotState.h"
#include "VectorTicks.h"
#include "VectorStyle.h"

namespace {

QPointF Offset(QPointF point, PixelOffset offset)
{
    return point + QPointF(offset.dx, offset.dy);
}

// Texts laid out as the canvas lays them: its face, its box and each
// character at the sum of the advances before it.
class CanvasTexts {
public:
    CanvasTexts(int fontHeight, int penWidth) : metrics_(none_)
    {
        metrics_.SetFontHeight(fontHeight);
        metrics_.SetPenWidth(penWidth);
        font_ = CanvasFont(fontHeight);
        ascent_ = QFontMetrics(font_).ascent();
    }

    void Draw(QPainter& painter, QPointF corner, const QString& text, QColor brush, QColor colour) const
    {
        const QRectF box(corner, QSizeF(metrics_.TextWidth(text.toStdString()), metrics_.TextHeight()));
        painter.fillRect(box, brush);
        painter.setFont(font_);
        painter.setPen(colour);
        qreal x = corner.x();
        for (const QChar c : text) {
            const QString glyph(c);
            if (c != u' ')
                painter.drawText(QPointF(x, corner.y() + ascent_), glyph);
            x += metrics_.TextWidth(glyph.toStdString());
        }
    }

private:
    RgbImage none_;  // the metrics need no pixels
    TCanvas metrics_;
    QFont font_;
    int ascent_ = 0;
};

// A straight stroke between the centres of two pixels, flat at both ends.
void Stroke(QPainter& painter, QPointF from, QPointF to, QColor colour, int width)
{
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.drawLine(PixelCentre(from), PixelCentre(to));
}

}  // namespace

void PaintAxisRecord(QPainter& painter, const AxisRecord& axis, QSize page)
{
    const AxisLayout& layout = LayoutOf(axis.Axis);
    const PlaneMapping& mapping = axis.Mapping;
    const QColor colour = VectorColour(axis.Colour);
    const bool horizontal = axis.Axis == AxisKind::X;
    const double across = double(horizontal ? mapping.PixelY(axis.At) : mapping.PixelX(axis.At));
    auto pointAt = [&](double along) {
        const double position = double(horizontal ? mapping.PixelX(along) : mapping.PixelY(along));
        return horizontal ? QPointF(position, across) : QPointF(across, position);
    };

    Stroke(painter, pointAt(axis.Min), pointAt(axis.Max), colour, axis.PenWidth);
    if (!axis.HasStep)
        return;

    const CanvasTexts texts(axis.FontHeight, axis.PenWidth);
    const QColor tickBrush = VectorColour(axis.Brush);
    for (const VectorTick& tick : VectorTicks(axis, FromQSize(page))) {
        const QPointF at = pointAt(tick.Position);
        if (tick.Line)
            Stroke(painter, Offset(at, layout.TickFrom), Offset(at, layout.TickTo), colour, axis.PenWidth);
        if (tick.Label)
            texts.Draw(painter, Offset(at, layout.Label), QString::number(tick.Index), tickBrush, colour);
    }
    if (!axis.Complete)
        return;

    const QColor endBrush = layout.EndLabelsOnWhite ? Qt::white : tickBrush;
    const QPointF end = pointAt(axis.Max);
    if (layout.BlankUnderUnit)
        texts.Draw(painter, Offset(end, layout.Unit), QString::fromLatin1(AxisBlankText), endBrush, colour);
    texts.Draw(painter, Offset(end, layout.Unit), QString::fromLatin1(AxisUnitText), endBrush, colour);
    texts.Draw(painter, Offset(end, layout.Exponent), QString::number(axis.Step.Exponent), endBrush, colour);

    // Both strokes of the arrowhead as one polyline, joined round at the tip.
    painter.setPen(QPen(colour, AxisArrowPenWidth, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    const QPolygonF arrow{PixelCentre(Offset(end, layout.ArrowBarb1)), PixelCentre(Offset(end, layout.ArrowTip)),
                          PixelCentre(Offset(end, layout.ArrowBarb2))};
    painter.drawPolyline(arrow);
}
