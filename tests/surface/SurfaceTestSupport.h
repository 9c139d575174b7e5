// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the plot-surface tests: a white 500 x 500 plane, pixel
// reads, the fault a call raises and texts rendered for comparison.
#pragma once

#include <QtTest>

#include <cstring>
#include <optional>
#include <set>
#include <utility>

#include "PlaneImages.h"
#include "FaultTesting.h"
#include "Canvas.h"
#include "PlotSurface.h"

Q_DECLARE_METATYPE(std::optional<FloatFaultKind>)

using Pixel = std::pair<int, int>;  // (column, row)
using PixelSet = std::set<Pixel>;

inline constexpr std::int32_t Red = ColorValue(255, 0, 0);
inline constexpr std::int32_t White = ColorValue(255, 255, 255);
inline constexpr std::int32_t Grey = ColorValue(128, 128, 128);
inline constexpr std::int32_t Green = ColorValue(0, 255, 0);

inline std::int32_t PixelAt(const QImage& image, int x, int y)
{
    const uchar* p = image.constScanLine(y) + 3 * x;
    return ColorValue(p[0], p[1], p[2]);
}

// Every pixel of the given colour.
inline PixelSet PixelsOf(const QImage& image, std::int32_t colour)
{
    PixelSet found;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (PixelAt(image, x, y) == colour)
                found.insert({x, y});
        }
    }
    return found;
}

inline int CountOf(const QImage& image, std::int32_t colour)
{
    return int(PixelsOf(image, colour).size());
}

// Pixels of `colour` within one row or column.
inline QList<int> ColumnsInRow(const QImage& image, int row, std::int32_t colour)
{
    QList<int> columns;
    for (int x = 0; x < image.width(); ++x) {
        if (PixelAt(image, x, row) == colour)
            columns << x;
    }
    return columns;
}

inline QList<int> RowsInColumn(const QImage& image, int column, std::int32_t colour)
{
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        if (PixelAt(image, column, y) == colour)
            rows << y;
    }
    return rows;
}

// The same for the plane's own picture.
inline std::int32_t PixelAt(const RgbImage& image, int x, int y)
{
    return image.Pixel(x, y);
}
inline PixelSet PixelsOf(const RgbImage& image, std::int32_t colour)
{
    return PixelsOf(ToQImage(image), colour);
}
inline int CountOf(const RgbImage& image, std::int32_t colour)
{
    return CountOf(ToQImage(image), colour);
}
inline QList<int> ColumnsInRow(const RgbImage& image, int row, std::int32_t colour)
{
    return ColumnsInRow(ToQImage(image), row, colour);
}
inline QList<int> RowsInColumn(const RgbImage& image, int column, std::int32_t colour)
{
    return RowsInColumn(ToQImage(image), column, colour);
}

// A 500 x 500 plane, white, with the world -4 .. 4 on both axes.
struct WhitePlane {
    PlotSurface surface;
    explicit WhitePlane(double lo = -4, double hi = 4)
    {
        surface.ResizePlane(500, 500);
        surface.FillPlane(255, 255, 255);
        surface.SetWorld(lo, hi, lo, hi);
    }
    // The plane as it stands, a copy.
    QImage Plane() const { return ToQImage(surface.Plane()); }
};

// The pixels TextOut gives `text` on a box of `brush` in `font` colour, as a
// small image of exactly the box.
inline QImage RenderedText(const QString& text, std::int32_t brush, std::int32_t font, int height = 10)
{
    const std::string bytes = text.toStdString();
    RgbImage probe(1, 1);
    TCanvas measure(probe);
    measure.SetFontHeight(height);
    RgbImage box(measure.TextWidth(bytes), measure.TextHeight());
    box.Fill(0);
    TCanvas canvas(box);
    canvas.SetFontHeight(height);
    canvas.SetBrushColor(brush);
    canvas.SetFontColor(font);
    canvas.TextOut(0, 0, bytes);
    return ToQImage(box);
}

// True when the plane shows exactly `text`'s box at (x, y); parts off the
// plane, or outside `within` when given, are not compared.
inline bool ShowsText(const QImage& plane, int x, int y, const QString& text, std::int32_t brush,
                      std::int32_t font, QRect within = QRect())
{
    const QImage box = RenderedText(text, brush, font);
    if (within.isNull())
        within = plane.rect();
    within = within.intersected(plane.rect());
    for (int by = 0; by < box.height(); ++by) {
        for (int bx = 0; bx < box.width(); ++bx) {
            const int px = x + bx, py = y + by;
            if (!within.contains(px, py))
                continue;
            if (PixelAt(plane, px, py) != PixelAt(box, bx, by))
                return false;
        }
    }
    return true;
}
