// SPDX-License-Identifier: GPL-3.0-or-later
// Vector output checked against the bitmap: SVG rendered with QtSvg, PDF
// with poppler's pdftoppm, and the curve and ticks of a rendering compared
// with the plane's pixels.
#pragma once

#include <QImage>
#include <QList>
#include <QPainter>
#include <QRect>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QSvgRenderer>
#include <QTest>

#include <cmath>
#include <utility>

#include "trace/PlaneCheck.h"

// How much of a rendered pixel the curve's blue (0, 0, 200) or the axes'
// red covers, over white or over each other: green is 0 in both and 255 in
// white. 0 for none, 200 for full curve colour, 255 for full red.
inline int Blueness(QRgb p)
{
    return qBlue(p) - qGreen(p);
}
inline int Redness(QRgb p)
{
    return qRed(p) - qGreen(p);
}

// The smallest rectangle holding every clearly blue pixel: where a rendered
// curve in the default colour lies.
inline QRect BlueBounds(const QImage& image)
{
    QRect blue;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (Blueness(image.pixel(x, y)) >= 50)
                blue |= QRect(x, y, 1, 1);
        }
    }
    return blue;
}

inline QImage RenderSvg(const QByteArray& svg)
{
    QSvgRenderer renderer(svg);
    QImage image(500, 500, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(0, 0, 500, 500));
    return image;
}

inline bool Near(const QImage& image, int x, int y, int reach, auto&& accept)
{
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            const int nx = x + dx, ny = y + dy;
            if (nx >= 0 && ny >= 0 && nx < image.width() && ny < image.height() && accept(image.pixel(nx, ny)))
                return true;
        }
    }
    return false;
}

struct CurveMatch {
    int Rendered = 0;        // curve pixels of the rendering
    int RenderedStray = 0;   // of those, farther than a pixel from the bitmap's curve
    int Bitmap = 0;          // curve pixels of the bitmap
    int BitmapMissed = 0;    // of those, farther than a pixel from the rendering's
};

inline CurveMatch MatchCurve(const QImage& bitmap, const QImage& rendered)
{
    const QRgb curve = CurveColour;
    auto isBitmapCurve = [&](QRgb p) { return (p & 0xFFFFFF) == (curve & 0xFFFFFF); };
    auto isRenderedCurve = [](QRgb p) { return Blueness(p) >= 50; };
    CurveMatch match;
    for (int y = 0; y < 500; ++y) {
        for (int x = 0; x < 500; ++x) {
            if (isRenderedCurve(rendered.pixel(x, y))) {
                ++match.Rendered;
                match.RenderedStray += !Near(bitmap, x, y, 1, isBitmapCurve);
            }
            if (isBitmapCurve(bitmap.pixel(x, y))) {
                ++match.Bitmap;
                match.BitmapMissed += !Near(rendered, x, y, 1, isRenderedCurve);
            }
        }
    }
    return match;
}

// Centres of the red runs along one row or column of a rendering, each
// weighted by how red its pixels are.
inline QList<double> RedRunCentres(const QImage& image, int line, bool alongRow, int from, int to)
{
    QList<double> centres;
    double weight = 0, moment = 0;
    for (int i = from; i <= to + 1; ++i) {
        const int red = i <= to ? Redness(alongRow ? image.pixel(i, line) : image.pixel(line, i)) : 0;
        if (red >= 40) {
            weight += red;
            moment += red * double(i);
        } else if (weight > 0) {
            centres << moment / weight;
            weight = moment = 0;
        }
    }
    return centres;
}

inline QList<int> RedInLine(const QImage& image, int line, bool alongRow, int from, int to)
{
    QList<int> found;
    for (int i = from; i <= to; ++i) {
        if ((alongRow ? image.pixel(i, line) : image.pixel(line, i)) == qRgb(255, 0, 0))
            found << i;
    }
    return found;
}

// Every bitmap position has one rendered centre within half a pixel.
inline void CompareTicks(const QList<int>& bitmap, const QList<double>& rendered)
{
    QCOMPARE(rendered.size(), bitmap.size());
    for (qsizetype i = 0; i < bitmap.size(); ++i)
        QVERIFY2(std::abs(rendered[i] - bitmap[i]) <= 0.55,
                 qPrintable(QStringLiteral("bitmap %1, rendered %2").arg(bitmap[i]).arg(rendered[i])));
}

inline QString Tool(const char* name)
{
    return QStandardPaths::findExecutable(QString::fromLatin1(name));
}

inline QString RunTool(const char* name, const QStringList& arguments)
{
    QProcess process;
    process.start(Tool(name), arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// pdfinfo's "Pages:" and "Page size:" lines.
inline std::pair<int, QString> PdfPages(const QString& path)
{
    const QString info = RunTool("pdfinfo", {path});
    int pages = -1;
    QString size;
    for (const QString& line : info.split(u'\n')) {
        if (line.startsWith(QStringLiteral("Pages:")))
            pages = line.mid(6).trimmed().toInt();
        if (line.startsWith(QStringLiteral("Page size:")))
            size = line.mid(10).trimmed();
    }
    return {pages, size};
}

inline QImage RenderPdf(const QString& path, int dpi, const QString& dir)
{
    const QString base = dir + QStringLiteral("/page");
    RunTool("pdftoppm", {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
                         QStringLiteral("-singlefile"), path, base});
    return QImage(base + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}
