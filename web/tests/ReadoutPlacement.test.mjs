// SPDX-License-Identifier: GPL-3.0-or-later
// The readout's boxes placed as the desktop places them: wholly on the plane,
// clear of the pen's ring, the point under the mouse and the other box, and
// a pen off the plane pointed at from the nearest edge. Each place below is
// worked out by hand from those rules.
import assert from 'node:assert/strict';
import { test } from 'node:test';

import { BoundingRect, Contains, EdgeCallout, Intersects, KeptInside, MouseLayout, PenAreas, PenLayout, PlaceBox,
         Rect } from '../src/ReadoutPlacement.mjs';

const Plane = Rect(0, 0, 500, 500);
const Size = { width: 100, height: 20 };
const Fixed = () => Size;
const At = (x, y) => ({ x, y });

test('a box is kept inside, its top-left corner first', () => {
    const rows = [
        ['past the right and top', Rect(450, -5, 100, 20), Rect(400, 0, 100, 20)],
        ['past the bottom left', Rect(-3, 490, 100, 20), Rect(0, 480, 100, 20)],
        ['inside stays', Rect(10, 10, 100, 20), Rect(10, 10, 100, 20)],
        ['wider than the plane: at its left', Rect(30, 0, 600, 20), Rect(0, 0, 600, 20)],
    ];
    for (const [name, box, kept] of rows)
        assert.deepEqual(KeptInside(box, Plane), kept, name);
});

test('a box takes the first wish that is clear, else the nearest clear place', () => {
    const bounds = Rect(0, 0, 100, 100);
    const size = { width: 20, height: 10 };
    const rows = [
        ['the first wish clear', [At(5, 5), At(60, 60)], [], Rect(5, 5, 20, 10)],
        ['the first blocked, the second clear', [At(5, 5), At(60, 60)], [Rect(0, 0, 30, 30)], Rect(60, 60, 20, 10)],
        // The area covers 30 to 69 each way: just above it is 20 away, the
        // other sides 30.
        ['every wish blocked: just above the area', [At(40, 40)], [Rect(30, 30, 40, 40)], Rect(40, 20, 20, 10)],
        ['no clear place: the first wish kept inside', [At(95, 95)], [Rect(0, 0, 100, 100)], Rect(80, 90, 20, 10)],
        ['an empty area blocks nothing', [At(5, 5)], [Rect(0, 0, 0, 0)], Rect(5, 5, 20, 10)],
    ];
    for (const [name, wishes, keepClear, box] of rows)
        assert.deepEqual(PlaceBox(size, wishes, bounds, keepClear), box, name);
});

test('the pen\'s box stands beside its ring, clear of it and of the mouse, on the plane', () => {
    const rows = [
        // Above right: x from 250 + 10, y 20 + 10 above 250.
        ['above right at first', At(250, 250), [], Rect(260, 220, 100, 20)],
        // Above right is pushed into the corner onto the ring (476 to 506
        // across with its border): above left reaches 484.
        ['by the top right corner: above left', At(495, 5), [], Rect(385, 0, 100, 20)],
        // Above right on the cursor's point: above left.
        ['the mouse above right: above left', At(250, 250), [Rect(300, 225, 7, 7)], Rect(140, 220, 100, 20)],
        ['nowhere to point to: the top left', null, [], Rect(4, 4, 100, 20)],
    ];
    for (const [name, at, keepClear, box] of rows) {
        const pen = PenLayout({ text: 't = 1   x = 2   y = 3', at, plane: Plane, measure: Fixed, arrowLength: 15,
                                keepClear });
        assert.deepEqual(pen.box, box, name);
        assert.ok(Contains(Plane, pen.box), name);
        for (const area of [pen.ring, ...keepClear].filter(Boolean))
            assert.equal(Intersects(pen.box, area), false, `${name}: meets ${JSON.stringify(area)}`);
    }
    const ring = PenLayout({ text: 'a', at: At(250, 250), plane: Plane, measure: Fixed, arrowLength: 15 }).ring;
    assert.deepEqual(ring, Rect(241, 241, 19, 19));
});

test('a pen off the plane: a box at the nearest edge with an arrow toward it', () => {
    // Straight above: the box's top an arrow (15) below the top edge, centred
    // under the point; the arrow from the box's top middle to the edge.
    const above = EdgeCallout(Size, At(250, -100), Plane, 15, []);
    assert.deepEqual(above.box, Rect(200, 15, 100, 20));
    assert.deepEqual(above.arrow, [At(250, 0), At(258, 23), At(243, 23)]);
    // Straight left, far off: the box's left side 15 in, centred on its row.
    const left = EdgeCallout(Size, At(-1e6, 100), Plane, 15, []);
    assert.deepEqual(left.box, Rect(15, 90, 100, 20));
    assert.deepEqual(left.arrow[0], At(0, 100));
    // Off the bottom right corner: the box's corner 15 in along the diagonal.
    const corner = EdgeCallout(Size, At(600, 600), Plane, 15, []);
    assert.deepEqual(corner.box, Rect(389, 469, 100, 20));
    for (const callout of [above, left, corner]) {
        assert.ok(Contains(Plane, callout.box));
        assert.ok(Contains(Plane, BoundingRect(callout.arrow)));
    }
    // The arrow's tip lies beyond the box toward the point.
    assert.ok(corner.arrow[0].x > 488 - 15 && corner.arrow[0].y > 488);

    // The mouse's box where the box would stand: the box moves, its arrow
    // still toward the point, neither on the mouse's.
    const mouse = Rect(180, 10, 140, 40);
    const moved = EdgeCallout(Size, At(250, -100), Plane, 15, [mouse]);
    assert.equal(Intersects(moved.box, mouse), false);
    assert.equal(Intersects(BoundingRect(moved.arrow), mouse), false);
    // Just below the mouse's box the arrow would cross it, and beside it,
    // at its top, the arrow's tip would touch it: below it and beside it,
    // 120 across and 35 down, the left one found first.
    assert.deepEqual(moved.box, Rect(80, 50, 100, 20));
    assert.ok(moved.arrow[0].y < moved.box.top);
});

test('the mouse\'s box stands beside the cursor, clear of it and of the pen\'s label', () => {
    const rows = [
        // Below right: 14 right of the cursor, 20 below.
        ['below right at first', At(100, 100), [], Rect(114, 120, 100, 20)],
        // Below right is pushed onto the cursor in the corner: below left.
        ['by the bottom right corner: below left', At(495, 495), [], Rect(387, 480, 100, 20)],
        ['the pen\'s box below right: below left', At(250, 250), [Rect(264, 270, 100, 20)], Rect(142, 270, 100, 20)],
    ];
    for (const [name, at, keepClear, box] of rows) {
        const mouse = MouseLayout({ text: 'x = 1   y = 2', at, plane: Plane, measure: Fixed, keepClear });
        assert.deepEqual(mouse.box, box, name);
        assert.equal(Intersects(mouse.box, Rect(at.x - 3, at.y - 3, 7, 7)), false, name);
    }
    assert.equal(MouseLayout({ text: 'x = 1', at: null, plane: Plane, measure: Fixed }), null, 'no cursor, no box');
    assert.equal(MouseLayout({ text: '', at: At(5, 5), plane: Plane, measure: Fixed }), null, 'no text, no box');
});

test('both boxes drawn: the mouse\'s keeps clear of the pen\'s box, arrow and ring', () => {
    // The pen just right of the cursor: its ring and box where the mouse's
    // would go first.
    const pen = PenLayout({ text: 'pen', at: At(130, 140), plane: Plane, measure: Fixed, arrowLength: 15,
                            keepClear: [Rect(97, 97, 7, 7)] });
    const mouse = MouseLayout({ text: 'mouse', at: At(100, 100), plane: Plane, measure: Fixed, keepClear: PenAreas(pen) });
    for (const area of PenAreas(pen))
        assert.equal(Intersects(mouse.box, area), false, JSON.stringify(area));
    assert.ok(Contains(Plane, mouse.box));
});

test('a line too wide for the plane is broken, one value a line', () => {
    const plane = Rect(0, 0, 100, 100);
    const measure = lines => ({ width: 6 * Math.max(...lines.split('\n').map(line => line.length)),
                                height: 14 * lines.split('\n').length });
    const wide = PenLayout({ text: 't = 1   x = 2   y = 3', at: At(50, 50), plane, measure, arrowLength: 15 });
    assert.equal(wide.lines, 't = 1\nx = 2\ny = 3');
    assert.deepEqual([wide.box.width, wide.box.height], [30, 42]);
    const narrow = PenLayout({ text: 'x = 2   y = 3', at: At(50, 50), plane, measure, arrowLength: 15 });
    assert.equal(narrow.lines, 'x = 2   y = 3');
});
