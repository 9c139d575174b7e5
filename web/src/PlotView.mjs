// SPDX-License-Identifier: GPL-3.0-or-later
// The plot window's plane on the page: the 500 x 500 pixels the core draws,
// shown a whole number of device pixels each; its description for a screen
// reader; the position readout (the pen's ring and the two labels' boxes on
// a layer of their own, never in the plane, placed as the desktop places
// them, and the two texts below it for a screen reader); the wheel, a drag
// and the pen's keys.

import { PlaneScale, PlaneSize } from './PlaneScale.mjs';
import { MouseLayout, PenAreas, PenLayout, Rect } from './ReadoutPlacement.mjs';

const NarrowLayout = '(max-width: 720px)';
const RingRadius = 6;
const LabelBackground = 'rgb(255, 255, 224)';
const LabelBorder = 'rgb(120, 120, 120)';
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
        this.readoutOn = false;
        this.penPoint = null;
        this.mouseAt = null;
        this.mouseText = '';

        this.canvas.addEventListener('wheel', event => this.Wheel(event), { passive: false });
        this.canvas.addEventListener('pointerdown', event => this.PointerDown(event));
        this.canvas.addEventListener('pointermove', event => this.PointerMove(event));
        this.canvas.addEventListener('pointerup', event => this.PointerUp(event));
        this.canvas.addEventListener('pointercancel', () => this.EndDrag());
        this.canvas.addEventListener('pointerleave', () => {
            this.mouseAt = null;
            this.handlers.mouseLeft?.();
        });
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
        // The labels' layer a device pixel a pixel, so their text is sharp.
        if (this.layer.width !== PlaneSize * factor) {
            this.layer.width = this.layer.height = PlaneSize * factor;
            this.DrawReadout();
        }
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
        this.mouseAt = at;
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
        this.readoutOn = on;
        this.readout.hidden = !on;
        this.canvas.setAttribute('aria-describedby', on ? 'pen-position mouse-position' : '');
        this.DrawReadout();
    }

    // The pen's point: its ring and box on the layer, its text, the slider's place.
    ShowPen(point, count)
    {
        this.penPoint = point;
        if (!point) {
            this.pen.setAttribute('aria-valuemax', '0');
            this.pen.setAttribute('aria-valuenow', '0');
            this.pen.removeAttribute('aria-valuetext');
            this.pen.textContent = '';
        } else {
            this.pen.setAttribute('aria-valuemax', String(Math.max(0, count - 1)));
            this.pen.setAttribute('aria-valuenow', String(point.index));
            this.pen.setAttribute('aria-valuetext', point.text ?? '');
            this.pen.textContent = point.text ?? '';
        }
        this.DrawReadout();
    }

    ShowMouse(text)
    {
        this.mouseText = text;
        this.mouse.textContent = text;
        this.DrawReadout();
    }

    // The labels' text in plane pixels: about the page's own size on
    // screen, never below the 12 pixels of the desktop's readout.
    ReadoutFont()
    {
        const pixels = Math.max(12, Math.round(13 * devicePixelRatio / this.factor));
        return { pixels, line: Math.round(pixels * 1.25), across: Math.max(4, Math.floor(pixels / 3)),
                 down: Math.max(2, Math.floor(pixels / 6)) };
    }

    // Where the pen's and the mouse's boxes stand (ReadoutPlacement.mjs), in
    // plane pixels: {pen, mouse}, each null when not shown.
    ReadoutLayout()
    {
        if (!this.readoutOn)
            return { pen: null, mouse: null };
        const font = this.ReadoutFont();
        const context = this.layerContext;
        context.font = `${font.pixels}px sans-serif`;
        const measure = lines => {
            const rows = lines.split('\n');
            const width = Math.max(...rows.map(row => Math.ceil(context.measureText(row).width)));
            return { width: width + 2 * font.across, height: rows.length * font.line + 2 * font.down };
        };
        const plane = Rect(0, 0, PlaneSize, PlaneSize);
        const mouseAt = this.mouseText ? this.mouseAt : null;
        const cursor = mouseAt ? [Rect(mouseAt.x - 3, mouseAt.y - 3, 7, 7)] : [];
        const point = this.penPoint;
        const placed = point && Number.isFinite(point.px) && Number.isFinite(point.py) ? { x: point.px, y: point.py }
            : null;
        const pen = point?.text ? PenLayout({ text: point.text, at: placed, plane, measure, arrowLength: font.line,
                                              keepClear: cursor }) : null;
        const mouse = MouseLayout({ text: this.mouseText, at: mouseAt, plane, measure, keepClear: PenAreas(pen) });
        return { pen, mouse, font };
    }

    DrawReadout()
    {
        const context = this.layerContext;
        context.setTransform(1, 0, 0, 1, 0, 0);
        context.clearRect(0, 0, this.layer.width, this.layer.height);
        const { pen, mouse, font } = this.ReadoutLayout();
        this.layer.dataset.pen = pen ? JSON.stringify(pen) : '';
        this.layer.dataset.mouse = mouse ? JSON.stringify(mouse) : '';
        const scale = this.layer.width / PlaneSize;
        context.setTransform(scale, 0, 0, scale, 0, 0);
        if (pen?.ring) {
            // A dark ring on a white halo shows on any curve and on the axes,
            // and leaves the point itself to be seen inside it.
            const x = this.penPoint.px + 0.5, y = this.penPoint.py + 0.5;
            for (const [colour, width] of [['#ffffff', 4], ['#000000', 2]]) {
                context.lineWidth = width;
                context.strokeStyle = colour;
                context.beginPath();
                context.arc(x, y, RingRadius, 0, 2 * Math.PI);
                context.stroke();
            }
        }
        for (const label of [pen, mouse].filter(Boolean)) {
            const { box } = label;
            const arrow = label.arrow?.length ? label.arrow : null;
            const Triangle = () => {
                context.beginPath();
                for (const [i, point] of arrow.entries())
                    context[i ? 'lineTo' : 'moveTo'](point.x + 0.5, point.y + 0.5);
                context.closePath();
            };
            // Both outlines first, then both insides over them: box and
            // arrow read as one shape, outlined once.
            context.fillStyle = LabelBackground;
            context.strokeStyle = LabelBorder;
            context.lineWidth = 1;
            context.strokeRect(box.left + 0.5, box.top + 0.5, box.width - 1, box.height - 1);
            if (arrow) {
                Triangle();
                context.stroke();
                context.fill();
            }
            context.fillRect(box.left + 1, box.top + 1, box.width - 2, box.height - 2);
            context.fillStyle = '#000000';
            context.textBaseline = 'top';
            context.font = `${font.pixels}px sans-serif`;
            label.lines.split('\n').forEach((row, i) =>
                context.fillText(row, box.left + font.across, box.top + font.down + i * font.line
                                 + Math.round((font.line - font.pixels) / 2)));
        }
    }
}
