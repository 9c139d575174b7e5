// SPDX-License-Identifier: GPL-3.0-or-later
// The trace's tempo: step k at the start plus k x 50 ms.
import assert from 'node:assert/strict';
import { test } from 'node:test';

import { TraceTempo } from '../src/TraceTempo.mjs';

test('a step that took time shortens the wait before the next', () => {
    const tempo = new TraceTempo(1000);
    assert.equal(tempo.DelayBefore(0, 1000), 0);
    assert.equal(tempo.DelayBefore(1, 1012), 38);
    assert.equal(tempo.DelayBefore(2, 1050), 50);
    assert.equal(tempo.DelayBefore(3, 1149), 1);
});

test('a timer woken late does not push the later steps back', () => {
    const tempo = new TraceTempo(0);
    // Step 1 came 20 ms late; step 2 is still due at 100.
    assert.equal(tempo.DelayBefore(2, 70), 30);
    // Due now or overdue by up to one step: at once, on the old tempo.
    assert.equal(tempo.DelayBefore(3, 150), 0);
    assert.equal(tempo.DelayBefore(3, 195), 0);
    assert.equal(tempo.DelayBefore(4, 201), 0);
    assert.equal(tempo.DelayBefore(5, 240), 10);
});

test('a trace further behind than a step starts the tempo afresh', () => {
    const tempo = new TraceTempo(0);
    // Step 3 was due at 150; an evaluation of seconds ended at 2000.
    assert.equal(tempo.DelayBefore(3, 2000), 0);
    assert.equal(tempo.DelayBefore(4, 2010), 40);
    assert.equal(tempo.DelayBefore(5, 2060), 40);
});

test('n segments take (n + 1) x 50 ms when the steps cost nothing', () => {
    const tempo = new TraceTempo(0);
    let now = 0;
    const n = 100;
    // Points 0 … n, each followed by its pause; the end is found at step n + 1.
    for (let k = 0; k <= n + 1; ++k)
        now += tempo.DelayBefore(k, now);
    assert.equal(now, (n + 1) * 50);
});
