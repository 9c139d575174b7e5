// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures the page saves: the SVG the core writes without the toolkit
// is a document the browser reads, holds the curve's points and the axes'
// numbers, and shows the plane's picture (drawn by the browser, its curve
// and axes lie where the plane's pixels are); the animation of a trace is
// the renderer's GIF of the same press, byte for byte; the print carries a
// caption line for each press under the plane, and a PNG enlarged twice is
// the plane's pixels in 2 x 2 blocks.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';

import { CoreSkip, OpenBrowser, Site, TemporaryFolder } from './support/Browser.mjs';
import { DecodePng } from './support/Png.mjs';
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

async function SetField(page, name, text)
{
    const field = await page.$(`aria/${name}`);
    await field.click({ count: 3 });
    await page.keyboard.press('Backspace');
    await field.type(text);
}

// "Tisk…" with the browser's print dialog left out: the print sheet as the
// printer would be given it.
async function PrintSheet(page)
{
    await page.evaluate(() => { window.print = () => { window.printed = true; }; });
    await page.keyboard.down('Control');
    await page.keyboard.press('KeyP');
    await page.keyboard.up('Control');
    await page.waitForFunction(() => window.printed === true);
}

test('the print carries a caption line for each press under the plane, wrapped on the page', { skip }, async () => {
    const page = await session.NewPage({ width: 700 });
    await SetField(page, 'počet segmentů', '4');
    await page.click('#draw');
    await page.waitForFunction(() => /1 křivka/.test(document.getElementById('plane').getAttribute('aria-description')));
    await SetField(page, 'x =', 'k*t');
    await SetField(page, 'y =', 't');
    await page.click('#draw');
    await page.waitForFunction(() => /2 křivky/.test(document.getElementById('plane').getAttribute('aria-description')));
    await PrintSheet(page);
    const sheet = await page.$eval('#print-sheet', sheet => ({
        order: [...sheet.children].map(child => child.tagName),
        lines: [...sheet.querySelectorAll('.print-captions > *')].map(line =>
            ({ tag: line.tagName, text: line.textContent, nodes: [...line.childNodes].map(node => node.nodeType) })),
    }));
    assert.deepEqual(sheet.order, ['IMG', 'DIV'], 'the captions under the plane');
    const window = 'zorné pole x od -4 do 4, y od -4 do 4; parametr t od 0 do 2*pi; počet segmentů 4';
    assert.deepEqual(sheet.lines.map(line => line.text), [
        `1. x = 3*cos(t), y = 3*sin(t); ${window}`,
        `2. x = k*t, y = t; ${window}; k = 0`,
    ]);
    // Text only, one node a line.
    assert.deepEqual(sheet.lines.map(line => [line.tag, line.nodes]), [['P', [3]], ['P', [3]]]);  // Node.TEXT_NODE

    // On paper: the sheet alone, the plane above the lines, each line whole
    // within the page's width (wrapped, not cut).
    await page.emulateMediaType('print');
    const printed = await page.$eval('#print-sheet', sheet => {
        const image = sheet.querySelector('img').getBoundingClientRect();
        const lines = [...sheet.querySelectorAll('.print-captions > p')].map(line => {
            const box = line.getBoundingClientRect();
            return { top: box.top, left: box.left, right: box.right, height: box.height,
                     overflows: line.scrollWidth > line.clientWidth };
        });
        return { shown: getComputedStyle(sheet).display !== 'none', imageBottom: image.bottom,
                 width: document.documentElement.clientWidth, lines,
                 lineHeight: parseFloat(getComputedStyle(sheet.querySelector('.print-captions > p')).lineHeight) };
    });
    await page.emulateMediaType(null);
    assert.equal(printed.shown, true);
    for (const line of printed.lines) {
        assert.ok(line.top >= printed.imageBottom, 'under the plane');
        assert.ok(line.left >= 0 && line.right <= printed.width && !line.overflows, JSON.stringify(line));
    }
    assert.ok(printed.lines[0].height > 1.5 * printed.lineHeight, 'a long line wraps');
    await page.close();
});

test('"Obrázek PNG, 2× větší" downloads each plane pixel as a 2 x 2 block', { skip }, async () => {
    const page = await session.NewPage();
    const folder = TemporaryFolder('download');
    const cdp = await page.createCDPSession();
    await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: folder });
    await page.evaluate(async lesson => {
        await globalThis.paramcurve.OpenLessonBytes(new TextEncoder().encode(lesson).buffer, 'z testu');
    }, Folium);
    const plane = Buffer.from(await page.$eval('#plane', canvas =>
        [...canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data]));
    await page.keyboard.down('Control');
    await page.keyboard.press('KeyS');
    await page.keyboard.up('Control');
    await page.waitForSelector('#picture-box[open]');
    const types = await page.$$eval('#picture-box input[name="picture-type"]', inputs =>
        inputs.map(input => input.parentElement.textContent.trim()));
    assert.deepEqual(types, ['Obrázek PNG (*.png)', 'Obrázek PNG, 2× větší (*.png)', 'Obrázek PNG, 4× větší (*.png)',
                             'Obrázek SVG (*.svg)']);
    await (await page.$('aria/Obrázek PNG, 2× větší (*.png)[role="radio"]')).click();
    await page.$eval('#picture-name', field => { field.value = 'dvakrat'; });
    await page.click('#picture-box button[value="save"]');
    const file = path.join(folder, 'dvakrat.png');
    for (let i = 0; i < 200 && !fs.existsSync(file); ++i)
        await new Promise(resolve => setTimeout(resolve, 50));
    const png = DecodePng(fs.readFileSync(file));
    assert.deepEqual([png.width, png.height], [1000, 1000]);
    let differing = 0, coloured = 0;
    for (let y = 0; y < 1000; ++y) {
        for (let x = 0; x < 1000; ++x) {
            const at = (y * 1000 + x) * 3, from = ((y >> 1) * 500 + (x >> 1)) * 4;
            differing += png.rgb[at] !== plane[from] || png.rgb[at + 1] !== plane[from + 1]
                || png.rgb[at + 2] !== plane[from + 2] ? 1 : 0;
            coloured += plane[from + 2] === 200 && plane[from] === 0 ? 1 : 0;
        }
    }
    assert.ok(coloured > 400, 'the curve is in the picture');
    assert.equal(differing, 0);
    fs.rmSync(folder, { recursive: true, force: true });
    await page.close();
});
