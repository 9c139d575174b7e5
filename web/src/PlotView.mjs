// SPDX-License-Identifier: GPL-3.0-or-later
// The plot window's plane on the page: the 500 x 500 pixels the core draws,
// shown a whole number of device pixels each; its description for a screen
// reader; the position readout (a ring on a layer of its own, never in the
// plane, and the two texts below it); the wheel, a drag and the pen's keys.

import { PlaneScale, PlaneSize } from './PlaneScale.mjs';

const NarrowLayout = '(max-width: 720px)';
const RingRadius = 6;
// A press that moves less than this (in plane pixels, across and down
// together) is a click, not a drag, as the desktop's start distance.
const DragDistance = 10;

export class PlotView {
    // `handlers`: zoom(x, y, notches), pan(from, to, drag): `from` the pixel
    // the drag began at, `drag` its number; mouse(x, y), penKey(key); each
    // in plane pixels.
    constructor(handlers)
    {
        this.handlers = handlers;
        this.canvas = document.getElementById('plane');
        this.layer = document.getElementById('readout-layer');
        this.frame = document.getElementById('plane-frame');
        this.room = document.getElementById('plane-room');
        this.refusal = document.getElementById('zoom-refusal');
        this.readout = document.getElementById('readout');
        this.pen = document.getElementById('pen-position');
        this.mouse = document.getElementById('mouse-position');
        this.context = this.canvas.getContext('2d', { alpha: false });
        this.layerContext = this.layer.getContext('2d');
        this.Wipe();
        this.factor = 1;
        this.drags = 0;

        this.canvas.addEventListener('wheel', event => this.Wheel(event), { passive: false });
        this.canvas.addEventListener('pointerdown', event => this.PointerDown(event));
        this.canvas.addEventListener('pointermove', event => this.PointerMove(event));
        this.canvas.addEventListener('pointerup', event => this.PointerUp(event));
        this.canvas.addEventListener('pointercancel', () => this.EndDrag());
        this.canvas.addEventListener('pointerleave', () => this.handlers.mouseLeft?.());
        this.canvas.addEventListener('keydown', event => {
            if (['ArrowLeft', 'ArrowRight', 'Home', 'End', 'PageUp', 'PageDown'].includes(event.key)
                && !event.ctrlKey && !event.altKey && !event.metaKey) {
                event.preventDefault();
                this.handlers.penKey(event.key);
            }
        });

        new ResizeObserver(() => this.Fit()).observe(this.room);
        addEventListener('resize', () => this.Fit());
        this.WatchRatio();
        this.Fit();
    }

    Wipe()
    {
        this.context.fillStyle = '#ffffff';
        this.context.fillRect(0, 0, PlaneSize, PlaneSize);
    }

    // A rectangle of the plane, RGBA, from the core.
    Paint({ x, y, w, h, rgba })
    {
        this.context.putImageData(new ImageData(new Uint8ClampedArray(rgba), w, h), x, y);
    }

    Describe(text)
    {
        this.canvas.setAttribute('aria-description', text);
    }

    // A change of the device pixel ratio (the browser's zoom, another screen)
    // is a change of the factor too.
    WatchRatio()
    {
        const query = matchMedia(`(resolution: ${devicePixelRatio}dppx)`);
        query.addEventListener('change', () => {
            this.Fit();
            this.WatchRatio();
        }, { once: true });
    }

    Fit()
    {
        const width = this.room.clientWidth || PlaneSize;
        // Beside the panel the plane fits the window's height too; below it
        // (a phone) the page scrolls.
        const below = matchMedia(NarrowLayout).matches;
        const top = this.room.getBoundingClientRect().top + scrollY;
        const height = below ? Infinity : Math.max(PlaneSize / devicePixelRatio, innerHeight - top - 48);
        const { factor, cssSize } = PlaneScale(width, height, devicePixelRatio);
        this.factor = factor;
        // Room for the whole scaled plane: never a hair less than its size.
        const room = Math.ceil(cssSize * 64) / 64;
        this.room.classList.toggle('too-wide', room > width);
        this.frame.style.width = `${room}px`;
        this.frame.style.height = `${room}px`;
        for (const canvas of [this.canvas, this.layer])
            canvas.style.transform = `scale(${factor / devicePixelRatio})`;
        this.frame.dataset.factor = String(factor);
        this.AlignToDevicePixels();
    }

    // The browser paints the plane's edges on the nearest device pixels: with
    // its corner between two, a row or column of plane pixels would come out
    // a device pixel narrower or wider than the rest. A margin of less than
    // a device pixel puts the corner on one.
    AlignToDevicePixels()
    {
        this.frame.style.marginLeft = '0px';
        this.frame.style.marginTop = '0px';
        const box = this.frame.getBoundingClientRect();
        const ratio = devicePixelRatio;
        const nudge = at => {
            const device = at * ratio;
            const rest = Math.ceil(device - 1e-3) - device;
            return rest > 1e-3 ? rest / ratio : 0;
        };
        this.frame.style.marginLeft = `${nudge(box.left + scrollX)}px`;
        this.frame.style.marginTop = `${nudge(box.top + scrollY)}px`;
    }

    // The plane pixel under a point of the page.
    PixelAt(event)
    {
        const box = this.canvas.getBoundingClientRect();
        const x = Math.floor((event.clientX - box.left) * PlaneSize / box.width);
        const y = Math.floor((event.clientY - box.top) * PlaneSize / box.height);
        return { x: Math.min(PlaneSize - 1, Math.max(0, x)), y: Math.min(PlaneSize - 1, Math.max(0, y)) };
    }

    Wheel(event)
    {
        event.preventDefault();
        const at = this.PixelAt(event);
        // A notch is 100 pixels of delta, or 3 lines; up zooms in.
        const unit = event.deltaMode === 1 ? 3 : event.deltaMode === 2 ? 1 : 100;
        const notches = -event.deltaY / unit;
        if (notches !== 0)
            this.handlers.zoom(at.x, at.y, notches, event);
    }

    PointerDown(event)
    {
        if (event.button !== 0)
            return;
        this.canvas.focus();
        const at = this.PixelAt(event);
        this.drag = { origin: at, last: at, moving: false, id: ++this.drags, pointer: event.pointerId };
        this.canvas.setPointerCapture?.(event.pointerId);
        this.frame.classList.add('panning');
    }

    PointerMove(event)
    {
        const at = this.PixelAt(event);
        const drag = this.drag;
        if (drag && !drag.moving)
            drag.moving = Math.abs(at.x - drag.origin.x) + Math.abs(at.y - drag.origin.y) >= DragDistance;
        if (drag?.moving && (at.x !== drag.last.x || at.y !== drag.last.y)) {
            // From where the drag began, in the window it began in: the point
            // grabbed comes under the cursor however many moves it took.
            drag.last = at;
            this.handlers.pan(drag.origin, at, drag.id, event);
        }
        this.handlers.mouse(at.x, at.y);
    }

    PointerUp(event)
    {
        if (this.drag)
            this.PointerMove(event);
        this.EndDrag();
    }

    EndDrag()
    {
        this.drag = null;
        this.frame.classList.remove('panning');
    }

    // "Dál přiblížit nelze" and the like, under the cursor for a moment.
    ShowRefusal(text, event)
    {
        const box = this.frame.getBoundingClientRect();
        this.refusal.textContent = text;
        this.refusal.hidden = false;
        this.refusal.style.left = `${Math.max(0, (event?.clientX ?? box.left) - box.left)}px`;
        this.refusal.style.top = `${Math.max(0, (event?.clientY ?? box.top) - box.top + 16)}px`;
        clearTimeout(this.refusalTimer);
        this.refusalTimer = setTimeout(() => { this.refusal.hidden = true; }, 1500);
    }

    ShowReadout(on)
    {
        this.readout.hidden = !on;
        this.canvas.setAttribute('aria-describedby', on ? 'pen-position mouse-position' : '');
        if (!on)
            this.layerContext.clearRect(0, 0, PlaneSize, PlaneSize);
    }

    // The pen's point: the ring on the layer, its text, the slider's place.
    ShowPen(point, count)
    {
        this.layerContext.clearRect(0, 0, PlaneSize, PlaneSize);
        if (!point) {
            this.pen.setAttribute('aria-valuemax', '0');
            this.pen.setAttribute('aria-valuenow', '0');
            this.pen.removeAttribute('aria-valuetext');
            this.pen.textContent = '';
            return;
        }
        if (Number.isFinite(point.px) && Number.isFinite(point.py)) {
            this.layerContext.lineWidth = 2;
            this.layerContext.strokeStyle = '#d00000';
            this.layerContext.beginPath();
            this.layerContext.arc(point.px + 0.5, point.py + 0.5, RingRadius, 0, 2 * Math.PI);
            this.layerContext.stroke();
        }
        this.pen.setAttribute('aria-valuemax', String(Math.max(0, count - 1)));
        this.pen.setAttribute('aria-valuenow', String(point.index));
        this.pen.setAttribute('aria-valuetext', point.text ?? '');
        this.pen.textContent = point.text ?? '';
    }

    ShowMouse(text)
    {
        this.mouse.textContent = text;
    }
}
