// SPDX-License-Identifier: GPL-3.0-or-later
// The page draws the very pixels the desktop draws: its plane, read from the
// canvas, against the PNG of the desktop's renderer (paramcurve-render),
// every pixel equal. The start curve and the four example curves traced by
// "Kresli"; every lesson of the test corpus and lessons the renderer saved
// (axes at ±1e35 and in a window of 1e-300, reversed windows, dashes,
// colours, variables, a family, a press ended by an error, one stopped)
// opened in the page; a lesson the page saved, drawn by the renderer and
// saved again by it byte for byte; the plane after a zoom and a slider.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, describe, it, test } from 'node:test';

import { CoreSkip, OpenBrowser, Site, Sleep, TemporaryFolder } from './support/Browser.mjs';
import { LessonCorpus, PagePixels, PlaneDifference, Render, RenderedPixels, RenderSkip } from './support/Render.mjs';

const site = Site();
const skip = CoreSkip(site.root) || RenderSkip();
let session;
let folder;

before(async () => {
    session = await OpenBrowser({ site });
    folder = TemporaryFolder('same-plane');
});

after(async () => {
    await session?.Close();
    if (folder)
        fs.rmSync(folder, { recursive: true, force: true });
});

const Described = (page, pattern, timeout = 30000) => page.waitForFunction(
    source => new RegExp(source).test(document.getElementById('plane').getAttribute('aria-description')),
    { timeout }, pattern.source);

async function SetField(page, key, text)
{
    await page.$eval(`[data-key="${key}"]`, (field, value) => {
        field.value = value;
        field.dispatchEvent(new Event('input', { bubbles: true }));
    }, text);
}

// A lesson's bytes opened in the page as a file's would be; done once it is
// drawn and the panel filled.
function OpenLesson(page, bytes)
{
    return page.evaluate(async lesson => {
        await globalThis.paramcurve.OpenLessonBytes(new Uint8Array(lesson).buffer, 'z testu');
    }, Array.from(bytes));
}

function AssertSamePlane(pagePixels, renderedPixels, what)
{
    assert.equal(PlaneDifference(pagePixels, renderedPixels), '', what);
}

function InkedPixels(rgb)
{
    let count = 0;
    for (let i = 0; i < rgb.length; i += 3)
        count += rgb[i] !== 255 || rgb[i + 1] !== 255 || rgb[i + 2] !== 255 ? 1 : 0;
    return count;
}

// "Kresli" on the start curve and each example curve, with the panel's 100
// segments, at the tempo of 50 ms a step.
// (The circle's button is checked at start and writes nothing until another
// was chosen.)
const Traced = [
    { name: 'the start curve', preset: null, args: [] },
    { name: 'kružnice', preset: 'kružnice', args: ['--preset', 'kruznice'], before: 'dráha planety' },
    { name: 'šikmý vrh', preset: 'šikmý vrh', args: ['--preset', 'sikmy-vrh'] },
    { name: 'Descartův list', preset: 'Descartův list', args: ['--preset', 'descartuv-list'] },
    { name: 'dráha planety', preset: 'dráha planety', args: ['--preset', 'draha-planety'] },
];

// Each trace mostly waits on its tempo: the five run at once, each in a
// window of its own.
describe('Kresli', { concurrency: true }, () => {
    for (const [index, { name, preset, args, before: first }] of Traced.entries()) {
        it(`${name} is the renderer's picture`, { skip }, async () => {
            const page = await session.NewPage({ ownWindow: true });
            if (first)
                await (await page.$(`aria/${first}[role="radio"]`)).click();
            if (preset)
                await (await page.$(`aria/${preset}[role="radio"]`)).click();
            await page.click('#draw');
            await Described(page, /1 křivka.*nakreslena celá/);
            AssertSamePlane(await PagePixels(page), RenderedPixels(args, path.join(folder, `traced-${index}.png`)), name);
            await page.close();
        });
    }
});

// Lessons the renderer makes from its options; each opened in the page must
// give its picture.
const Made = [
    { name: 'axes at ±1e35', args: ['--x', '10^34*cos(t)', '--y', '10^34*sin(3*t)', '--x1', '-10^35', '--x2', '10^35',
                                    '--y1', '-10^35', '--y2', '10^35'] },
    { name: 'axes in a window of 1e-300', args: ['--x', '10^(-301)*cos(t)', '--y', '10^(-301)*sin(t)',
                                                 '--x1', '-10^(-300)', '--x2', '10^(-300)',
                                                 '--y1', '-10^(-300)', '--y2', '10^(-300)'] },
    { name: 'axes off the plane', args: ['--x1', '10', '--x2', '20', '--y1', '-4', '--y2', '4', '--x', '10+t'] },
    { name: 'a reversed x window without axes', args: ['--x1', '4', '--x2', '-4', '--no-axes', '--x', 't', '--y', 'sin(t)'] },
    { name: 'a reversed y window without axes', args: ['--preset', 'sikmy-vrh', '--y1', '10', '--y2', '-0.5',
                                                       '--no-axes'] },
    { name: 'a reversed window with axes (refused after its first line)', args: ['--x1', '4', '--x2', '-4'] },
    { name: 'dashed in a colour of its own', args: ['--dashed', '--color', '230,0,0', '--segments', '1731'] },
    { name: 'a variable', args: ['--x', 'k*cos(3*t)', '--y', 'r*sin(2*t)', '--set', 'k=2.5', '--set', 'r=pi/2'] },
    { name: 'a family', args: ['--x', '3*sin(k*t)', '--y', '3*sin(2*t)', '--sweep', 'k=1:3:0.5', '--family'] },
    { name: 'a press ended by a formula error', args: ['--x', 't/2', '--y', '1/(t-2)', '--t1', '0', '--t2', '4',
                                                        '--segments', '64'] },
    { name: 'a fault of a point too far', args: ['--x', 't', '--y', '10^300*t', '--y1', '-1', '--y2', '1'] },
];

for (const { name, args } of Made) {
    test(`a lesson the renderer saved: ${name}`, { skip }, async () => {
        const lesson = path.join(folder, 'made.paramcurve');
        const rendered = RenderedPixels([...args, '--save-lesson', lesson], path.join(folder, 'made.png'));
        assert.ok(InkedPixels(rendered) > 0, 'something is drawn');
        const page = await session.NewPage();
        await OpenLesson(page, fs.readFileSync(lesson));
        AssertSamePlane(await PagePixels(page), rendered, name);
        await page.close();
    });
}

const Corpus = fs.readdirSync(LessonCorpus).filter(file => file.endsWith('.paramcurve')).sort();

test('every lesson of the test corpus: the renderer\'s picture, or refused by both', { skip }, async () => {
    assert.ok(Corpus.length >= 5);
    const page = await session.NewPage();
    for (const file of Corpus) {
        const bytes = fs.readFileSync(path.join(LessonCorpus, file));
        const png = path.join(folder, 'corpus.png');
        const run = Render([path.join(LessonCorpus, file), '-o', png]);
        if (run.status === 2) {
            const reply = await page.evaluate(async lesson => {
                const data = new Uint8Array(lesson);
                return globalThis.paramcurve.core.Request('openLesson', { bytes: data.buffer }, [data.buffer]);
            }, Array.from(bytes));
            assert.equal(reply.ok, false, file);
            assert.match(run.stderr, new RegExp(reply.problem.replace(/[.*+?^${}()|[\]\\]/g, '\\$&')), file);
            continue;
        }
        await OpenLesson(page, bytes);
        AssertSamePlane(await PagePixels(page), RenderedPixels([path.join(LessonCorpus, file)], png), file);
    }
    await page.close();
});

// The lesson saved through "Uložit lekci…" (a download), from three presses
// the page drew: the renderer draws it as the page shows it and, saving it
// again, writes the same bytes.
test('a lesson the page saved is drawn by the renderer as the page shows it, and saved again the same', { skip },
     async () => {
    const page = await session.NewPage();
    await SetField(page, 'segments', '12');
    await page.click('#draw');
    await Described(page, /1 křivka.*nakreslena celá/);
    // t goes on from where the first left it; a dashed red curve in another
    // window, with a variable.
    await SetField(page, 'x', 't/2+k');
    await SetField(page, 'y', '1/(t-2)');
    await SetField(page, 't1', '-t');
    await SetField(page, 't2', '4');
    await page.$eval('#dashed', box => box.click());
    await page.$eval('#colour', input => {
        input.value = '#e60000';
        input.dispatchEvent(new Event('input', { bubbles: true }));
    });
    await page.evaluate(() => {
        const row = globalThis.paramcurve.variables.Row('k');
        row.value.value = row.shown.value = '0.5';
    });
    await page.click('#draw');
    await Described(page, /2 křivky/);
    if (await page.$('#message-box[open]'))
        await page.keyboard.press('Enter');

    const downloads = TemporaryFolder('lesson-download');
    const cdp = await page.createCDPSession();
    await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
    await page.keyboard.down('Control');
    await page.keyboard.down('Shift');
    await page.keyboard.press('KeyS');
    await page.keyboard.up('Shift');
    await page.keyboard.up('Control');
    const saved = path.join(downloads, 'lekce.paramcurve');
    for (let i = 0; i < 100 && !fs.existsSync(saved); ++i)
        await Sleep(50);
    const text = fs.readFileSync(saved, 'utf8');
    assert.match(text, /"dashed": true/);
    AssertSamePlane(await PagePixels(page), RenderedPixels([saved], path.join(folder, 'saved.png')), 'saved lesson');
    const again = path.join(folder, 'again.paramcurve');
    Render([saved, '-o', path.join(folder, 'again.png'), '--save-lesson', again]);
    assert.equal(fs.readFileSync(again, 'utf8'), text);
    fs.rmSync(downloads, { recursive: true, force: true });
    await page.close();
});

// What a zoom, a pan and a slider draw is what the renderer draws of the
// lesson they leave.
test('after a zoom, a pan and a slider the plane is the renderer\'s picture of the lesson', { skip }, async () => {
    const page = await session.NewPage();
    await SetField(page, 'x', 'k*cos(t)');
    await SetField(page, 'segments', '40');
    await page.click('#draw');
    await Described(page, /nakreslena celá/);
    const box = await (await page.$('#plane')).boundingBox();
    await page.mouse.move(box.x + 140, box.y + 320);
    await page.mouse.wheel({ deltaY: -250 });
    await page.waitForFunction(() => document.querySelector('[data-key="x1"]').value !== '-4');
    await page.mouse.move(box.x + 200, box.y + 200);
    await page.mouse.down();
    await page.mouse.move(box.x + 230, box.y + 180, { steps: 4 });
    await page.mouse.up();
    await page.focus('#row-k input[type="range"]');
    for (let i = 0; i < 23; ++i)
        await page.keyboard.press('ArrowRight');
    await page.waitForFunction(() => document.getElementById('value-k').value === '2.3');
    await page.waitForFunction(() => !globalThis.paramcurve.redrawing && !globalThis.paramcurve.exploring);
    const lesson = await page.evaluate(() => globalThis.paramcurve.core.Request('lessonText',
                                                                                { panel: globalThis.paramcurve.FullPress() }));
    assert.match(lesson.text, /"k": "2.3"/);
    const file = path.join(folder, 'explored.paramcurve');
    fs.writeFileSync(file, lesson.text);
    AssertSamePlane(await PagePixels(page), RenderedPixels([file], path.join(folder, 'explored.png')), 'explored');
    await page.close();
});
