// SPDX-License-Identifier: GPL-3.0-or-later
// The page as a user and a screen reader meet it: every control by its Czech
// name with its start text and description, the presets, the colour, the
// plane, the Tab order, the plot window's menu and shortcuts, the variables'
// rows, the picture saved, and no script or style the policy refuses.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';

import { AccessibleNodes, FocusedName, OpenBrowser, Site, SiteHasCore, Sleep, TemporaryFolder } from './support/Browser.mjs';

const site = Site();
let session;

before(async () => {
    session = await OpenBrowser({ site });
});

after(async () => {
    await session?.Close();
});

async function Value(page, name)
{
    const handle = await page.$(`aria/${name}`);
    assert.ok(handle, `no control named "${name}"`);
    return handle.evaluate(element => element.value);
}

test('every field by its name, with its start text and description', async () => {
    const page = await session.NewPage();
    const fields = [
        ['x =', '3*cos(t)', 'Vzorec x(t), například 3*cos(t)'],
        ['y =', '3*sin(t)', 'Vzorec y(t), například 3*sin(t)'],
        ['Zorné pole x, začátek', '-4', 'Levý okraj zorného pole, vzorec, například -4'],
        ['Zorné pole x, konec', '4', 'Pravý okraj zorného pole, vzorec, například 4'],
        ['Zorné pole y, začátek', '-4', 'Dolní okraj zorného pole, vzorec, například -4'],
        ['Zorné pole y, konec', '4', 'Horní okraj zorného pole, vzorec, například 4'],
        ['Parametr t, začátek', '0', 'Počáteční hodnota parametru t, vzorec, například 0'],
        ['Parametr t, konec', '2*pi', 'Koncová hodnota parametru t, vzorec, například 2*pi'],
        ['počet segmentů', '100', 'Počet segmentů křivky, celé číslo od 1 do 1731'],
    ];
    const nodes = await AccessibleNodes(page);
    for (const [name, text, description] of fields) {
        assert.equal(await Value(page, name), text, name);
        const node = nodes.find(n => n.role === 'textbox' && n.name === name);
        assert.ok(node, `no text box "${name}" in the accessibility tree`);
        assert.equal(node.description, description, name);
    }
    await page.close();
});

test('the buttons, check boxes, presets and colour by their names', async () => {
    const page = await session.NewPage();
    const nodes = await AccessibleNodes(page);
    const find = (role, name) => nodes.find(n => n.role === role && n.name === name);
    const controls = [
        ['button', 'Kresli', 'Přečte všechna pole a nakreslí křivku; klávesa Esc kreslení zastaví'],
        ['button', 'Vymaž', 'Vymaže rovinu na bílo; pole a barva zůstanou'],
        ['checkbox', 'ukaž osy', 'Před kreslením nakreslí obě osy s desetinným dělením'],
        ['checkbox', 'přerušovat', 'Kreslí jen každý druhý segment'],
        ['radio', 'kružnice', 'Ukázková křivka: zapíše do polí vzorce, zorné pole a rozsah parametru kružnice'],
        ['radio', 'šikmý vrh', 'Ukázková křivka: zapíše do polí vzorce, zorné pole a rozsah parametru šikmého vrhu'],
        ['radio', 'Descartův list',
         'Ukázková křivka: zapíše do polí vzorce, zorné pole a rozsah parametru Descartova listu'],
        ['radio', 'dráha planety', 'Ukázková křivka: zapíše do polí vzorce, zorné pole a rozsah parametru dráhy planety'],
    ];
    for (const [role, name, description] of controls) {
        const node = find(role, name);
        assert.ok(node, `no ${role} "${name}"`);
        assert.equal(node.description, description, name);
    }
    assert.equal(find('checkbox', 'ukaž osy').checked, true);
    assert.equal(find('checkbox', 'přerušovat').checked, false);
    assert.equal(find('radio', 'kružnice').checked, true);
    assert.equal(nodes.filter(n => n.role === 'radio' && n.checked === true).length, 1);
    // "konec" ends a desktop program; a page has nothing to end.
    assert.equal(nodes.find(n => n.name === 'konec'), undefined);

    const colour = await page.$('aria/Barva křivky');
    assert.deepEqual(await colour.evaluate(e => [e.type, e.value, e.getAttribute('aria-description')]),
                     ['color', '#0000c8', 'R 0, G 0, B 200']);
    await colour.evaluate(e => {
        e.value = '#12ab34';
        e.dispatchEvent(new Event('input', { bubbles: true }));
    });
    assert.equal(await colour.evaluate(e => e.getAttribute('aria-description')), 'R 18, G 171, B 52');
    await page.close();
});

test('a preset writes its eight texts and leaves the segment count', async () => {
    const page = await session.NewPage();
    const names = ['x =', 'y =', 'Zorné pole x, začátek', 'Zorné pole x, konec', 'Zorné pole y, začátek',
                   'Zorné pole y, konec', 'Parametr t, začátek', 'Parametr t, konec'];
    // core/press/Presets.h
    const presets = [
        ['šikmý vrh', ['14*t*cos(80*pi/180)', '14*t*sin(80*pi/180)-5*t^2', '-0.5', '10', '-0.5', '10', '0', '3']],
        ['Descartův list', ['3*t/(1+t^3)', '3*t^2/(1+t^3)', '-3', '3', '-3', '3', '-20', '20']],
        ['dráha planety', ['-1/(1+0.8*cos(t))*cos(t)', '-1/(1+0.8*cos(t))*sin(t)', '-1', '6', '-3.5', '3.5', '-pi', 'pi']],
        ['kružnice', ['3*cos(t)', '3*sin(t)', '-4', '4', '-4', '4', '0', '6.2833']],
    ];
    const segments = await page.$('aria/počet segmentů');
    await segments.click({ count: 3 });
    await segments.type('37');
    for (const [preset, texts] of presets) {
        await (await page.$(`aria/${preset}[role="radio"]`)).click();
        for (let i = 0; i < names.length; ++i)
            assert.equal(await Value(page, names[i]), texts[i], `${preset}: ${names[i]}`);
        assert.equal(await Value(page, 'počet segmentů'), '37', preset);
    }
    // A click on the preset already chosen writes nothing.
    const x = await page.$('aria/x =');
    await x.click({ count: 3 });
    await x.type('t');
    await (await page.$('aria/kružnice[role="radio"]')).click();
    assert.equal(await Value(page, 'x ='), 't');
    await page.close();
});

test('the plane is the image "Rovina", white, described for a screen reader', async () => {
    const page = await session.NewPage();
    const nodes = await AccessibleNodes(page);
    const plane = nodes.find(n => n.role === 'image' && n.name === 'Rovina');
    assert.ok(plane, 'no image "Rovina"');
    assert.equal(plane.description, 'Prázdná rovina 500 x 500 bodů.');
    const pixels = await page.$eval('#plane', canvas => {
        const data = canvas.getContext('2d').getImageData(0, 0, 500, 500).data;
        let white = 0;
        for (let i = 0; i < data.length; i += 4)
            white += data[i] === 255 && data[i + 1] === 255 && data[i + 2] === 255 ? 1 : 0;
        return [canvas.width, canvas.height, white];
    });
    assert.deepEqual(pixels, [500, 500, 500 * 500]);
    await page.close();
});

test('Kresli has the focus at start and Tab walks every control in the panel\'s order, then the plane', async () => {
    const page = await session.NewPage();
    const order = ['Kresli', 'Vymaž', 'x =', 'y =', 'kružnice', 'Zorné pole x, začátek', 'Zorné pole x, konec',
                   'Zorné pole y, začátek', 'Zorné pole y, konec', 'Parametr t, začátek', 'Parametr t, konec',
                   'počet segmentů', 'Barva křivky', 'ukaž osy', 'přerušovat', 'Nabídka', 'Rovina'];
    const seen = [await FocusedName(page)];
    for (let i = 1; i < order.length; ++i) {
        await page.keyboard.press('Tab');
        seen.push(await FocusedName(page));
    }
    assert.deepEqual(seen, order);
    // Shift+Tab goes back.
    await page.keyboard.down('Shift');
    await page.keyboard.press('Tab');
    await page.keyboard.up('Shift');
    assert.equal(await FocusedName(page), 'Nabídka');
    // The arrows choose among the presets, as a group.
    await page.focus('input[name="preset"]:checked');
    await page.keyboard.press('ArrowDown');
    assert.equal(await FocusedName(page), 'šikmý vrh');
    assert.equal(await Value(page, 'x ='), '14*t*cos(80*pi/180)');
    await page.close();
});

test('without the core, Kresli and Enter in a field say why nothing is drawn',
     { skip: SiteHasCore(site.root) && 'the core is built: Core.test.mjs draws with it' }, async () => {
    const page = await session.NewPage();
    assert.equal(await page.evaluate(() => document.documentElement.dataset.core), 'missing');
    // Both end in the same box, which says why.
    for (const how of ['click', 'Enter']) {
        if (how === 'click')
            await (await page.$('aria/Kresli')).click();
        else {
            await (await page.$('aria/Parametr t, konec')).focus();
            await page.keyboard.press('Enter');
        }
        await page.waitForSelector('#message-box[open]');
        assert.equal(await page.$eval('#message-title', e => e.textContent), 'Paramcurve', how);
        assert.match(await page.$eval('#message-text', e => e.textContent), /WebAssembly/, how);
        await page.keyboard.press('Enter');
        await page.waitForSelector('#message-box:not([open])');
    }
    await page.close();
});

test('the plot window\'s menu: its entries, shortcuts and keys', async () => {
    const page = await session.NewPage();
    await page.focus('#plane');
    await page.keyboard.down('Shift');
    await page.keyboard.press('F10');
    await page.keyboard.up('Shift');
    await page.waitForSelector('#plot-menu:not([hidden])');
    const entries = await page.$$eval('#plot-menu [role^="menuitem"]', items => items.map(item =>
        [item.getAttribute('aria-label'), item.getAttribute('aria-keyshortcuts'), !item.disabled]));
    assert.deepEqual(entries, [
        ['Uložit obrázek…', 'Control+S', true],
        ['Uložit animaci…', 'Control+Shift+A', false],
        ['Tisk…', 'Control+P', true],
        ['Otevřít lekci…', 'Control+O', true],
        ['Uložit lekci…', 'Control+Shift+S', true],
        ['Sdílet odkaz', 'Control+L', true],
        ['Ukazovat polohu', 'F2', true],
        ['Kopírovat polohu', 'Control+C', false],
        ['Kopírovat polohu přesně', 'Control+Shift+C', false],
        ['Původní zorné pole', 'Control+0', false],
        ['Proměnné…', 'Control+R', true],
    ]);
    assert.equal(await FocusedName(page), 'Uložit obrázek…');
    await page.keyboard.press('ArrowDown');
    assert.equal(await FocusedName(page), 'Tisk…');  // past the disabled entry
    await page.keyboard.press('ArrowUp');
    await page.keyboard.press('ArrowUp');
    assert.equal(await FocusedName(page), 'Proměnné…');  // round to the last
    await page.keyboard.press('Escape');
    await page.waitForSelector('#plot-menu[hidden]');
    assert.equal(await FocusedName(page), 'Rovina');

    // The right button on the plane, and the menu's button.
    await page.click('#plane', { button: 'right' });
    await page.waitForSelector('#plot-menu:not([hidden])');
    await page.keyboard.press('Escape');
    await page.click('#menu-button');
    await page.waitForSelector('#plot-menu:not([hidden])');
    assert.equal(await page.$eval('#menu-button', e => e.getAttribute('aria-expanded')), 'true');
    // "Proměnné…" chosen: the window shows.
    await page.click('#menu-variables');
    await page.waitForSelector('#variables:not([hidden])');
    assert.equal(await page.$eval('#plot-menu', e => e.hidden), true);
    await page.close();
});

test('shortcuts: Ctrl+R shows "Proměnné", F2 the readout, remembered, Ctrl+O the file chooser', async () => {
    const page = await session.NewPage();
    await page.keyboard.down('Control');
    await page.keyboard.press('KeyR');
    await page.keyboard.up('Control');
    await page.waitForSelector('#variables:not([hidden])');
    assert.equal(page.url().endsWith('/'), true, 'Ctrl+R must not reload the page');
    assert.equal(await page.$eval('#no-variables', e => e.hidden), false);
    assert.equal(await FocusedName(page), 'ponechat stopu');

    const checked = () => page.$eval('#menu-showPosition', e => e.getAttribute('aria-checked'));
    assert.equal(await checked(), 'false');
    await page.keyboard.press('F2');
    assert.equal(await checked(), 'true');
    assert.equal(await page.$eval('#readout', e => e.hidden), false);
    await page.reload({ waitUntil: 'load' });
    await page.waitForFunction(() => document.documentElement.dataset.core !== undefined);
    assert.equal(await checked(), 'true', 'the readout\'s choice is kept');
    await page.keyboard.press('F2');
    assert.equal(await checked(), 'false');

    await page.bringToFront();
    const chooser = page.waitForFileChooser({ timeout: 10000 });
    await page.keyboard.down('Control');
    await page.keyboard.press('KeyO');
    await page.keyboard.up('Control');
    const picked = await chooser;
    assert.equal(picked.isMultiple(), false);
    await picked.cancel();
    await page.close();
});

test('Ctrl+C is the position\'s on the plane and the browser\'s copy in a field', async () => {
    const page = await session.NewPage();
    await page.evaluate(() => addEventListener('keydown', e => { window.lastTaken = e.defaultPrevented; }));
    const copy = async () => {
        await page.keyboard.down('Control');
        await page.keyboard.press('KeyC');
        await page.keyboard.up('Control');
        return page.evaluate(() => window.lastTaken);
    };
    const x = await page.$('aria/x =');
    await x.click({ count: 3 });
    assert.equal(await copy(), false, 'in a field');
    await page.focus('#plane');
    assert.equal(await copy(), true, 'on the plane');
    await page.focus('#draw');
    await page.evaluate(() => getSelection().selectAllChildren(document.querySelector('.caption')));
    assert.equal(await copy(), false, 'with a selection');
    await page.close();
});

test('the variables\' rows follow the formulas as they are typed', async () => {
    const page = await session.NewPage();
    await page.keyboard.down('Control');
    await page.keyboard.press('KeyR');
    await page.keyboard.up('Control');
    const shown = () => page.$$eval('.variable-row', rows => rows.filter(r => !r.hidden).map(r => r.id.slice(4)).join(''));
    assert.equal(await shown(), '');
    const x = await page.$('aria/x =');
    await x.click({ count: 3 });
    await x.type('r*cos(k*t)');
    assert.equal(await shown(), 'kr');
    assert.equal(await page.$eval('#no-variables', e => e.hidden), true);
    const t2 = await page.$('aria/Parametr t, konec');
    await t2.click({ count: 3 });
    await t2.type('z*pi');
    assert.equal(await shown(), 'krz');
    // A preset's texts use none.
    await (await page.$('aria/Descartův list[role="radio"]')).click();
    assert.equal(await shown(), '');

    await x.click({ count: 3 });
    await x.type('k*t');
    const names = ['Hodnota k', 'Posuvník k', 'Posuvník k, dolní mez', 'Posuvník k, horní mez', 'Posuvník k, krok',
                   'Animovat k', 'ponechat stopu'];
    const values = [];
    for (const name of names) {
        const handle = await page.$(`aria/${name}`);
        assert.ok(handle, `no control "${name}"`);
        values.push(await handle.evaluate(e => (e.type === 'range' ? `${e.min}..${e.max}@${e.value}` : e.value ?? '')));
    }
    assert.deepEqual(values, ['0', '0..200@100', '-10', '10', '0.1', '', 'on']);
    const nodes = await AccessibleNodes(page);
    assert.ok(nodes.find(n => n.role === 'status' && n.name === 'Stav'));
    await page.close();
});

test('"Uložit obrázek…" downloads the plane\'s pixels as PNG', async () => {
    const page = await session.NewPage();
    const folder = TemporaryFolder('download');
    const cdp = await page.createCDPSession();
    await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: folder });
    await page.keyboard.down('Control');
    await page.keyboard.press('KeyS');
    await page.keyboard.up('Control');
    await page.waitForSelector('#picture-box[open]');
    assert.equal(await FocusedName(page), 'Název souboru');
    await page.keyboard.press('Enter');
    const file = path.join(folder, 'rovina.png');
    for (let i = 0; i < 100 && !fs.existsSync(file); ++i)
        await Sleep(50);
    const png = fs.readFileSync(file);
    assert.equal(png.subarray(1, 4).toString(), 'PNG');
    // IHDR: width and height, 8 bits a channel.
    assert.deepEqual([png.readUInt32BE(16), png.readUInt32BE(20), png[24]], [500, 500, 8]);
    fs.rmSync(folder, { recursive: true, force: true });
    await page.close();
});

test('nothing the policy refuses, no script error', async () => {
    const page = await session.NewPage({ wait: false });
    await page.evaluateOnNewDocument(() => {
        window.violations = [];
        addEventListener('securitypolicyviolation', e => window.violations.push(`${e.violatedDirective} ${e.blockedURI}`));
    });
    await page.reload({ waitUntil: 'load' });
    await page.waitForFunction(() => document.documentElement.dataset.core !== undefined);
    await page.click('#menu-button');
    await page.keyboard.press('Escape');
    await page.keyboard.press('F2');
    assert.deepEqual(await page.evaluate(() => window.violations), []);
    assert.match(await page.$eval('meta[http-equiv="Content-Security-Policy"]', e => e.content),
                 /script-src 'self' 'wasm-unsafe-eval'/);
    assert.equal(await page.evaluate(() => crossOriginIsolated), true);
    assert.deepEqual(session.errors, []);
    await page.close();
});
