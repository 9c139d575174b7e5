// SPDX-License-Identifier: GPL-3.0-or-later
// The worker that holds the core: the C++ document, its press runs, lessons,
// readouts, zoom and pan, the GIF stream and the SVG writer, compiled to
// WebAssembly (core/paramcurve-core.mjs and .wasm beside the page). It turns
// the page's requests into calls of the module's exported functions, keeps a
// trace's tempo of 50 ms a step, and sends the plane's changed rectangle after
// every step. web/PROTOCOL.md has the messages and the functions.

import { TraceTempo } from './TraceTempo.mjs';

const CoreUrl = new URL('../core/paramcurve-core.mjs', import.meta.url);
const PlaneSize = 500;

let core = null;        // the Emscripten module
let missing = '';       // why there is none
let stopFlags = null;   // Int32Array on memory shared with the page, or null
let stopAsked = false;  // a stop message came for the request under way
let queue = Promise.resolve();

function StopAsked()
{
    return stopAsked || (stopFlags !== null && Atomics.load(stopFlags, 0) !== 0);
}

// A function of the module that takes and gives JSON texts.
function Call(name, ...args)
{
    const types = args.map(arg => (typeof arg === 'number' ? 'number' : 'string'));
    const text = core.ccall(name, 'string', types, args);
    return text ? JSON.parse(text) : null;
}

// The plane's rectangle changed since the last call, as RGBA for the page.
function SendPlane(whole = false)
{
    const rect = whole ? { x: 0, y: 0, w: PlaneSize, h: PlaneSize } : Call('pc_plane_changed');
    if (whole)
        Call('pc_plane_changed');  // what changed is sent now
    if (!rect || rect.w <= 0 || rect.h <= 0)
        return;
    const rgb = core._pc_plane_pixels();
    const heap = core.HEAPU8;
    // A pixel a word: alpha, blue, green, red from the top byte down, as
    // RGBA lies in memory on every machine a browser runs on.
    const rgba = new Uint32Array(rect.w * rect.h);
    let to = 0;
    for (let row = 0; row < rect.h; ++row) {
        let from = rgb + ((rect.y + row) * PlaneSize + rect.x) * 3;
        for (let column = 0; column < rect.w; ++column, from += 3)
            rgba[to++] = 0xff000000 | (heap[from + 2] << 16) | (heap[from + 1] << 8) | heap[from];
    }
    postMessage({ event: 'plane', ...rect, rgba: rgba.buffer }, [rgba.buffer]);
}

function SendPen(point)
{
    if (point)
        postMessage({ event: 'pen', ...point });
}

const Sleep = ms => new Promise(resolve => setTimeout(resolve, ms));

// Runs `begin`, then `step` at the tempo until it reports the end, stopping
// on Esc; `end` makes the reply.
async function Paced(begin, step, stop, end)
{
    let state = begin();
    SendPlane();
    if (!state.ended) {
        const tempo = new TraceTempo(performance.now());
        for (let k = 0; ; ++k) {
            await Sleep(tempo.DelayBefore(k, performance.now()));
            if (StopAsked()) {
                stop();
                SendPlane();
                break;
            }
            state = step();
            SendPlane();
            SendPen(state.point);
            if (state.ended)
                break;
        }
    }
    return end();
}

// Bytes into the module's memory for one call.
function WithBytes(bytes, work)
{
    const pointer = core._malloc(Math.max(1, bytes.length));
    core.HEAPU8.set(bytes, pointer);
    try {
        return work(pointer, bytes.length);
    } finally {
        core._free(pointer);
    }
}

const Handlers = {
    async hello({ stopFlags: buffer })
    {
        stopFlags = buffer ? new Int32Array(buffer) : null;
        try {
            const { default: MakeCore } = await import(CoreUrl.href);
            core = await MakeCore({
                // The core's long-work hook asks this inside a long evaluation.
                paramcurvePollStop: () => StopAsked(),
            });
            const started = Call('pc_init');
            SendPlane(true);
            return { core: 'ready', version: started?.version ?? '' };
        } catch (error) {
            core = null;
            missing = `Kreslicí jádro (WebAssembly) se nepodařilo načíst: ${error.message ?? error}`;
            return { core: 'missing', reason: missing };
        }
    },
    press: ({ panel }) => Paced(() => Call('pc_press_begin', JSON.stringify(panel)), () => Call('pc_press_step'),
                                () => Call('pc_press_stop'), () => Call('pc_press_end')),
    animate: ({ variable, keepTrace, variables, panel }) =>
        Paced(() => Call('pc_animate_begin', variable, keepTrace ? 1 : 0, JSON.stringify(variables),
                         JSON.stringify(panel ?? {})),
              () => Call('pc_animate_step'), () => Call('pc_animate_stop'), () => Call('pc_animate_end')),
    clear()
    {
        const reply = Call('pc_clear');
        SendPlane();
        return reply;
    },
    openLesson({ bytes, restore = false })
    {
        const reply = WithBytes(new Uint8Array(bytes),
                                (pointer, length) => Call('pc_open_lesson', pointer, length, restore ? 0 : 1));
        SendPlane();
        return reply;
    },
    lessonText: ({ panel }) => Call('pc_lesson_text', JSON.stringify(panel)),
    lessonSaved: () => Call('pc_lesson_saved'),
    svg: () => Call('pc_svg'),
    printCaptions: () => Call('pc_print_captions'),
    gif()
    {
        const size = Call('pc_gif_size');
        if (!size || size.bytes <= 0)
            return { bytes: null, message: size?.message ?? '' };
        const pointer = core._pc_gif_bytes();
        return { bytes: core.HEAPU8.slice(pointer, pointer + size.bytes).buffer };
    },
    penReadout: ({ index }) => Call('pc_pen_readout', index),
    mouseReadout: ({ x, y }) => Call('pc_mouse_readout', x, y),
    zoom({ x, y, notches, fields })
    {
        const reply = Call('pc_zoom', x, y, notches, JSON.stringify(fields ?? {}));
        SendPlane();
        return reply;
    },
    pan({ drag, fromX, fromY, toX, toY, fields })
    {
        const reply = Call('pc_pan', drag, fromX, fromY, toX, toY, JSON.stringify(fields ?? {}));
        SendPlane();
        return reply;
    },
    originalWindow()
    {
        const reply = Call('pc_original_window');
        SendPlane();
        return reply;
    },
    readValue: ({ variable, text }) => Call('pc_read_value', variable, text),
    readRange: ({ variable, low, high, step }) => Call('pc_read_range', variable, low, high, step),
    sliderValue: ({ variable, index }) => Call('pc_slider_value', variable, index),
    redrawLast({ variables })
    {
        const reply = Call('pc_redraw_last', JSON.stringify(variables));
        SendPlane();
        return reply;
    },
    variablesUsed: ({ text }) => Call('pc_variables_used', text),
};

async function Handle(message)
{
    const handler = Handlers[message.op];
    if (!handler)
        return postMessage({ id: message.id, error: `Neznámý požadavek ${message.op}` });
    if (message.op !== 'hello' && !core)
        return postMessage({ id: message.id, error: missing || 'Jádro není načteno.', missing: true });
    stopAsked = false;
    try {
        const reply = await handler(message);
        postMessage({ id: message.id, reply: reply ?? {} });
    } catch (error) {
        postMessage({ id: message.id, error: String(error?.message ?? error) });
    }
}

addEventListener('message', event => {
    const message = event.data;
    // A stop is for the request under way: it does not wait its turn.
    if (message.op === 'stop') {
        stopAsked = true;
        return;
    }
    queue = queue.then(() => Handle(message));
});
