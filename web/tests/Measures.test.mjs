// SPDX-License-Identifier: GPL-3.0-or-later
// The page's pace, from its own User Timing measures: a slider's redraw of
// the 1731-segment circle with its axes within a frame (a median of 16 ms at
// most, over 40 redraws), a trace of 100 segments in (100 + 1) x 50 ms to 1 %,
// and the page answering input within a second of loading.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';

import { CoreSkip, OpenBrowser, Site } from './support/Browser.mjs';

const site = Site();
const skip = CoreSkip(site.root);
let session;

before(async () => {
    session = await OpenBrowser({ site });
});

after(async () => {
    await session?.Close();
});

const Median = values => {
    const sorted = [...values].sort((a, b) => a - b);
    const middle = sorted.length >> 1;
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};

// The circle of 1731 segments, a variable in it so the slider moves it.
const Circle = JSON.stringify({
    'paramcurve-lesson': 1,
    panel: { x: '3*cos(t)+k', y: '3*sin(t)', segments: '1731', 'k-slider': ['-1', '1', '0.01'] },
    drawn: [{ x: '3*cos(t)+k', y: '3*sin(t)', segments: '1731', 'k-slider': ['-1', '1', '0.01'] }],
});

test('a slider redraws the 1731-segment circle with its axes in 16 ms (the median of 40)', { skip }, async () => {
    const page = await session.NewPage();
    await page.evaluate(async lesson => {
        await globalThis.paramcurve.OpenLessonBytes(new TextEncoder().encode(lesson).buffer, 'z testu');
    }, Circle);
    await page.evaluate(() => performance.clearMeasures('paramcurve-redraw'));
    await page.keyboard.down('Control');
    await page.keyboard.press('KeyR');
    await page.keyboard.up('Control');
    await page.focus('#row-k input[type="range"]');
    const redraws = 40;
    for (let i = 1; i <= redraws; ++i) {
        await page.keyboard.press('ArrowRight');
        // One redraw at a time, each measured alone.
        await page.waitForFunction(count => performance.getEntriesByName('paramcurve-redraw').length === count
                                            && !globalThis.paramcurve.redrawing, {}, i);
    }
    const durations = await page.evaluate(() => performance.getEntriesByName('paramcurve-redraw').map(m => m.duration));
    assert.equal(durations.length, redraws);
    assert.equal(await page.$eval('#value-k', e => e.value), '0.4');  // 40 steps of 0.01
    assert.match(await page.$eval('#plane', e => e.getAttribute('aria-description')), /1 křivka.*1731.*nakreslena celá/);
    const median = Median(durations);
    console.log(`slider redraw: median ${median.toFixed(1)} ms, worst ${Math.max(...durations).toFixed(1)} ms`);
    assert.ok(median <= 16, `median ${median} ms`);
    await page.close();
});

// The circle's example curve: 100 segments, the points 0 to 100 (the loop
// goes on while t <= T2 + DT, so where the sums of DT reach T2 + DT exactly,
// as from 0 to 2*pi, a point 101 is traced too, and a step more).
test('a trace of 100 segments takes (100 + 1) x 50 ms, to 1 %', { skip }, async () => {
    const page = await session.NewPage();
    await (await page.$('aria/dráha planety[role="radio"]')).click();
    await (await page.$('aria/kružnice[role="radio"]')).click();
    await page.click('#draw');
    await page.waitForFunction(() => /nakreslena celá/.test(document.getElementById('plane').getAttribute('aria-description')),
                               { timeout: 20000 });
    const [duration] = await page.evaluate(() => performance.getEntriesByName('paramcurve-trace').map(m => m.duration));
    assert.equal(await page.evaluate(() => globalThis.paramcurve.document.penCount), 101);
    console.log(`trace of 100 segments: ${duration.toFixed(1)} ms`);
    assert.ok(Math.abs(duration - 101 * 50) <= 0.01 * 101 * 50, `${duration} ms`);
    await page.close();
});

test('the page answers input within a second of loading', { skip }, async () => {
    const page = await session.NewPage({ wait: false });
    const started = Date.now();
    await page.reload({ waitUntil: 'domcontentloaded' });
    // A key in a field, and the core ready to draw.
    await page.waitForFunction(() => document.documentElement.dataset.core === 'ready', { timeout: 5000, polling: 10 });
    await page.focus('[data-key="segments"]');
    await page.keyboard.press('End');
    await page.keyboard.type('0');
    assert.equal(await page.$eval('[data-key="segments"]', e => e.value), '1000');
    const answered = Date.now() - started;
    const loaded = await page.evaluate(() => performance.getEntriesByType('navigation')[0].domContentLoadedEventEnd);
    console.log(`page ready for input ${answered} ms after the reload (DOMContentLoaded at ${loaded.toFixed(0)} ms)`);
    assert.ok(answered < 1000, `${answered} ms`);
    await page.close();
});
