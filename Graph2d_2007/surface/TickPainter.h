// SPDX-License-Identifier: GPL-3.0-or-later
// Paints the ticks of one axis: for each tick a short line, then its number
// as a canvas text, in the canvas's current pen, brush and font.
//
// The result is pixel for pixel that of drawing the marks one after another
// with LineTo and TextOut, but the marks are laid back to front and each one
// only fills pixels that no later mark covers. Both kinds of mark are opaque
// (a text box hides what lies under it), so a number buried under later ones
// is never rendered: an axis of a million ticks on 500 pixels costs about as
// much as one of a thousand.
#pragma once

#include <cstdint>
#include <vector>

#include "Canvas.h"

struct TickMark {
    PixelPoint LineFrom;
    PixelPoint LineTo;
    PixelPoint LabelAt;  // top-left of the number's box
    std::int32_t Index = 0;
};

// Leaves the canvas as the plain drawing would: the pen at the end of the
// last line.
void PaintTickMarks(TCanvas& canvas, RgbImage& plane, const std::vector<TickMark>& marks);

// Which parts of each mark PaintTickMarks would leave visible on a plane of
// the given size, with the canvas's pen width and font: the rest lies off the
// plane or under later marks. Nothing is painted.
struct TickMarkShown {
    bool Line = false;
    bool Label = false;
};
std::vector<TickMarkShown> ShownTickMarks(const TCanvas& canvas, PixelSize plane, const std::vector<TickMark>& marks);
