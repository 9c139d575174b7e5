// SPDX-License-Identifier: GPL-3.0-or-later
// Esc on the page: a trace stops after the points it drew, and what it drew
// stays (the renderer draws the lesson it leaves the same, the stopped press
// ending at the same point); a single evaluation that takes seconds (a power
// near 1 to a huge exponent) stops inside the core within a second, the
// worker going on as it was, the press kept as stopped before its first
// point.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';

import { CoreSkip, OpenBrowser, Site, Sleep, TemporaryFolder } from './support/Browser.mjs';
import { PagePixels, PlaneDifference, RenderedPixels, RenderSkip } from './support/Render.mjs';

const site = Site();
const skip = CoreSkip(site.root);
let session;

before(async () => {
    session = await OpenBrowser({ site });
});

after(async () => {
    await session?.Close();
});

const Description = page => page.$eval('#plane', e => e.getAttribute('aria-description'));

async function SetField(page, key, text)
{
    await page.$eval(`[data-key="${key}"]`, (field, value) => {
        field.value = value;
        field.dispatchEvent(new Event('input', { bubbles: true }));
    }, text);
}

test('Esc stops a trace after the points it drew, and they stay as the renderer draws them', { skip: skip || RenderSkip() },
     async () => {
    const folder = TemporaryFolder('stopped');
    const page = await session.NewPage();
    await SetField(page, 'segments', '1000');
    await page.click('#draw');
    await page.waitForFunction(() => globalThis.paramcurve.document.penCount >= 8);
    await page.keyboard.press('Escape');
    await page.waitForFunction(() => /zastavena po \d+ bodech/.test(
        document.getElementById('plane').getAttribute('aria-description')), { timeout: 2000 });
    const points = Number(/zastavena po (\d+) bodech/.exec(await Description(page))[1]);
    assert.ok(points >= 8 && points < 1000, `${points} points`);
    const lesson = await page.evaluate(() => globalThis.paramcurve.core.Request('lessonText',
                                                                                { panel: globalThis.paramcurve.FullPress() }));
    assert.match(lesson.text, new RegExp(`"stopped-after": ${points}`));
    const file = path.join(folder, 'stopped.paramcurve');
    fs.writeFileSync(file, lesson.text);
    assert.equal(PlaneDifference(await PagePixels(page), RenderedPixels([file], path.join(folder, 'stopped.png'))), '');
    fs.rmSync(folder, { recursive: true, force: true });
    await page.close();
});

test('Esc stops a formula that takes seconds within one, inside the core', { skip }, async () => {
    const page = await session.NewPage();
    assert.equal(await page.evaluate(() => crossOriginIsolated), true);
    await SetField(page, 'x', '1.0000001^2147483647*t');
    await SetField(page, 'segments', '3');
    await page.click('#draw');
    // The first point's x is under way: seconds of products.
    await page.waitForFunction(() => document.body.classList.contains('busy'));
    await Sleep(300);
    const asked = Date.now();
    await page.keyboard.press('Escape');
    await page.waitForFunction(() => !document.body.classList.contains('busy'), { timeout: 3000, polling: 10 });
    const took = Date.now() - asked;
    console.log(`a long evaluation stopped ${took} ms after Esc`);
    assert.ok(took < 1000, `${took} ms`);
    // Stopped by the core's hook, not by a new worker: the press is kept as
    // the core ended it, before its first point, its axes drawn.
    assert.match(await Description(page), /1 křivka.*zastavena po 0 bodech/);
    const restarted = await page.evaluate(() => globalThis.paramcurve.core.state);
    assert.equal(restarted, 'ready');
    // The page answers again at once.
    await (await page.$('aria/šikmý vrh[role="radio"]')).click();
    assert.equal(await page.$eval('#field-x', e => e.value), '14*t*cos(80*pi/180)');
    await page.close();
});

test('a bound that takes seconds stops as well, and the press is not kept', { skip }, async () => {
    const page = await session.NewPage();
    await SetField(page, 't2', '1.0000001^2147483647');
    await page.click('#draw');
    await page.waitForFunction(() => document.body.classList.contains('busy'));
    await Sleep(200);
    const asked = Date.now();
    await page.keyboard.press('Escape');
    await page.waitForFunction(() => !document.body.classList.contains('busy'), { timeout: 3000, polling: 10 });
    assert.ok(Date.now() - asked < 1000);
    assert.equal(await Description(page), 'Prázdná rovina 500 x 500 bodů.');
    assert.equal(await page.$('#message-box[open]'), null);
    await page.close();
});
