// SPDX-License-Identifier: GPL-3.0-or-later
// The plane's whole-number scale: the desktop's examples, and the phones.
import assert from 'node:assert/strict';
import { test } from 'node:test';

import { PlaneScale } from '../src/PlaneScale.mjs';

test('the largest whole factor that fits, at most the ratio rounded up', () => {
    const rows = [
        // name, room width, room height, ratio, factor
        ['an ordinary screen', 1280, 900, 1, 1],
        ['a large screen at 100 % stays at 1', 2560, 1400, 1, 1],
        ['150 % where twice the plane fits', 1700, 1000, 1.5, 2],
        ['150 % where it does not', 600, 1000, 1.5, 1],
        ['200 %', 1280, 700, 2, 2],
        ['200 % with too little height', 1280, 450, 2, 1],
        ['a phone at 3', 360, Infinity, 3, 2],
        ['a phone at 2', 360, Infinity, 2, 1],
        ['a phone at 1 still gets 1', 360, Infinity, 1, 1],
        ['a hair above a whole ratio', 1280, 900, 2.0000001, 2],
        ['an absurd ratio', 1e6, 1e6, 1000, 64],
        ['no ratio', 1280, 900, NaN, 1],
        ['a ratio of 0', 1280, 900, 0, 1],
    ];
    for (const [name, width, height, ratio, factor] of rows)
        assert.equal(PlaneScale(width, height, ratio).factor, factor, name);
});

test('the CSS size is a whole number of device pixels per plane pixel', () => {
    for (const ratio of [1, 1.25, 1.5, 1.75, 2, 2.625, 3]) {
        for (const width of [360, 412, 800, 1280, 1920]) {
            const { factor, cssSize } = PlaneScale(width, Infinity, ratio);
            assert.ok(Math.abs(cssSize * ratio - 500 * factor) < 1e-9, `${ratio} ${width}`);
            // It fits unless even a factor of 1 does not.
            assert.ok(cssSize <= width + 1e-9 || factor === 1, `${ratio} ${width}`);
        }
    }
});
