// SPDX-License-Identifier: GPL-3.0-or-later
// The plane's record (PlaneRecord.h) as an SVG document, without the toolkit:
// what "Uložit obrázek…" saves as SVG where there is no Qt (the page). It
// draws the picture the desktop's vector replay (app/export/PlanePainter.cpp
// and VectorAxes.cpp) paints through the toolkit, in the same geometry:
//
// - the user units are the plane's pixels, the page 0, 0 to its size, every
//   item clipped to it, over the record's background;
// - a bitmap position p is the centre of its pixel, p + 0.5, for every
//   stroke: a curve is a polyline through its traced points, joined round
//   and ending flat; an axis line, its ticks and its arrowhead as the
//   bitmap places them (AxisLayout.h), at the unrounded positions of the
//   same world points;
// - a text box's corner lies at p itself, filled in its brush colour, and
//   each character stands where the canvas puts it (the sum of the glyph
//   table's advances before it), on the table's ascent, in DejaVu Sans of
//   the canvas's pixel height;
// - tick marks the bitmap shows nowhere (off the plane, or wholly under
//   later marks) are left out.
//
// It is the same picture, not the same file as the toolkit's generator
// writes.
#pragma once

#include <string>

#include "PlaneRecord.h"

// The whole document, UTF-8.
std::string PlaneSvgText(const PlaneRecord& record);
