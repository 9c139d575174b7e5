// SPDX-License-Identifier: GPL-3.0-or-later
// The page on a phone and on a monitor: the plane a whole number of device
// pixels per plane pixel, the panel below the plane on a phone and beside it
// on a monitor, and no page wider than the screen.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import { OpenBrowser } from './support/Browser.mjs';

let session;

before(async () => {
    session = await OpenBrowser();
});

after(async () => {
    await session?.Close();
});

// The plane's size and place in device pixels as the browser lays it out
// (rounded to a hundredth, to see a fraction that should not be there).
async function Measure(page)
{
    return page.evaluate(() => new Promise(resolve => {
        const canvas = document.getElementById('plane');
        requestAnimationFrame(() => {
            const plane = canvas.getBoundingClientRect();
            const panel = document.getElementById('panel').getBoundingClientRect();
            const device = value => Math.round(value * devicePixelRatio * 100) / 100;
            resolve({
                deviceWidth: device(plane.width), deviceHeight: device(plane.height),
                deviceLeft: device(plane.left), deviceTop: device(plane.top),
                factor: Number(document.getElementById('plane-frame').dataset.factor),
                rendering: getComputedStyle(canvas).imageRendering,
                planeTop: plane.top, planeBottom: plane.bottom, planeLeft: plane.left,
                panelTop: panel.top, panelRight: panel.right,
                pageWidth: document.documentElement.scrollWidth, viewWidth: innerWidth,
            });
        });
    }));
}

// Every plane pixel on the screen as exactly factor x factor device pixels:
// a checkerboard of single pixels put on the plane, the screen taken as the
// user sees it, and the runs of equal colour counted along a row and down a
// column through the middle of the plane.
async function PixelRuns(page)
{
    await page.evaluate(() => {
        const canvas = document.getElementById('plane');
        const image = new ImageData(500, 500);
        for (let y = 0; y < 500; ++y) {
            for (let x = 0; x < 500; ++x) {
                const on = (x + y) % 2 === 0 ? 0 : 255;
                image.data.set([on, on, on, 255], (y * 500 + x) * 4);
            }
        }
        canvas.getContext('2d').putImageData(image, 0, 0);
    });
    const box = await page.$eval('#plane', canvas => {
        canvas.scrollIntoView();
        const r = canvas.getBoundingClientRect();
        return { x: r.left, y: r.top, width: r.width, height: r.height };
    });
    const shot = await page.screenshot({ encoding: 'base64', captureBeyondViewport: false });
    return page.evaluate(async (shot, box) => {
        const bytes = Uint8Array.from(atob(shot), c => c.charCodeAt(0));
        const bitmap = await createImageBitmap(new Blob([bytes], { type: 'image/png' }));
        const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
        const context = canvas.getContext('2d');
        context.drawImage(bitmap, 0, 0);
        const ratio = devicePixelRatio;
        const runs = (x0, y0, dx, dy, count) => {
            // Runs of the plane's black and white; the page around it
            // (its background, the frame) is of other greys and is passed
            // over, a blend of the two inside the plane is not.
            const line = context.getImageData(x0, y0, dx ? count : 1, dy ? count : 1).data;
            const found = [];
            let last = -1;
            for (let i = 0; i < count; ++i) {
                const value = line[i * 4];
                const plane = (value === 0 || value === 255) && line[i * 4 + 3] === 255;
                if (plane && value === last)
                    found[found.length - 1] += 1;
                else if (plane)
                    found.push(1);
                else if (found.length > 0 && i < count - 8)
                    found.push(NaN);
                last = plane ? value : -1;
            }
            while (Number.isNaN(found[found.length - 1]))
                found.pop();
            return found;
        };
        const left = Math.floor(box.x * ratio) - 4;
        const top = Math.floor(box.y * ratio) - 4;
        const size = Math.round(box.width * ratio);
        const row = runs(left, top + Math.floor(size / 2) + 5, 1, 0, size + 8);
        const column = runs(left + Math.floor(size / 2) + 5, top, 0, 1, size + 8);
        const same = list => (list.every(n => n === list[0]) ? list[0]
            : JSON.stringify(list.map((n, i) => [i, n]).filter(([, n]) => n !== list[1]).slice(0, 12)));
        return { runs: row.length, length: same(row), rows: column.length, rowLength: same(column) };
    }, shot, box);
}

const Screens = [
    // name, width, height, ratio, factor, the panel below the plane
    ['a phone at 3', 360, 740, 3, 2, true],
    ['a phone at 2', 360, 740, 2, 1, true],
    ['a phone at 2.625', 412, 915, 2.625, 2, true],
    ['a monitor at 1', 1280, 900, 1, 1, false],
    ['a monitor at 2', 1280, 900, 2, 2, false],
    ['a monitor at 1.5 with room for twice the plane', 1280, 1000, 1.5, 2, false],
    ['a monitor at 1.5 too low for it', 1280, 600, 1.5, 1, false],
];

for (const [name, width, height, ratio, factor, below] of Screens) {
    test(`${name} (${width} px wide)`, async () => {
        const page = await session.NewPage({ width, height, ratio });
        const seen = await Measure(page);
        assert.equal(seen.factor, factor);
        // Laid out to the browser's sixty-fourth of a pixel, painted on whole ones.
        assert.ok(Math.abs(seen.deviceWidth - 500 * factor) < 0.5, `${seen.deviceWidth}`);
        assert.ok(Math.abs(seen.deviceHeight - 500 * factor) < 0.5, `${seen.deviceHeight}`);
        assert.deepEqual(await PixelRuns(page), { runs: 500, length: factor, rows: 500, rowLength: factor });
        assert.equal(seen.rendering, 'pixelated');
        if (below) {
            assert.ok(seen.panelTop >= seen.planeBottom, 'the panel below the plane');
        } else {
            assert.ok(seen.panelRight <= seen.planeLeft, 'the panel beside the plane');
            assert.ok(seen.planeBottom <= height, 'the plane within the window\'s height');
        }
        assert.ok(seen.pageWidth <= seen.viewWidth, `the page is ${seen.pageWidth} px wide in ${seen.viewWidth}`);
        await page.close();
    });
}

test('a phone at 1 keeps the factor 1: the plane scrolls, the page does not', async () => {
    const page = await session.NewPage({ width: 360, height: 740, ratio: 1 });
    const seen = await Measure(page);
    assert.equal(seen.factor, 1);
    assert.equal(seen.deviceWidth, 500);
    assert.ok(seen.pageWidth <= seen.viewWidth);
    assert.equal(await page.$eval('#plane-room', room => room.scrollWidth > room.clientWidth), true);
    await page.close();
});

test('the factor follows the window', async () => {
    const page = await session.NewPage({ width: 1280, height: 1000, ratio: 1.5 });
    assert.equal((await Measure(page)).factor, 2);
    await page.setViewport({ width: 1280, height: 600, deviceScaleFactor: 1.5 });
    await page.waitForFunction(() => document.getElementById('plane-frame').dataset.factor === '1');
    assert.ok(Math.abs((await Measure(page)).deviceWidth - 500) < 0.5);
    await page.close();
});
