// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrintPlane.h"
#include "PlaneQt.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTextLayout>

#include <algorithm>
#include <vector>

#include "PlanePainter.h"

namespace {

// A plain sans serif that has the Czech letters; the printer's own metrics.
QFont CaptionFont()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(10);
    return font;
}

// The captions from `top` down in the printable area's width, a caption's
// later lines indented under its text, past its number. A line that does not
// fit above the bottom goes onto a new page; a formula too long for a line
// is broken anywhere rather than cut. False when a new page fails.
bool PrintCaptionLines(QPainter& painter, QPrinter& printer, const QStringList& captions, qreal top)
{
    const QFont font = CaptionFont();
    const QFontMetricsF metrics(font, &printer);
    const qreal width = printer.width();
    const qreal bottom = printer.height();
    QTextOption wrapping;
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    painter.setPen(Qt::black);
    qreal y = top + metrics.lineSpacing();  // a blank line under the plane
    for (const QString& caption : captions) {
        const qreal indent = std::min(metrics.horizontalAdvance(caption.left(caption.indexOf(u' ') + 1)), width / 4);
        QTextLayout layout(caption, font, &printer);
        layout.setTextOption(wrapping);
        std::vector<QTextLine> lines;
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            const qreal x = lines.empty() ? 0 : indent;
            line.setLineWidth(width - x);
            line.setPosition(QPointF(x, 0));
            lines.push_back(line);
        }
        layout.endLayout();
        for (const QTextLine& line : lines) {
            if (y + line.height() > bottom && y > 0) {
                if (!printer.newPage())
                    return false;
                y = 0;
            }
            line.draw(&painter, QPointF(0, y));
            y += line.height();
        }
        y += metrics.lineSpacing() / 3;  // a little room between captions
    }
    return true;
}

}  // namespace

QString PrintPlane(const PlaneRecord& record, QPrinter& printer, const QStringList& captions)
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
    const QSizeF shown = plane * scale;
    painter.save();
    painter.translate((area.width() - shown.width()) / 2, 0);
    painter.scale(scale, scale);
    PaintPlaneRecord(painter, record);
    painter.restore();
    const bool captioned = PrintCaptionLines(painter, printer, captions, shown.height());
    return painter.end() && captioned ? QString() : failed;
}
