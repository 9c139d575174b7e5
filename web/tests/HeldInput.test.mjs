// SPDX-License-Identifier: GPL-3.0-or-later
// Input held during a trace: order, repeats, moves, boxes, a trace started by
// what was held.
import assert from 'node:assert/strict';
import { test } from 'node:test';

import { HeldInput, ModalRetryMilliseconds } from '../src/HeldInput.mjs';

// Runs scheduled work by hand, with its delays recorded.
function Scheduler()
{
    const pending = [];
    return {
        pending,
        later: (work, ms) => pending.push({ work, ms }),
        RunAll() {
            while (pending.length > 0)
                pending.shift().work();
        },
    };
}

test('held entries are carried out in order once the trace ends, not before', () => {
    const clock = Scheduler();
    const held = new HeldInput({ later: clock.later });
    const done = [];
    held.Hold();
    for (const name of ['a', 'b', 'c'])
        held.Add({ deliver: () => done.push(name) });
    clock.RunAll();
    assert.deepEqual(done, []);
    held.Release();
    clock.RunAll();
    assert.deepEqual(done, ['a', 'b', 'c']);
    assert.equal(held.Count, 0);
});

test('a key held down counts once', () => {
    const clock = Scheduler();
    const held = new HeldInput({ later: clock.later });
    const done = [];
    held.Hold();
    held.Add({ deliver: () => done.push('Enter') });
    held.Add({ deliver: () => done.push('Enter again'), repeat: true });
    held.Add({ deliver: () => done.push('Enter again'), repeat: true });
    held.Release();
    clock.RunAll();
    assert.deepEqual(done, ['Enter']);
});

test('only the last of a run of moves to one target with the same buttons stays', () => {
    const clock = Scheduler();
    const held = new HeldInput({ later: clock.later });
    const done = [];
    held.Hold();
    held.Add({ deliver: () => done.push('move 1'), move: 'plane:0' });
    held.Add({ deliver: () => done.push('move 2'), move: 'plane:0' });
    held.Add({ deliver: () => done.push('move with a button'), move: 'plane:1' });
    held.Add({ deliver: () => done.push('release') });
    held.Add({ deliver: () => done.push('move 3'), move: 'plane:0' });
    held.Add({ deliver: () => done.push('move 4'), move: 'plane:0' });
    held.Release();
    clock.RunAll();
    assert.deepEqual(done, ['move 2', 'move with a button', 'release', 'move 4']);
});

test('nothing is carried out while a box is open', () => {
    const clock = Scheduler();
    let open = true;
    const held = new HeldInput({ later: clock.later, modalOpen: () => open });
    const done = [];
    held.Hold();
    held.Add({ deliver: () => done.push('click') });
    held.Release();
    clock.pending.shift().work();
    assert.deepEqual(done, []);
    assert.equal(clock.pending.length, 1);
    assert.equal(clock.pending[0].ms, ModalRetryMilliseconds);
    open = false;
    clock.RunAll();
    assert.deepEqual(done, ['click']);
});

test('an entry that starts a trace leaves the rest for that trace\'s end', () => {
    const clock = Scheduler();
    const held = new HeldInput({ later: clock.later });
    const done = [];
    held.Hold();
    held.Add({ deliver: () => { done.push('Enter'); held.Hold(); } });
    held.Add({ deliver: () => done.push('x') });
    held.Release();
    clock.RunAll();
    assert.deepEqual(done, ['Enter']);
    held.Add({ deliver: () => done.push('held by the second trace') });
    held.Release();
    clock.RunAll();
    assert.deepEqual(done, ['Enter', 'x', 'held by the second trace']);
});
