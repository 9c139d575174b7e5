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
#include "TickPainter.h"
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

    // The canvas state that decides where marks go and what they cover.
    const TCanvas& Metrics() const { return metrics_; }

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

    // The same tick marks as the bitmap's, rounded, to learn which of them it
    // shows; those are drawn at their unrounded positions.
    const CanvasTexts texts(axis.FontHeight, axis.PenWidth);
    const std::int32_t acrossPixel = horizontal ? mapping.ScreenY(axis.At) : mapping.ScreenX(axis.At);
    std::vector<TickMark> marks;
    std::vector<double> positions;
    marks.reserve(std::size_t(axis.TickCount));
    positions.reserve(std::size_t(axis.TickCount));
    for (std::int64_t k = 0; k < axis.TickCount; ++k) {
        const auto index = std::int32_t(axis.FirstTick + k);
        const double position = StoreReal(Extended(index) * Extended(axis.Step.Step));
        const std::int32_t along = horizontal ? mapping.ScreenX(position) : mapping.ScreenY(position);
        const PixelPoint tick = horizontal ? PixelPoint{along, acrossPixel} : PixelPoint{acrossPixel, along};
        auto at = [&](PixelOffset offset) { return ShiftPixel(tick, offset); };
        marks.push_back(TickMark{at(layout.TickFrom), at(layout.TickTo), at(layout.Label), index});
        positions.push_back(position);
    }
    const std::vector<TickMarkShown> shown = ShownTickMarks(texts.Metrics(), FromQSize(page), marks);
    const QColor tickBrush = VectorColour(axis.Brush);
    for (std::size_t k = 0; k < marks.size(); ++k) {
        const QPointF tick = pointAt(positions[k]);
        if (shown[k].Line)
            Stroke(painter, Offset(tick, layout.TickFrom), Offset(tick, layout.TickTo), colour, axis.PenWidth);
        if (shown[k].Label)
            texts.Draw(painter, Offset(tick, layout.Label), QString::number(marks[k].Index), tickBrush, colour);
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
