// SPDX-License-Identifier: GPL-3.0-or-later
// The page's side of the core: the C++ core compiled to WebAssembly runs in a
// worker (CoreWorker.mjs), so a formula that takes long never freezes the
// page. Requests go out as {id, op, ...}; each is answered once, as
// {id, reply} or {id, error}; the plane's changed pixels and the pen's points
// come as events in between. web/PROTOCOL.md has every message.
//
// Esc must always answer. A stop is asked twice over: as a message, which
// the worker reads between two steps, and as a flag in memory shared with
// the worker, which the core's long-work hook reads inside one long
// evaluation (where the page is cross-origin isolated and can share it).
// A worker that still has not answered a second later is ended and a new
// one made; the page then draws again what it knew was drawn.

export const StopAnswerMilliseconds = 1000;

export class CoreUnavailable extends Error {
    constructor(reason)
    {
        super(reason);
        this.name = 'CoreUnavailable';
    }
}

export class CoreClient {
    // `events` has onPlane({x, y, w, h, rgba}), onPen({index, t, x, y, px, py, text})
    // and onRestart(lostOp), each optional.
    constructor(workerUrl, events = {})
    {
        this.workerUrl = workerUrl;
        this.events = events;
        this.pending = new Map();
        this.nextId = 1;
        this.running = null;  // the long request under way: {id, op}
        this.state = 'starting';
        this.reason = '';
        this.stopFlags = typeof SharedArrayBuffer === 'function' && globalThis.crossOriginIsolated
            ? new Int32Array(new SharedArrayBuffer(4)) : null;
        this.ready = this.Spawn();
    }

    // Requests that run with the tempo or draw presses again, and so can be
    // stopped with Esc.
    static Long = new Set(['press', 'animate', 'openLesson', 'zoom', 'pan', 'originalWindow', 'redrawLast']);

    get Available() { return this.state === 'ready'; }
    get Running() { return this.running; }

    Spawn()
    {
        this.worker = new Worker(this.workerUrl, { type: 'module', name: 'paramcurve-core' });
        this.worker.addEventListener('message', event => this.Receive(event.data));
        this.worker.addEventListener('error', event => {
            event.preventDefault();
            this.Fail(`Worker jádra skončil chybou: ${event.message ?? ''}`);
        });
        return this.Send('hello', { stopFlags: this.stopFlags?.buffer ?? null }).then(reply => {
            this.state = reply.core === 'ready' ? 'ready' : 'missing';
            this.reason = reply.reason ?? '';
            return reply;
        }, error => {
            this.state = 'missing';
            this.reason = String(error.message ?? error);
            return { core: 'missing', reason: this.reason };
        });
    }

    Fail(reason)
    {
        this.state = 'missing';
        this.reason = reason;
        for (const { reject } of this.pending.values())
            reject(new CoreUnavailable(reason));
        this.pending.clear();
        this.running = null;
    }

    Receive(message)
    {
        if (message.event === 'plane') {
            this.events.onPlane?.(message);
            return;
        }
        if (message.event === 'pen') {
            this.events.onPen?.(message);
            return;
        }
        const waiting = this.pending.get(message.id);
        if (!waiting)
            return;
        this.pending.delete(message.id);
        if (this.running?.id === message.id) {
            this.running = null;
            clearTimeout(this.watchdog);
        }
        if ('error' in message)
            waiting.reject(message.missing ? new CoreUnavailable(message.error) : new Error(message.error));
        else
            waiting.resolve(message.reply);
    }

    Send(op, args = {}, transfer = [])
    {
        const id = this.nextId++;
        return new Promise((resolve, reject) => {
            this.pending.set(id, { resolve, reject, op, args });
            if (CoreClient.Long.has(op)) {
                // A stop asked before this request must not stop it.
                if (this.stopFlags)
                    Atomics.store(this.stopFlags, 0, 0);
                this.running = { id, op, args };
            }
            this.worker.postMessage({ id, op, ...args }, transfer);
        });
    }

    // A request to the core; rejects with CoreUnavailable without it.
    async Request(op, args = {}, transfer = [])
    {
        await this.ready;
        if (this.state !== 'ready')
            throw new CoreUnavailable(this.reason);
        return this.Send(op, args, transfer);
    }

    // Esc: the long request under way ends as stopped.
    Stop()
    {
        const running = this.running;
        if (!running)
            return;
        if (this.stopFlags)
            Atomics.store(this.stopFlags, 0, 1);
        this.worker.postMessage({ id: 0, op: 'stop' });
        clearTimeout(this.watchdog);
        this.watchdog = setTimeout(() => {
            if (this.running === running)
                this.Restart(running);
        }, StopAnswerMilliseconds);
    }

    // The worker is stuck in one evaluation: a new one in its place. The
    // stuck request is answered as stopped by the page's own record.
    Restart(lost)
    {
        this.worker.terminate();
        const waiting = this.pending.get(lost.id);
        this.pending.delete(lost.id);
        for (const { reject } of this.pending.values())
            reject(new CoreUnavailable('Jádro bylo spuštěno znovu.'));
        this.pending.clear();
        this.running = null;
        this.state = 'starting';
        this.ready = this.Spawn();
        waiting?.resolve({ restarted: true });
        this.events.onRestart?.(lost);
    }
}
