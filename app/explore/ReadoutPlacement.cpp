// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReadoutPlacement.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

bool MeetsNone(const QRect& box, const QList<QRect>& keepClear)
{
    return std::none_of(keepClear.begin(), keepClear.end(),
                        [&](const QRect& area) { return !area.isEmpty() && box.intersects(area); });
}

long long SquaredDistance(QPoint a, QPoint b)
{
    const long long dx = a.x() - b.x(), dy = a.y() - b.y();
    return dx * dx + dy * dy;
}

// Which sides of a box face a way: one side within 22.5 degrees of its
// normal, else the corner between two.
int Facing(double component)
{
    constexpr double Sin22 = 0.3827;
    return component > Sin22 ? 1 : component < -Sin22 ? -1 : 0;
}

QPointF Unit(QPointF way)
{
    const double length = std::hypot(way.x(), way.y());
    return length > 0 && std::isfinite(length) ? way / length : QPointF(0, -1);
}

// The arrow from `box` toward `target`: from the side the line from the
// box's middle to the target leaves it by, at the point of that side nearest
// to `edge`, `length` long; its tip stays inside `bounds`.
QPolygon ArrowFrom(const QRect& box, QPointF target, QPointF edge, int length, const QRect& bounds)
{
    const QPointF facing = target - QRectF(box).center();
    const bool across = std::fabs(facing.x()) * box.height() >= std::fabs(facing.y()) * box.width();
    const int sx = across ? (facing.x() > 0 ? 1 : -1) : 0, sy = across ? 0 : (facing.y() > 0 ? 1 : -1);
    const double half = std::max(1.0, std::min({length / 2.0, box.width() / 2.0 - 1, box.height() / 2.0 - 1}));
    const auto along = [half](double at, int from, int to) {
        return from + half <= to - half ? std::clamp(at, from + half, to - half) : (from + to) / 2.0;
    };
    const QPointF base(sx > 0 ? box.right() : sx < 0 ? box.left() : along(edge.x(), box.left(), box.right()),
                       sy > 0 ? box.bottom() : sy < 0 ? box.top() : along(edge.y(), box.top(), box.bottom()));
    const QPointF way = Unit(target - base);
    QPointF tip = base + way * length;
    tip.setX(std::clamp(tip.x(), double(bounds.left()), double(bounds.right())));
    tip.setY(std::clamp(tip.y(), double(bounds.top()), double(bounds.bottom())));
    // The base inside the box, so box and arrow read as one shape.
    const QPointF inner = base - way * half;
    const QPointF wide(-way.y() * half, way.x() * half);
    const auto inside = [&box](QPointF point) {
        return QPoint(std::clamp(qRound(point.x()), box.left(), box.right()),
                      std::clamp(qRound(point.y()), box.top(), box.bottom()));
    };
    return QPolygon({tip.toPoint(), inside(inner + wide), inside(inner - wide)});
}

// Clear of every area, and the arrow out of the box by half its length at
// least: a box against the edge by the target has no room for one.
bool Works(const Callout& callout, int length, const QList<QRect>& keepClear)
{
    const QRect& box = callout.Box;
    const QPoint tip = callout.Arrow.front();
    const int dx = std::max({box.left() - tip.x(), 0, tip.x() - box.right()});
    const int dy = std::max({box.top() - tip.y(), 0, tip.y() - box.bottom()});
    return 2 * std::hypot(dx, dy) >= length && MeetsNone(box, keepClear) &&
           MeetsNone(callout.Arrow.boundingRect(), keepClear);
}

}  // namespace

QRect KeptInside(QRect box, const QRect& bounds)
{
    box.moveLeft(std::max(bounds.left(), std::min(box.left(), bounds.right() + 1 - box.width())));
    box.moveTop(std::max(bounds.top(), std::min(box.top(), bounds.bottom() + 1 - box.height())));
    return box;
}

QRect PlaceBox(QSize size, const QList<QPoint>& wishes, const QRect& bounds, const QList<QRect>& keepClear)
{
    const QRect first = KeptInside(QRect(wishes.isEmpty() ? bounds.topLeft() : wishes.front(), size), bounds);
    for (const QPoint& wish : wishes) {
        const QRect box = KeptInside(QRect(wish, size), bounds);
        if (MeetsNone(box, keepClear))
            return box;
    }
    // Some place that is clear has each side against an edge of the bounds
    // or of an area to keep clear, or where the first wish put it: of those
    // the one nearest to the first wish.
    QList<int> lefts{first.left(), bounds.left(), bounds.right() + 1 - size.width()};
    QList<int> tops{first.top(), bounds.top(), bounds.bottom() + 1 - size.height()};
    for (const QRect& area : keepClear) {
        lefts << area.left() - size.width() << area.right() + 1;
        tops << area.top() - size.height() << area.bottom() + 1;
    }
    std::optional<QRect> best;
    for (int left : lefts) {
        for (int top : tops) {
            const QRect box(QPoint(left, top), size);
            if (!bounds.contains(box) || !MeetsNone(box, keepClear))
                continue;
            if (!best || SquaredDistance(box.topLeft(), first.topLeft()) <
                             SquaredDistance(best->topLeft(), first.topLeft()))
                best = box;
        }
    }
    return best.value_or(first);
}

Callout EdgeCallout(QSize size, QPointF target, const QRect& bounds, int arrowLength,
                    const QList<QRect>& keepClear)
{
    // The nearest point of the plane, and the way out from it to the target.
    const QPointF edge(std::clamp(target.x(), double(bounds.left()), double(bounds.right())),
                       std::clamp(target.y(), double(bounds.top()), double(bounds.bottom())));
    const QPointF way = Unit(target - edge);
    const int sx = Facing(way.x()), sy = Facing(way.y());

    // The box's facing side (or corner) an arrow's length in from the edge.
    const QPointF anchor = edge - way * arrowLength;
    const int w = size.width(), h = size.height();
    const QPoint topLeft(sx > 0   ? qRound(anchor.x()) - w + 1
                         : sx < 0 ? qRound(anchor.x())
                                  : qRound(anchor.x() - w / 2.0),
                         sy > 0   ? qRound(anchor.y()) - h + 1
                         : sy < 0 ? qRound(anchor.y())
                                  : qRound(anchor.y() - h / 2.0));
    const auto calloutAt = [&](QPoint corner) {
        const QRect box = KeptInside(QRect(corner, size), bounds);
        return Callout{box, ArrowFrom(box, target, edge, arrowLength, bounds)};
    };
    const Callout first = calloutAt(topLeft);
    if (Works(first, arrowLength, keepClear))
        return first;

    // Elsewhere, as PlaceBox looks, the arrow turned toward the target: the
    // clear place nearest to the first.
    QList<int> lefts{first.Box.left(), bounds.left(), bounds.right() + 1 - w};
    QList<int> tops{first.Box.top(), bounds.top(), bounds.bottom() + 1 - h};
    for (const QRect& area : keepClear) {
        lefts << area.left() - w << area.right() + 1;
        tops << area.top() - h << area.bottom() + 1;
    }
    std::optional<Callout> best;
    for (int left : lefts) {
        for (int top : tops) {
            if (!bounds.contains(QRect(QPoint(left, top), size)))
                continue;
            const Callout moved = calloutAt(QPoint(left, top));
            if (!Works(moved, arrowLength, keepClear))
                continue;
            if (!best || SquaredDistance(moved.Box.topLeft(), first.Box.topLeft()) <
                             SquaredDistance(best->Box.topLeft(), first.Box.topLeft()))
                best = moved;
        }
    }
    return best.value_or(first);
}
