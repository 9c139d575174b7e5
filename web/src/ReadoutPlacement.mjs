// SPDX-License-Identifier: GPL-3.0-or-later
// Where the readout's boxes stand on the plane, as the desktop places them
// (app/explore/ReadoutPlacement.cpp, ReadoutLabel.cpp): plain geometry in
// plane pixels, apart from the drawing, so each placement can be checked
// alone.
//
// A box stands wholly inside the plane and keeps clear of what it is about
// (the pen's ring, the point under the mouse, the other box). A pen whose
// point lies off the plane gets its box at the edge nearest to the point,
// with an arrow from the box toward it.
//
// A rectangle is {left, top, width, height} of whole pixels, its right
// column left + width - 1 and its bottom row top + height - 1, as the
// desktop's; a point {x, y}.

const MarkerRadius = 6;
export const MarkerReach = MarkerRadius + 3;  // the ring with its white halo
const PenGap = 10;           // from the pen's point to its box
const CursorGapX = 14;       // right of the cursor, clear of its arrow
const CursorGapY = 20;
const CursorGapBefore = 8;   // left of or above the cursor
const CursorClearance = 3;   // pixels around the cursor's point left seen
const ValueSeparator = '   ';

export const Rect = (left, top, width, height) => ({ left, top, width, height });
const Right = r => r.left + r.width - 1;
const Bottom = r => r.top + r.height - 1;
const Empty = r => !r || r.width <= 0 || r.height <= 0;

// The desktop's rounding: halves away from zero.
const Round = d => (d >= 0 ? Math.trunc(d + 0.5) : Math.trunc(d - 0.5));
const Clamp = (value, low, high) => Math.max(low, Math.min(value, high));

export function Intersects(a, b)
{
    return !Empty(a) && !Empty(b) && Math.max(a.left, b.left) <= Math.min(Right(a), Right(b))
        && Math.max(a.top, b.top) <= Math.min(Bottom(a), Bottom(b));
}

export function Contains(outer, inner)
{
    return !Empty(outer) && !Empty(inner) && inner.left >= outer.left && Right(inner) <= Right(outer)
        && inner.top >= outer.top && Bottom(inner) <= Bottom(outer);
}

// The smallest rectangle holding every point of a polygon; empty for none.
export function BoundingRect(points)
{
    if (!points || points.length === 0)
        return Rect(0, 0, 0, 0);
    const xs = points.map(p => p.x), ys = points.map(p => p.y);
    const left = Math.min(...xs), top = Math.min(...ys);
    return Rect(left, top, Math.max(...xs) - left + 1, Math.max(...ys) - top + 1);
}

function MeetsNone(box, keepClear)
{
    return keepClear.every(area => Empty(area) || !Intersects(box, area));
}

const SquaredDistance = (a, b) => (a.left - b.left) ** 2 + (a.top - b.top) ** 2;

// Which sides of a box face a way: one side within 22.5 degrees of its
// normal, else the corner between two.
function Facing(component)
{
    const Sin22 = 0.3827;
    return component > Sin22 ? 1 : component < -Sin22 ? -1 : 0;
}

function Unit(x, y)
{
    const length = Math.hypot(x, y);
    return length > 0 && Number.isFinite(length) ? { x: x / length, y: y / length } : { x: 0, y: -1 };
}

// Inside `bounds` as far as it fits, its top-left corner first.
export function KeptInside(box, bounds)
{
    return Rect(Math.max(bounds.left, Math.min(box.left, Right(bounds) + 1 - box.width)),
                Math.max(bounds.top, Math.min(box.top, Bottom(bounds) + 1 - box.height)), box.width, box.height);
}

// Of the places with each side against an edge of the bounds or of an area
// to keep clear (or where `first` stands) that `works`, the nearest to `first`.
function NearestClear(first, size, bounds, keepClear, works)
{
    const lefts = [first.left, bounds.left, Right(bounds) + 1 - size.width];
    const tops = [first.top, bounds.top, Bottom(bounds) + 1 - size.height];
    for (const area of keepClear) {
        lefts.push(area.left - size.width, Right(area) + 1);
        tops.push(area.top - size.height, Bottom(area) + 1);
    }
    let best = null;
    for (const left of lefts) {
        for (const top of tops) {
            const box = Rect(left, top, size.width, size.height);
            if (!Contains(bounds, box))
                continue;
            const found = works(box);
            if (found && (!best || SquaredDistance(found.box ?? found, first) < SquaredDistance(best.box ?? best, first)))
                best = found;
        }
    }
    return best;
}

// A box of `size`, inside `bounds`, meeting none of `keepClear`: the first
// of `wishes` (top-left corners, each kept inside) that does, else the
// nearest such place to the first wish; the first wish kept inside when no
// place does.
export function PlaceBox(size, wishes, bounds, keepClear)
{
    const start = wishes.length ? wishes[0] : { x: bounds.left, y: bounds.top };
    const first = KeptInside(Rect(start.x, start.y, size.width, size.height), bounds);
    for (const wish of wishes) {
        const box = KeptInside(Rect(wish.x, wish.y, size.width, size.height), bounds);
        if (MeetsNone(box, keepClear))
            return box;
    }
    return NearestClear(first, size, bounds, keepClear, box => (MeetsNone(box, keepClear) ? box : null)) ?? first;
}

// The arrow from `box` toward `target`: from the side the line from the
// box's middle to the target leaves it by, at the point of that side nearest
// to `edge`, `length` long; its tip stays inside `bounds`. Its tip first.
function ArrowFrom(box, target, edge, length, bounds)
{
    const fx = target.x - (box.left + box.width / 2), fy = target.y - (box.top + box.height / 2);
    const across = Math.abs(fx) * box.height >= Math.abs(fy) * box.width;
    const sx = across ? (fx > 0 ? 1 : -1) : 0, sy = across ? 0 : (fy > 0 ? 1 : -1);
    const half = Math.max(1, Math.min(length / 2, box.width / 2 - 1, box.height / 2 - 1));
    const along = (at, from, to) => (from + half <= to - half ? Clamp(at, from + half, to - half) : (from + to) / 2);
    const base = { x: sx > 0 ? Right(box) : sx < 0 ? box.left : along(edge.x, box.left, Right(box)),
                   y: sy > 0 ? Bottom(box) : sy < 0 ? box.top : along(edge.y, box.top, Bottom(box)) };
    const way = Unit(target.x - base.x, target.y - base.y);
    const tip = { x: Clamp(base.x + way.x * length, bounds.left, Right(bounds)),
                  y: Clamp(base.y + way.y * length, bounds.top, Bottom(bounds)) };
    // The base inside the box, so box and arrow read as one shape.
    const inner = { x: base.x - way.x * half, y: base.y - way.y * half };
    const wide = { x: -way.y * half, y: way.x * half };
    const inside = (x, y) => ({ x: Clamp(Round(x), box.left, Right(box)), y: Clamp(Round(y), box.top, Bottom(box)) });
    return [{ x: Round(tip.x), y: Round(tip.y) }, inside(inner.x + wide.x, inner.y + wide.y),
            inside(inner.x - wide.x, inner.y - wide.y)];
}

// Clear of every area, and the arrow out of the box by half its length at
// least: a box against the edge by the target has no room for one.
function Works(callout, length, keepClear)
{
    const { box, arrow: [tip] } = callout;
    const dx = Math.max(box.left - tip.x, 0, tip.x - Right(box));
    const dy = Math.max(box.top - tip.y, 0, tip.y - Bottom(box));
    return 2 * Math.hypot(dx, dy) >= length && MeetsNone(box, keepClear)
        && MeetsNone(BoundingRect(callout.arrow), keepClear);
}

// The box of `size` at the edge of `bounds` nearest to `target` (a point
// outside them), `arrowLength` in from it, with an arrow of that length from
// the box toward `target`: {box, arrow}. Where box or arrow would meet one of
// `keepClear`, the box goes to the nearest place where neither does, its
// arrow still toward `target`.
export function EdgeCallout(size, target, bounds, arrowLength, keepClear)
{
    // The nearest point of the plane, and the way out from it to the target.
    const edge = { x: Clamp(target.x, bounds.left, Right(bounds)), y: Clamp(target.y, bounds.top, Bottom(bounds)) };
    const way = Unit(target.x - edge.x, target.y - edge.y);
    const sx = Facing(way.x), sy = Facing(way.y);

    // The box's facing side (or corner) an arrow's length in from the edge.
    const anchor = { x: edge.x - way.x * arrowLength, y: edge.y - way.y * arrowLength };
    const w = size.width, h = size.height;
    const left = sx > 0 ? Round(anchor.x) - w + 1 : sx < 0 ? Round(anchor.x) : Round(anchor.x - w / 2);
    const top = sy > 0 ? Round(anchor.y) - h + 1 : sy < 0 ? Round(anchor.y) : Round(anchor.y - h / 2);
    const CalloutAt = (x, y) => {
        const box = KeptInside(Rect(x, y, w, h), bounds);
        return { box, arrow: ArrowFrom(box, target, edge, arrowLength, bounds) };
    };
    const first = CalloutAt(left, top);
    if (Works(first, arrowLength, keepClear))
        return first;
    // Elsewhere, as PlaceBox looks, the arrow turned toward the target.
    return NearestClear(first.box, size, bounds, keepClear, box => {
        const moved = CalloutAt(box.left, box.top);
        return Works(moved, arrowLength, keepClear) ? moved : null;
    }) ?? first;
}

// What both boxes leave to be seen around the point under the mouse.
export function AroundCursor(x, y)
{
    return Rect(x - CursorClearance, y - CursorClearance, 2 * CursorClearance + 1, 2 * CursorClearance + 1);
}

// The text as a box shows it: one value a line where the line would not
// fit across the plane. `measure(lines)` gives the box's {width, height}.
function Fitted(text, measure, plane)
{
    let lines = text;
    let size = measure(lines);
    if (size.width > plane.width) {
        lines = text.split(ValueSeparator).join('\n');
        size = measure(lines);
    }
    return { lines, size };
}

// The pen's label: its ring where the point is on the plane and its box
// beside it, or a box at the edge with an arrow toward a point off the
// plane, or, with nowhere to point to (`at` null), a box at the top left.
// {box, arrow, ring, lines}; null for no text.
export function PenLayout({ text, at, plane, measure, arrowLength, keepClear = [] })
{
    if (!text)
        return null;
    const { lines, size } = Fitted(text, measure, plane);
    const clear = [...keepClear];
    if (!at)
        return { box: PlaceBox(size, [{ x: plane.left + 4, y: plane.top + 4 }], plane, clear), arrow: [], ring: null, lines };
    const point = { x: Round(at.x), y: Round(at.y) };
    if (Contains(plane, Rect(point.x, point.y, 1, 1))) {
        const ring = Rect(point.x - MarkerReach, point.y - MarkerReach, 2 * MarkerReach + 1, 2 * MarkerReach + 1);
        clear.push(Rect(ring.left - 1, ring.top - 1, ring.width + 2, ring.height + 2));
        // Above right of the point as at first, else in another quarter.
        const left = point.x - PenGap - size.width, right = point.x + PenGap;
        const above = point.y - PenGap - size.height, below = point.y + PenGap;
        const middle = point.y - Math.trunc(size.height / 2);
        const wishes = [[right, above], [left, above], [right, below], [left, below], [right, middle], [left, middle]];
        return { box: PlaceBox(size, wishes.map(([x, y]) => ({ x, y })), plane, clear), arrow: [], ring, lines };
    }
    const { box, arrow } = EdgeCallout(size, at, plane, arrowLength, clear);
    return { box, arrow, ring: null, lines };
}

// The mouse's label beside the cursor as a tooltip stands: below right,
// else where it fits, clear of the point and of `keepClear` (the pen's
// box, arrow and ring). {box, lines}; null for no text or no cursor.
export function MouseLayout({ text, at, plane, measure, keepClear = [] })
{
    if (!text || !at)
        return null;
    const { lines, size } = Fitted(text, measure, plane);
    const left = at.x - CursorGapBefore - size.width, right = at.x + CursorGapX;
    const above = at.y - CursorGapBefore - size.height, below = at.y + CursorGapY;
    const clear = [...keepClear, AroundCursor(at.x, at.y)];
    const wishes = [[right, below], [left, below], [right, above], [left, above]];
    return { box: PlaceBox(size, wishes.map(([x, y]) => ({ x, y })), plane, clear), lines };
}

// What the pen's label covers, for the mouse's to keep clear of.
export function PenAreas(pen)
{
    return pen ? [pen.box, BoundingRect(pen.arrow), pen.ring].filter(area => !Empty(area)) : [];
}
