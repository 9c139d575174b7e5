// SPDX-License-Identifier: GPL-3.0-or-later
// Where the readout's boxes stand on the plane: plain geometry, apart from
// the widgets, so each placement can be worked out and checked alone.
//
// A box stands wholly inside the part of the plane on screen and keeps clear
// of what it is about (the pen's ring, the point under the mouse, the other
// label). A pen whose point lies off the plane gets its box at the edge
// nearest to the point, with an arrow from the box toward it.
#pragma once

#include <QList>
#include <QPoint>
#include <QPointF>
#include <QPolygon>
#include <QRect>
#include <QSize>

// Inside `bounds` as far as it fits, its top-left corner first.
QRect KeptInside(QRect box, const QRect& bounds);

// A box of `size`, inside `bounds`, meeting none of `keepClear`: the first
// of `wishes` (top-left corners, each kept inside) that does, else the
// nearest such place to the first wish; the first wish kept inside when no
// place does.
QRect PlaceBox(QSize size, const QList<QPoint>& wishes, const QRect& bounds, const QList<QRect>& keepClear);

// A box with an arrow toward a point off the plane. The arrow is a triangle,
// its tip first, its base inside the box.
struct Callout {
    QRect Box;
    QPolygon Arrow;
};

// The box of `size` at the edge of `bounds` nearest to `target` (a point
// outside them), `arrowLength` in from it, with an arrow of that length from
// the box toward `target`. Where box or arrow would meet one of `keepClear`,
// the box goes to the nearest place where neither does, its arrow still
// toward `target`.
Callout EdgeCallout(QSize size, QPointF target, const QRect& bounds, int arrowLength,
                    const QList<QRect>& keepClear);
