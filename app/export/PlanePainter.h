// SPDX-License-Identifier: GPL-3.0-or-later
// Draws a PlaneRecord with any QPainter: the picture of the plane as vector
// graphics for SVG, PDF and print.
//
// The painter's coordinates are the plane's pixels: the page runs from (0, 0)
// to the record's size, and the caller scales it as it likes. The drawing
// follows the bitmap's geometry without rounding to pixels: a position p of
// the bitmap (PlaneRecord.h) is the centre of its pixel, p + 0.5, so a stroke
// covers what the bitmap's stroke covers give or take half a pixel, and a
// text box whose corner lies at p starts at p. Axes and texts use the
// canvas's face and metrics, each character where the canvas puts it; a text
// box is filled in the brush colour as on the bitmap, so later labels hide
// what lies under them here too. Tick marks that the bitmap shows nowhere
// (off the plane, or wholly under later marks) are left out.
//
// Everything is clipped to the page.
#pragma once

#include <QSize>

#include "PlaneRecord.h"

class QPainter;

void PaintPlaneRecord(QPainter& painter, const PlaneRecord& record);

// One axis of a record, as PaintPlaneRecord draws it.
void PaintAxisRecord(QPainter& painter, const AxisRecord& axis, QSize page);
