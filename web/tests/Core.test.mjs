// SPDX-License-Identifier: GPL-3.0-or-later
// The page with the core drawing: a press traced at its tempo and measured,
// Enter drawing, Esc stopping a long trace and a formula that takes long,
// input held during a trace and carried out after it, the boxes of a formula
// error and a fault with their fields focused, a lesson opened from a file,
// a zoom writing the window into the fields, the variables' slider, and the
// readout's boxes on the plane.
// Each needs the core compiled to WebAssembly, and is skipped without it.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';

import { Contains, Intersects, Rect } from '../src/ReadoutPlacement.mjs';
import { CoreSkip, FocusedName, OpenBrowser, Site, TemporaryFolder } from './support/Browser.mjs';

const site = Site();
const skip = CoreSkip(site.root);
let session;

before(async () => {
    session = await OpenBrowser({ site });
});

after(async () => {
    await session?.Close();
});

const Described = (page, pattern, timeout = 20000) => page.waitForFunction(
    source => new RegExp(source).test(document.getElementById('plane').getAttribute('aria-description')),
    { timeout }, pattern.source);

async function SetField(page, name, text)
{
    const field = await page.$(`aria/${name}`);
    await field.click({ count: 3 });
    await page.keyboard.press('Backspace');
    await field.type(text);
}

function BluePixels(page)
{
    return page.$eval('#plane', canvas => {
        const data = canvas.getContext('2d').getImageData(0, 0, 500, 500).data;
        let count = 0;
        for (let i = 0; i < data.length; i += 4)
            count += data[i] === 0 && data[i + 1] === 0 && data[i + 2] === 200 ? 1 : 0;
        return count;
    });
}

test('Kresli traces the circle at 50 ms a step and measures it', { skip }, async () => {
    const page = await session.NewPage();
    await SetField(page, 'počet segmentů', '20');
    await page.click('#draw');
    await Described(page, /1 křivka.*nakreslena celá/);
    assert.ok(await BluePixels(page) > 100);
    const measures = await page.evaluate(() => performance.getEntriesByName('paramcurve-trace').map(m => m.duration));
    assert.equal(measures.length, 1);
    // Never quicker than (20 + 1) x 50 ms. How little more it takes is measured
    // alone, on a quiet page (Measures.test.mjs): here other tests and the
    // fuzz runs share the machine, and a first trace also waits on the core.
    assert.ok(measures[0] >= 21 * 50 - 5, `${measures[0]} ms`);
    assert.equal(await page.$eval('#menu-saveAnimation', e => e.disabled), false);
    await page.close();
});

test('Enter in a field draws', { skip }, async () => {
    const page = await session.NewPage();
    await SetField(page, 'počet segmentů', '4');
    await page.keyboard.press('Enter');
    await Described(page, /1 křivka/);
    await page.close();
});

test('Esc stops a trace, keeping what is drawn', { skip }, async () => {
    const page = await session.NewPage();
    await SetField(page, 'počet segmentů', '1000');
    await page.click('#draw');
    await page.waitForFunction(() => document.body.classList.contains('busy'));
    await page.keyboard.press('Escape');
    await Described(page, /zastavena po \d+ bodech/, 2000);
    await page.close();
});

test('Esc answers inside a formula that takes long', { skip }, async () => {
    const page = await session.NewPage();
    await SetField(page, 'x =', 'fa(100000000)*t');
    await SetField(page, 'počet segmentů', '3');
    await page.click('#draw');
    await new Promise(resolve => setTimeout(resolve, 300));
    const asked = Date.now();
    await page.keyboard.press('Escape');
    await page.waitForFunction(() => !document.body.classList.contains('busy'), { timeout: 3000 });
    assert.ok(Date.now() - asked < 2000);
    // The page answers again at once.
    await (await page.$('aria/šikmý vrh[role="radio"]')).click();
    assert.equal(await page.$eval('#field-x', e => e.value), '14*t*cos(80*pi/180)');
    await page.close();
});

test('input during a trace is held and carried out in order after it', { skip }, async () => {
    const page = await session.NewPage();
    await SetField(page, 'počet segmentů', '30');
    await page.click('#draw');
    await page.waitForFunction(() => document.body.classList.contains('busy'));
    // A preset, then typing into the segment field: neither before the end.
    await (await page.$('aria/dráha planety[role="radio"]')).click();
    await page.focus('#field-x');
    await page.keyboard.type('+1');
    assert.equal(await page.$eval('#field-x', e => e.value), '3*cos(t)');
    await Described(page, /1 křivka.*nakreslena celá/);
    await page.waitForFunction(() => document.getElementById('field-x').value.endsWith('+1'));
    assert.equal(await page.$eval('#field-x', e => e.value), '-1/(1+0.8*cos(t))*cos(t)+1');
    await page.close();
});

test('a formula error: the box "Error" with its second line, the field focused', { skip }, async () => {
    const page = await session.NewPage();
    await SetField(page, 'Parametr t, konec', '2**pi');
    await page.click('#draw');
    await page.waitForSelector('#message-box[open]');
    assert.equal(await page.$eval('#message-title', e => e.textContent), 'Error');
    assert.deepEqual(await page.$$eval('#message-text p', ps => ps.map(p => p.textContent)),
                     ['Chybny vyraz', 'Pole: t, konec']);
    await page.keyboard.press('Escape');
    await page.waitForSelector('#message-box:not([open])');
    assert.equal(await FocusedName(page), 'Parametr t, konec');
    // Its whole text selected, ready to be mended.
    assert.deepEqual(await page.evaluate(() => [document.activeElement.selectionStart, document.activeElement.selectionEnd]),
                     [0, 5]);
    await page.close();
});

test('a fault: the box "Paramcurve" with its cause, the advised field focused', { skip }, async () => {
    const page = await session.NewPage();
    await SetField(page, 'počet segmentů', '0');
    await page.click('#draw');
    await page.waitForSelector('#message-box[open]');
    assert.equal(await page.$eval('#message-title', e => e.textContent), 'Paramcurve');
    assert.deepEqual(await page.$$eval('#message-text p', ps => ps.map(p => p.textContent)),
                     ['Floating point division by zero.', 'Počet segmentů je 0.']);
    await page.keyboard.press('Enter');
    assert.equal(await FocusedName(page), 'počet segmentů');
    await page.close();
});

test('a lesson file opened: drawn again and the panel filled', { skip }, async () => {
    const folder = TemporaryFolder('lesson');
    const file = path.join(folder, 'kruh.paramcurve');
    fs.writeFileSync(file, JSON.stringify({
        'paramcurve-lesson': 1,
        panel: { x: '2*cos(t)', y: '2*sin(t)', segments: '60', color: '#00a000' },
        drawn: [{ x: '3*cos(t)', y: '3*sin(t)', segments: '100' }],
    }));
    const page = await session.NewPage();
    // The file as "Otevřít lekci…" hands it over (its chooser and Ctrl+O are
    // the menu's test).
    await (await page.$('#lesson-file')).uploadFile(file);
    await Described(page, /1 křivka.*x = 3\*cos\(t\)/);
    assert.equal(await page.$eval('#field-x', e => e.value), '2*cos(t)');
    assert.equal(await page.$eval('#colour', e => e.value), '#00a000');
    fs.rmSync(folder, { recursive: true, force: true });
    await page.close();
});

test('the pen\'s point copied as the readout shows it (a spreadsheet\'s cells) and exactly', { skip }, async () => {
    const page = await session.NewPage();
    await page.browserContext().overridePermissions(session.address, ['clipboard-read', 'clipboard-write',
                                                                      'clipboard-sanitized-write']);
    await SetField(page, 'počet segmentů', '4');
    await page.click('#draw');
    await Described(page, /1 křivka/);
    const copied = async shift => {
        await page.evaluate(() => navigator.clipboard.writeText(''));
        await page.focus('#plane');
        await page.keyboard.down('Control');
        if (shift)
            await page.keyboard.down('Shift');
        await page.keyboard.press('KeyC');
        if (shift)
            await page.keyboard.up('Shift');
        await page.keyboard.up('Control');
        await page.waitForFunction(() => navigator.clipboard.readText().then(text => text !== ''), { timeout: 5000 });
        return page.evaluate(() => navigator.clipboard.readText());
    };
    // The pen at t = 2*pi + pi/2: x is cos's rounding, far below a pixel, and
    // reads 0 as shown; the exact copy keeps it.
    assert.equal(await copied(false), '7,85398\t0\t3');
    assert.match(await copied(true), /^7\.853981633974483;-?[0-9.]+e-1[0-9];3$/);
    await page.close();
});

test('leaving asks while presses are not saved as a lesson, as ending the desktop program does', { skip },
     async () => {
    const page = await session.NewPage();
    const folder = TemporaryFolder('unsaved');
    const cdp = await page.createCDPSession();
    await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: folder });
    const asks = () => page.evaluate(() => {
        const leaving = new Event('beforeunload', { cancelable: true });
        dispatchEvent(leaving);
        return leaving.defaultPrevented;
    });
    const keys = async (...pressed) => {
        for (const key of pressed.slice(0, -1))
            await page.keyboard.down(key);
        await page.keyboard.press(pressed.at(-1));
        for (const key of pressed.slice(0, -1).reverse())
            await page.keyboard.up(key);
    };
    assert.equal(await asks(), false, 'nothing drawn');
    await SetField(page, 'počet segmentů', '4');
    await page.click('#draw');
    await Described(page, /1 křivka/);
    assert.equal(await asks(), true, 'a press not saved');
    await keys('Control', 'Shift', 'KeyS');
    const file = path.join(folder, 'lekce.paramcurve');
    for (let i = 0; i < 100 && (await asks()); ++i)
        await new Promise(resolve => setTimeout(resolve, 50));
    assert.equal(await asks(), false, 'saved');
    assert.ok(fs.readdirSync(folder).some(name => name.endsWith('.paramcurve')), fs.readdirSync(folder).join(', '));
    await page.click('#draw');
    await Described(page, /2 křivky/);
    assert.equal(await asks(), true, 'another press');
    await page.click('#clear');
    await Described(page, /Prázdná rovina/);
    for (let i = 0; i < 100 && (await asks()); ++i)
        await new Promise(resolve => setTimeout(resolve, 50));
    assert.equal(await asks(), false, 'a wiped plane loses nothing');
    fs.rmSync(folder, { recursive: true, force: true });
    await page.close();
});

test('the wheel zooms, writes the window into the fields and is measured', { skip }, async () => {
    const page = await session.NewPage();
    await SetField(page, 'počet segmentů', '10');
    await page.click('#draw');
    await Described(page, /nakreslena celá/);
    const box = await (await page.$('#plane')).boundingBox();
    await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
    await page.mouse.wheel({ deltaY: -100 });
    await page.waitForFunction(() => document.querySelector('[data-key="x1"]').value !== '-4');
    assert.equal(await page.$eval('#menu-originalWindow', e => e.disabled), false);
    assert.ok((await page.evaluate(() => performance.getEntriesByName('paramcurve-redraw').length)) >= 1);
    await page.keyboard.down('Control');
    await page.keyboard.press('Digit0');
    await page.keyboard.up('Control');
    await page.waitForFunction(() => document.querySelector('[data-key="x1"]').value === '-4');
    await page.close();
});

test('the slider redraws the last press with each value', { skip }, async () => {
    const page = await session.NewPage();
    await SetField(page, 'x =', 'k*cos(t)');
    await SetField(page, 'počet segmentů', '10');
    await page.click('#draw');
    await page.waitForSelector('#variables:not([hidden])');
    await Described(page, /nakreslena celá/);
    await page.focus('#row-k input[type="range"]');
    await page.keyboard.press('ArrowRight');
    await page.waitForFunction(() => document.getElementById('value-k').value === '0.1');
    await page.keyboard.press('End');
    await page.waitForFunction(() => document.getElementById('value-k').value === '10');
    await page.close();
});

test('the readout\'s boxes stand on the plane clear of the ring, the mouse and each other; a pen off it is pointed at',
     { skip }, async () => {
    const page = await session.NewPage();
    await SetField(page, 'počet segmentů', '8');
    await page.click('#draw');
    await Described(page, /1 křivka/);
    await page.focus('#plane');
    await page.keyboard.press('F2');
    // The pen's label once it has a ring, or an arrow.
    const PenWith = async part => {
        await page.waitForFunction(part => {
            const pen = JSON.parse(document.getElementById('readout-layer').dataset.pen || 'null');
            return part === 'ring' ? pen?.ring != null : pen?.arrow?.length === 3;
        }, {}, part);
        return page.$eval('#readout-layer', layer => JSON.parse(layer.dataset.pen));
    };
    const OnPlane = box => Contains(Rect(0, 0, 500, 500), box);
    const pen = await PenWith('ring');
    assert.ok(OnPlane(pen.box) && !Intersects(pen.box, pen.ring), JSON.stringify(pen));
    // The pen on the last point, a step past 2*pi: t = 9*pi/4, x = y =
    // 2.12132, 62.5 pixels a unit from the middle: the pixel (383, 117).
    assert.deepEqual([pen.ring.left + 9, pen.ring.top + 9], [383, 117]);

    // The mouse on the pen's box: the pen's box makes way for the point,
    // the mouse's keeps clear of the pen's.
    const plane = await (await page.$('#plane')).boundingBox();
    const cursor = { x: pen.box.left + 5, y: pen.box.top + 5 };
    await page.mouse.move(plane.x + cursor.x + 0.5, plane.y + cursor.y + 0.5);
    await page.waitForFunction(() => document.getElementById('readout-layer').dataset.mouse !== '');
    const both = await page.$eval('#readout-layer', layer => [JSON.parse(layer.dataset.pen), JSON.parse(layer.dataset.mouse)]);
    const [moved, mouse] = both;
    const point = Rect(cursor.x - 3, cursor.y - 3, 7, 7);
    assert.ok(OnPlane(moved.box) && OnPlane(mouse.box), JSON.stringify(both));
    for (const [name, a, b] of [['pen, point', moved.box, point], ['pen, ring', moved.box, moved.ring],
                                ['mouse, point', mouse.box, point], ['mouse, pen', mouse.box, moved.box],
                                ['mouse, ring', mouse.box, moved.ring]])
        assert.equal(Intersects(a, b), false, `${name}: ${JSON.stringify(both)}`);
    assert.equal(await page.$eval('#mouse-position', e => e.getAttribute('aria-label')), 'Poloha myši');
    assert.equal(await page.$eval('#pen-position', e => e.getAttribute('aria-label')), 'Poloha pera');

    // Zoomed in far from the pen: its point is off the plane to the right;
    // its box stands at the right edge, the arrow's tip beyond it.
    await page.mouse.move(plane.x + 100, plane.y + 100);
    for (let i = 0; i < 3; ++i)
        await page.mouse.wheel({ deltaY: -200 });
    const off = await PenWith('arrow');
    assert.equal(off.ring, null);
    assert.ok(OnPlane(off.box), JSON.stringify(off));
    const [tip] = off.arrow;
    assert.ok(tip.x > off.box.left + off.box.width - 1 && tip.x <= 499, JSON.stringify(off));
    assert.ok(off.box.left + off.box.width - 1 >= 499 - 60, `near the right edge: ${JSON.stringify(off)}`);
    await page.close();
});
