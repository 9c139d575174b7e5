// SPDX-License-Identifier: GPL-3.0-or-later
// Lessons by a link in the browser: the codec as the page runs it, and links
// that will not do, each refused in one box that leaves the page at its start.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import zlib from 'node:zlib';

import { CoreSkip, OpenBrowser, Site } from './support/Browser.mjs';

const site = Site();
let session;

before(async () => {
    session = await OpenBrowser({ site });
});

after(async () => {
    await session?.Close();
});

const Lesson = '{"paramcurve-lesson": 1, "panel": {"x": "2*cos(t)", "y": "kružnice"}, "drawn": []}';

test('the page\'s codec round trips and reads what zlib writes', async () => {
    const page = await session.NewPage();
    const byZlib = zlib.deflateRawSync(Buffer.from(Lesson)).toString('base64url');
    const [again, fromZlib] = await page.evaluate(async (lesson, byZlib) => {
        const codec = await import('./src/LessonLink.mjs');
        const text = bytes => new TextDecoder().decode(bytes);
        return [text(await codec.DecodeLessonLink(await codec.EncodeLessonLink(lesson))),
                text(await codec.DecodeLessonLink(byZlib))];
    }, Lesson, byZlib);
    assert.equal(again, Lesson);
    assert.equal(fromZlib, Lesson);
    await page.close();
});

const Whole = zlib.deflateRawSync(Buffer.from(Lesson));
const Refused = [
    ['letters that do not belong', 'abc$%def', 'odkaz je poškozený (obsahuje znaky, které do zakódované lekce nepatří)'],
    ['nothing after the key', '', 'odkaz neobsahuje žádnou lekci'],
    ['cut short', Whole.subarray(0, 20).toString('base64url'),
     'odkaz je poškozený nebo zkrácený (lekci z něj nelze rozbalit)'],
    ['data after the last block', Buffer.concat([Whole, Buffer.from('junk')]).toString('base64url'),
     'odkaz je poškozený nebo zkrácený (lekci z něj nelze rozbalit)'],
    ['no deflate at all', Buffer.alloc(30, 0xff).toString('base64url'),
     'odkaz je poškozený nebo zkrácený (lekci z něj nelze rozbalit)'],
    ['a bomb of 256 MiB', zlib.deflateRawSync(Buffer.alloc(256 << 20), { level: 9 }).toString('base64url'),
     'lekce v odkazu je větší než 1 MiB'],
];

for (const [name, encoded, problem] of Refused) {
    test(`a link with ${name} is refused and the page stays at its start`, async () => {
        const started = Date.now();
        const page = await session.NewPage({ hash: `#lekce=${encoded}` });
        await page.waitForSelector('#message-box[open]', { timeout: 10000 });
        assert.ok(Date.now() - started < 8000, 'answered at once');
        assert.equal(await page.$eval('#message-title', e => e.textContent), 'Error');
        assert.equal(await page.$eval('#message-text', e => e.textContent), `Lekci z odkazu nelze otevřít: ${problem}.`);
        // One box, closed with Enter; the page as it started.
        await page.keyboard.press('Enter');
        await page.waitForSelector('#message-box:not([open])');
        assert.equal(await page.$eval('#field-x', e => e.value), '3*cos(t)');
        assert.equal(await page.$eval('#plane', e => e.getAttribute('aria-description')), 'Prázdná rovina 500 x 500 bodů.');
        assert.equal(await page.$$eval('dialog[open]', boxes => boxes.length), 0);
        await page.close();
    });
}

test('the text of a link reaches the box as text, never as markup', async () => {
    // A lesson the codec takes but whose text is no lesson: the core words
    // the reason; here the page's own box must not make markup of anything.
    const page = await session.NewPage();
    await page.evaluate(() => import('./src/Dialogs.mjs').then(d => {
        d.ShowErrorBox('<img src=x onerror="window.hit=1">\n<b>druhý</b>');
    }));
    await page.waitForSelector('#message-box[open]');
    assert.deepEqual(await page.$$eval('#message-text p', ps => ps.map(p => [p.textContent, p.children.length])),
                     [['<img src=x onerror="window.hit=1">', 0], ['<b>druhý</b>', 0]]);
    assert.equal(await page.evaluate(() => window.hit), undefined);
    await page.close();
});

test('"Sdílet odkaz" makes a link that opens the same lesson, plane and panel', { skip: CoreSkip(site.root) }, async () => {
    const page = await session.NewPage();
    await page.browserContext().overridePermissions(session.address, ['clipboard-read', 'clipboard-write',
                                                                      'clipboard-sanitized-write']);
    await (await page.$('aria/Descartův list[role="radio"]')).click();
    // A panel unlike the one at start, in every part a link must carry.
    await page.$eval('#dashed', box => box.click());
    await page.$eval('#colour', input => {
        input.value = '#12ab34';
        input.dispatchEvent(new Event('input', { bubbles: true }));
    });
    await page.evaluate(() => {
        const row = globalThis.paramcurve.variables.Row('r');
        Object.assign(row.shown, { value: '1.5', low: '0', high: '3', step: '0.5' });
    });
    await page.click('#draw');
    await page.waitForFunction(() => /1 křivka/.test(document.getElementById('plane').getAttribute('aria-description')),
                               { timeout: 20000 });
    await page.keyboard.down('Control');
    await page.keyboard.press('KeyL');
    await page.keyboard.up('Control');
    await page.waitForFunction(() => /zkopírován/.test(document.getElementById('notice').textContent));
    const link = await page.evaluate(() => navigator.clipboard.readText());
    assert.match(link, /#lekce=[A-Za-z0-9_-]+$/);
    const pixels = () => page.$eval('#plane', c => Array.from(c.getContext('2d').getImageData(0, 0, 500, 500).data).join());
    const plane = await pixels();
    const description = await page.$eval('#plane', e => e.getAttribute('aria-description'));
    const panel = () => page.evaluate(() => globalThis.paramcurve.FullPress());
    const shown = await panel();

    const other = await session.NewPage({ hash: link.slice(link.indexOf('#')) });
    await other.waitForFunction(d => document.getElementById('plane').getAttribute('aria-description') === d,
                                { timeout: 20000 }, description);
    assert.equal(await other.$eval('#plane', c => Array.from(c.getContext('2d').getImageData(0, 0, 500, 500).data).join()), plane);
    assert.equal(await other.$eval('#field-x', e => e.value), '3*t/(1+t^3)');
    // The whole panel: the nine texts, the colour, both boxes, the variables.
    assert.deepEqual(await other.evaluate(() => globalThis.paramcurve.FullPress()), shown);
    await other.close();
    await page.close();
});

test('a link whose text is no lesson gets the lesson reader\'s reason', { skip: CoreSkip(site.root) }, async () => {
    const encoded = zlib.deflateRawSync(Buffer.from('{"panel": 1')).toString('base64url');
    const page = await session.NewPage({ hash: `#lekce=${encoded}` });
    await page.waitForSelector('#message-box[open]');
    assert.match(await page.$eval('#message-text', e => e.textContent),
                 /^Lekci z odkazu nelze otevřít: soubor končí předčasně, je zřejmě neúplný/);
    await page.close();
});
