// SPDX-License-Identifier: GPL-3.0-or-later
#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "PlanePainter.h"
#include "PlaneQt.h"
#include "VectorWriters.h"
#include "WriteAll.h"

QString WritePdf(const PlaneRecord& record, QIODevice& device)
{
    const QString notWritten = QStringLiteral("Dokument PDF se nepodařilo zapsat.");
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral("paramcurve"));
    writer.setTitle(QStringLiteral("Parametrická křivka"));
    writer.setResolution(VectorDotsPerInch);
    // One page exactly the plane's size, no margins.
    const QSizeF points = QSizeF(ToQSize(record.Size())) * 72.0 / VectorDotsPerInch;
    const QPageSize page(points, QPageSize::Point, QString(), QPageSize::ExactMatch);
    if (!writer.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF())))
        return notWritten;
    QPainter painter;
    if (!painter.begin(&writer))
        return notWritten;
    PaintPlaneRecord(painter, record);
    if (!painter.end())
        return notWritten;
    return WriteAll(device, buffer.data()) ? QString() : notWritten;
}
