// SPDX-License-Identifier: GPL-3.0-or-later
// Which ticks of an axis are worth painting. An axis over -1e35 .. 1e35
// has 200,000 ticks on 500 pixels, most of them buried under the marks
// painted after them; working each one out costs more than the painting.
//
// Tick positions grow with the index (or fall, for a reversed window), so
// the ticks standing at one pixel form a run of indices, found by search
// rather than one by one. Within a run every mark lies on the same pixels
// and each number's box starts at the same corner: a mark is buried under
// a later one of the run whose number is at least as wide. Where the ten
// digits have one width, as in the faces used here, a number's width
// follows from its count of characters, so only the last tick of each
// count in a run can show; a run that cannot reach the plane shows none.
// The first and the last tick are kept whatever they show, since they give
// the area the marks may change and the pen's last position.
//
// The marks chosen, painted by PaintTickMarks, give exactly the pixels of
// all marks painted. Where the digits differ in width every tick is kept.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "AxisScale.h"
#include "RealArith.h"
#include "TickPainter.h"

// Tick `index`'s mark; throws FloatFault where its position does.
using TickMarkOf = std::function<TickMark(std::int32_t index)>;

struct TickSelection {
    std::vector<TickMark> Marks;  // by index
    // The ticks from the first on that could be placed: all, or those
    // before the first one whose position faulted.
    std::int64_t Placed = 0;
    std::optional<FloatFaultKind> Fault;  // that fault, to be raised once the placed ones are painted
};

TickSelection SelectTickMarks(const TCanvas& canvas, PixelSize plane, TickRange ticks, const TickMarkOf& markOf);

// Off: every tick is kept, the plain drawing the selection must match
// (for tests). On by default.
void SetTickSelection(bool on);
