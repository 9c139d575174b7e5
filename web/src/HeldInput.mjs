// SPDX-License-Identifier: GPL-3.0-or-later
// Input that comes while a trace runs waits, and is carried out in order once
// the trace has ended, as the desktop's HeldInput does: one queue for every
// trace, a key held down counted once, pointer moves to the same target with
// the same buttons kept only as the last one (a long trace must not keep every
// wiggle), and nothing delivered while a modal box is open. Esc is not held:
// it stops the trace. An entry delivered may start a trace of its own; the
// rest then waits for that one's end.

// Delivery waits this long for a modal box to close before it looks again.
export const ModalRetryMilliseconds = 50;

export class HeldInput {
    // `modalOpen()` tells whether a box is open; `later(work, ms)` schedules.
    constructor({ modalOpen = () => false, later = (work, ms) => setTimeout(work, ms) } = {})
    {
        this.queue = [];
        this.holding = false;
        this.scheduled = false;
        this.modalOpen = modalOpen;
        this.later = later;
    }

    get Holding() { return this.holding; }
    get Count() { return this.queue.length; }

    // From the trace's start to its end.
    Hold() { this.holding = true; }

    // `entry.deliver()` carries it out later. `entry.repeat`: a key's
    // autorepeat, dropped. `entry.move`: a pointer move, as a key of its
    // target and buttons; it replaces a move just before it with the same key.
    Add(entry)
    {
        if (entry.repeat)
            return;
        const last = this.queue[this.queue.length - 1];
        if (entry.move !== undefined && last && last.move === entry.move) {
            this.queue[this.queue.length - 1] = entry;
            return;
        }
        this.queue.push(entry);
    }

    // The trace has ended: what waited is carried out, in order.
    Release()
    {
        this.holding = false;
        this.Schedule(0);
    }

    Schedule(ms)
    {
        if (this.scheduled || this.queue.length === 0)
            return;
        this.scheduled = true;
        this.later(() => this.Replay(), ms);
    }

    Replay()
    {
        this.scheduled = false;
        while (this.queue.length > 0) {
            if (this.holding)
                return;  // a trace runs again; its end replays the rest
            if (this.modalOpen()) {
                this.Schedule(ModalRetryMilliseconds);
                return;
            }
            // Taken off first: what it starts may hold and replay in turn.
            const entry = this.queue.shift();
            entry.deliver();
        }
    }
}
