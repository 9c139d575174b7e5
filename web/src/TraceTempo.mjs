// SPDX-License-Identifier: GPL-3.0-or-later
// The tempo of a trace: step k is due at the start plus k x 50 ms, so the time
// a step takes (evaluating, drawing, the message to the page, a timer woken
// late) does not add up over the steps. A trace that fell further behind
// than one step (an evaluation of seconds) starts the tempo afresh rather
// than rushing through the steps it missed.

export const StepMilliseconds = 50;

export class TraceTempo {
    constructor(start, length = StepMilliseconds)
    {
        this.start = start;
        this.length = length;
    }

    // How long to wait, at `now`, before step `k` (k = 0 is due at once).
    DelayBefore(k, now)
    {
        let due = this.start + k * this.length;
        if (now - due > this.length) {
            this.start = now - k * this.length;
            due = now;
        }
        return Math.max(0, due - now);
    }
}
