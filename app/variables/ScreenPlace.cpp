// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScreenPlace.h"

#include <algorithm>

ScreenPlace FitWithin(const QRect& frame, const QRect& available)
{
    // Right and bottom edges first, so that a window larger than the area
    // keeps its top-left corner (title bar and first row) on it.
    const int x = std::max(available.left(), std::min(frame.left(), available.right() + 1 - frame.width()));
    const int y = std::max(available.top(), std::min(frame.top(), available.bottom() + 1 - frame.height()));
    return {QPoint(x, y), std::max(0, frame.height() - available.height())};
}

ScreenPlace PlaceBeside(const QRect& anchor, const QSize& frame, const QRect& available, int gap)
{
    const QPoint right(anchor.right() + 1 + gap, anchor.top());
    const QPoint below(anchor.left(), anchor.bottom() + 1 + gap);
    for (const QPoint place : {right, below}) {
        if (available.contains(QRect(place, frame)))
            return {place, 0};
    }
    // Over it: at the area's right or left edge, whichever hides less of
    // the anchor (the right on a tie).
    const ScreenPlace atRight = FitWithin(QRect(right, frame), available);
    const ScreenPlace atLeft = FitWithin(QRect(QPoint(available.left(), anchor.top()), frame), available);
    const auto hidden = [&](const ScreenPlace& place) {
        const QRect covered = QRect(place.TopLeft, frame).intersected(anchor);
        return qint64(covered.width()) * covered.height();
    };
    return hidden(atLeft) < hidden(atRight) ? atLeft : atRight;
}
