// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures the page saves: the SVG the core writes without the toolkit
// is a document the browser reads, holds the curve's points and the axes'
// numbers, and shows the plane's picture (drawn by the browser, its curve
// and axes lie where the plane's pixels are); the animation of a trace is
// the renderer's GIF of the same press, byte for byte.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';

import { CoreSkip, OpenBrowser, Site, TemporaryFolder } from './support/Browser.mjs';
import { Render, RenderSkip } from './support/Render.mjs';

const site = Site();
const skip = CoreSkip(site.root);
let session;

before(async () => {
    session = await OpenBrowser({ site });
});

after(async () => {
    await session?.Close();
});

const Folium = JSON.stringify({
    'paramcurve-lesson': 1,
    drawn: [{ x: '3*t/(1+t^3)', y: '3*t^2/(1+t^3)', x1: '-3', x2: '3', y1: '-3', y2: '3', t1: '-20', t2: '20' }],
});

test('the SVG is read by the browser, holds the points and numbers, and shows the plane', { skip }, async () => {
    const page = await session.NewPage();
    const result = await page.evaluate(async lesson => {
        const program = globalThis.paramcurve;
        await program.OpenLessonBytes(new TextEncoder().encode(lesson).buffer, 'z testu');
        const { text } = await program.core.Request('svg');
        const svg = new DOMParser().parseFromString(text, 'image/svg+xml');
        const curve = [...svg.querySelectorAll('polyline')].filter(line => line.getAttribute('stroke') === '#0000c8');
        const points = curve.map(line => line.getAttribute('points').trim().split(/\s+/).length);
        const numbers = [...svg.querySelectorAll('text')].map(t => t.textContent);

        // The browser's drawing of the SVG beside the plane's pixels.
        const image = new Image();
        image.src = URL.createObjectURL(new Blob([text], { type: 'image/svg+xml' }));
        await image.decode();
        const canvas = new OffscreenCanvas(500, 500);
        const context = canvas.getContext('2d');
        context.drawImage(image, 0, 0, 500, 500);
        const drawn = context.getImageData(0, 0, 500, 500).data;
        const plane = document.getElementById('plane').getContext('2d').getImageData(0, 0, 500, 500).data;
        // A pixel of the plane's colour has one of that hue within a pixel
        // in the SVG's drawing (antialiased: blue or red above the rest).
        const Hue = (data, i, colour) => colour === 'blue' ? data[i + 2] > data[i] + 60 && data[i + 2] > data[i + 1] + 60
            : data[i] > data[i + 1] + 60 && data[i] > data[i + 2] + 60;
        const matched = { blue: [0, 0], red: [0, 0] };
        for (let y = 1; y < 499; ++y) {
            for (let x = 1; x < 499; ++x) {
                const i = (y * 500 + x) * 4;
                for (const colour of ['blue', 'red']) {
                    const exact = colour === 'blue' ? plane[i] === 0 && plane[i + 1] === 0 && plane[i + 2] === 200
                        : plane[i] > 200 && plane[i + 1] === 0 && plane[i + 2] === 0;
                    if (!exact)
                        continue;
                    ++matched[colour][0];
                    let near = false;
                    for (let dy = -1; dy <= 1 && !near; ++dy) {
                        for (let dx = -1; dx <= 1 && !near; ++dx)
                            near = Hue(drawn, ((y + dy) * 500 + x + dx) * 4, colour);
                    }
                    matched[colour][1] += near ? 1 : 0;
                }
            }
        }
        return { parseError: !!svg.querySelector('parsererror'), root: svg.documentElement.getAttribute('viewBox'),
                 points, numbers, pen: program.document.penCount, matched };
    }, Folium);
    assert.equal(result.parseError, false);
    assert.equal(result.root, '0 0 500 500');
    // One polyline through every traced point that reached the plane.
    assert.ok(result.points.length >= 1);
    assert.ok(result.points.reduce((a, b) => a + b, 0) <= result.pen);
    assert.ok(result.points.reduce((a, b) => a + b, 0) > result.pen / 2);
    for (const number of ['*10', '-2', '-1', '1'])
        assert.ok(result.numbers.includes(number), number);
    for (const colour of ['blue', 'red']) {
        const [pixels, near] = result.matched[colour];
        assert.ok(pixels > 200, `${colour}: ${pixels} pixels on the plane`);
        console.log(`${colour}: ${near} of ${pixels} plane pixels shown by the SVG`);
        assert.ok(near / pixels > 0.97, `${colour}: ${near} of ${pixels} shown by the SVG`);
    }
    await page.close();
});

// Both SVG documents drawn by the browser: each coloured pixel of the one
// has one of its hue within a pixel in the other.
test('the page\'s SVG shows what the desktop\'s SVG shows', { skip: skip || RenderSkip() }, async () => {
    const folder = TemporaryFolder('svg');
    const lesson = path.join(folder, 'folium.paramcurve');
    fs.writeFileSync(lesson, Folium);
    const desktop = path.join(folder, 'folium.svg');
    assert.equal(Render([lesson, '-o', desktop]).status, 0);
    const page = await session.NewPage();
    const matched = await page.evaluate(async (lesson, desktopText) => {
        const program = globalThis.paramcurve;
        await program.OpenLessonBytes(new TextEncoder().encode(lesson).buffer, 'z testu');
        const { text } = await program.core.Request('svg');
        const Drawn = async svg => {
            const image = new Image();
            image.src = URL.createObjectURL(new Blob([svg], { type: 'image/svg+xml' }));
            await image.decode();
            const canvas = new OffscreenCanvas(500, 500);
            const context = canvas.getContext('2d');
            context.fillStyle = '#ffffff';
            context.fillRect(0, 0, 500, 500);
            context.drawImage(image, 0, 0, 500, 500);
            return context.getImageData(0, 0, 500, 500).data;
        };
        const ours = await Drawn(text);
        const theirs = await Drawn(desktopText);
        const Hue = (data, i) => data[i + 2] > data[i] + 60 && data[i + 2] > data[i + 1] + 60 ? 'blue'
            : data[i] > data[i + 1] + 60 && data[i] > data[i + 2] + 60 ? 'red' : null;
        const Near = (a, b) => {
            let pixels = 0, near = 0;
            for (let y = 1; y < 499; ++y) {
                for (let x = 1; x < 499; ++x) {
                    const hue = Hue(a, (y * 500 + x) * 4);
                    if (!hue)
                        continue;
                    ++pixels;
                    let found = false;
                    for (let dy = -1; dy <= 1 && !found; ++dy) {
                        for (let dx = -1; dx <= 1 && !found; ++dx)
                            found = Hue(b, ((y + dy) * 500 + x + dx) * 4) === hue;
                    }
                    near += found ? 1 : 0;
                }
            }
            return [pixels, near];
        };
        return { ours: Near(ours, theirs), theirs: Near(theirs, ours) };
    }, Folium, fs.readFileSync(desktop, 'utf8'));
    for (const [which, [pixels, near]] of Object.entries(matched)) {
        console.log(`${which}: ${near} of ${pixels} coloured pixels found in the other`);
        assert.ok(pixels > 1000 && near / pixels > 0.97, `${which}: ${near} of ${pixels}`);
    }
    fs.rmSync(folder, { recursive: true, force: true });
    await page.close();
});

test('the animation of a trace is the renderer\'s GIF of the press, byte for byte', { skip: skip || RenderSkip() },
     async () => {
    const folder = TemporaryFolder('gif');
    const page = await session.NewPage();
    await page.$eval('[data-key="segments"]', field => { field.value = '12'; });
    await (await page.$('aria/Descartův list[role="radio"]')).click();
    await page.click('#draw');
    await page.waitForFunction(() => /nakreslena celá/.test(document.getElementById('plane').getAttribute('aria-description')));
    const bytes = Buffer.from(await page.evaluate(async () => {
        const { bytes } = await globalThis.paramcurve.core.Request('gif');
        return Array.from(new Uint8Array(bytes));
    }));
    assert.equal(bytes.subarray(0, 6).toString(), 'GIF89a');
    const file = path.join(folder, 'trace.gif');
    const run = Render(['--preset', 'descartuv-list', '--segments', '12', '-o', file]);
    assert.equal(run.status, 0, run.stderr);
    assert.ok(fs.readFileSync(file).equals(bytes), 'the same file');
    fs.rmSync(folder, { recursive: true, force: true });
    await page.close();
});
