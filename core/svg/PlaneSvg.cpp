// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlaneSvg.h"

#include <cstdint>
#include <cstdio>
#include <string_view>
#include <variant>
#include <vector>

#include "AxisLayout.h"
#include "Canvas.h"
#include "GlyphText.h"
#include "PlotState.h"
#include "RealArith.h"
#include "RealText.h"
#include "VectorTicks.h"

namespace {

constexpr char FontFamily[] = "DejaVu Sans";

struct Point {
    double X = 0.0;
    double Y = 0.0;
};

Point Offset(Point point, PixelOffset offset)
{
    return {point.X + offset.dx, point.Y + offset.dy};
}

// The shortest text of the very double: positions are kept exact.
std::string Number(double value)
{
    return ShortestText(value + 0.0);  // never "-0"
}

std::string Colour(std::int32_t colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", unsigned(colour & 0xFF), unsigned((colour >> 8) & 0xFF),
                  unsigned((colour >> 16) & 0xFF));
    return text;
}

void AppendEscaped(std::string& out, std::string_view text)
{
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
}

// The centre of the pixel a bitmap position rounds to.
std::string Centre(Point point)
{
    return Number(point.X + 0.5) + ',' + Number(point.Y + 0.5);
}

void Stroke(std::string& out, Point from, Point to, const std::string& colour, int width)
{
    out += "<line x1=\"" + Number(from.X + 0.5) + "\" y1=\"" + Number(from.Y + 0.5) + "\" x2=\"" +
           Number(to.X + 0.5) + "\" y2=\"" + Number(to.Y + 0.5) + "\" stroke=\"" + colour + "\" stroke-width=\"" +
           std::to_string(width) + "\"/>\n";
}

// A polyline through pixel centres, joined round, ending flat.
void Polyline(std::string& out, const std::vector<Point>& points, const std::string& colour, int width)
{
    out += "<polyline fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"" + std::to_string(width) +
           "\" stroke-linejoin=\"round\" points=\"";
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (i > 0)
            out += ' ';
        out += Centre(points[i]);
    }
    out += "\"/>\n";
}

// Texts laid out as the canvas lays them: the glyph table's advances, box
// and ascent at the axis's font height.
class CanvasTexts {
public:
    CanvasTexts(int fontHeight, int penWidth) : metrics_(none_)
    {
        metrics_.SetFontHeight(fontHeight);
        metrics_.SetPenWidth(penWidth);
    }

    void Draw(std::string& out, Point corner, std::string_view text, const std::string& brush,
              const std::string& colour) const
    {
        out += "<rect x=\"" + Number(corner.X) + "\" y=\"" + Number(corner.Y) + "\" width=\"" +
               std::to_string(metrics_.TextWidth(text)) + "\" height=\"" + std::to_string(metrics_.TextHeight()) +
               "\" fill=\"" + brush + "\"/>\n";
        // Each character at the sum of the advances before it; a space only
        // moves on.
        std::string xs;
        std::string shown;
        double x = corner.X;
        for (const char c : text) {
            if (c != ' ') {
                if (!shown.empty())
                    xs += ' ';
                xs += Number(x);
                shown += GlyphFace::Shown(c);
            }
            x += metrics_.Face().Advance(c);
        }
        if (shown.empty())
            return;
        out += "<text x=\"" + xs + "\" y=\"" + Number(corner.Y + metrics_.Face().Ascent()) + "\" fill=\"" + colour +
               "\">";
        AppendEscaped(out, shown);
        out += "</text>\n";
    }

private:
    RgbImage none_;  // the metrics need no pixels
    TCanvas metrics_;
};

void WriteCurve(std::string& out, const CurveRecord& curve)
{
    std::vector<Point> points;
    points.reserve(curve.Points.size());
    for (const PlanePoint& point : curve.Points)
        points.push_back({point.X, point.Y});
    Polyline(out, points, Colour(curve.Colour), curve.PenWidth);
}

void WriteAxis(std::string& out, const AxisRecord& axis, PixelSize page)
{
    const AxisLayout& layout = LayoutOf(axis.Axis);
    const PlaneMapping& mapping = axis.Mapping;
    const std::string colour = Colour(axis.Colour);
    const bool horizontal = axis.Axis == AxisKind::X;
    const double across = double(horizontal ? mapping.PixelY(axis.At) : mapping.PixelX(axis.At));
    auto pointAt = [&](double along) {
        const double position = double(horizontal ? mapping.PixelX(along) : mapping.PixelY(along));
        return horizontal ? Point{position, across} : Point{across, position};
    };

    out += "<g font-family=\"" + std::string(FontFamily) + "\" font-size=\"" + std::to_string(axis.FontHeight) +
           "\">\n";
    Stroke(out, pointAt(axis.Min), pointAt(axis.Max), colour, axis.PenWidth);
    if (axis.HasStep) {
        const CanvasTexts texts(axis.FontHeight, axis.PenWidth);
        const std::string tickBrush = Colour(axis.Brush);
        for (const VectorTick& tick : VectorTicks(axis, page)) {
            const Point at = pointAt(tick.Position);
            if (tick.Line)
                Stroke(out, Offset(at, layout.TickFrom), Offset(at, layout.TickTo), colour, axis.PenWidth);
            if (tick.Label)
                texts.Draw(out, Offset(at, layout.Label), std::to_string(tick.Index), tickBrush, colour);
        }
        if (axis.Complete) {
            const std::string endBrush = layout.EndLabelsOnWhite ? Colour(ColorValue(255, 255, 255)) : tickBrush;
            const Point end = pointAt(axis.Max);
            if (layout.BlankUnderUnit)
                texts.Draw(out, Offset(end, layout.Unit), AxisBlankText, endBrush, colour);
            texts.Draw(out, Offset(end, layout.Unit), AxisUnitText, endBrush, colour);
            texts.Draw(out, Offset(end, layout.Exponent), std::to_string(axis.Step.Exponent), endBrush, colour);
            // Both strokes of the arrowhead as one polyline, joined round at the tip.
            Polyline(out, {Offset(end, layout.ArrowBarb1), Offset(end, layout.ArrowTip), Offset(end, layout.ArrowBarb2)},
                     colour, AxisArrowPenWidth);
        }
    }
    out += "</g>\n";
}

}  // namespace

std::string PlaneSvgText(const PlaneRecord& record)
{
    const PixelSize size = record.Size();
    const std::string width = std::to_string(size.Width);
    const std::string height = std::to_string(size.Height);
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
                      width + "\" height=\"" + height + "\" viewBox=\"0 0 " + width + ' ' + height + "\">\n";
    out += "<title>Parametrická křivka</title>\n<desc>Rovina programu paramcurve</desc>\n";
    out += "<defs><clipPath id=\"plane\"><rect width=\"" + width + "\" height=\"" + height +
           "\"/></clipPath></defs>\n";
    out += "<g clip-path=\"url(#plane)\" stroke-linecap=\"butt\">\n";
    out += "<rect width=\"" + width + "\" height=\"" + height + "\" fill=\"" + Colour(record.Background()) + "\"/>\n";
    for (const PlaneItem& item : record.Items()) {
        if (const auto* curve = std::get_if<CurveRecord>(&item))
            WriteCurve(out, *curve);
        else
            WriteAxis(out, std::get<AxisRecord>(item), size);
    }
    out += "</g>\n</svg>\n";
    return out;
}
