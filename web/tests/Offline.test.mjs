// SPDX-License-Identifier: GPL-3.0-or-later
// Offline and installable: the manifest, the service worker caching every
// file of this version, a new version taking over and dropping the old
// cache, and the page opening again with the server gone.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';

import { BuildSite } from '../tools/build-site.mjs';
import { OpenBrowser, Sleep, TemporaryFolder } from './support/Browser.mjs';

let folder;
let built;
let session;

before(async () => {
    // A site of its own: this test changes it.
    folder = TemporaryFolder('offline');
    const root = path.join(folder, 'site');
    built = BuildSite(root);
    session = await OpenBrowser({ site: { root, owned: null } });
});

after(async () => {
    await session?.Close();
    fs.rmSync(folder, { recursive: true, force: true });
});

async function CachedFiles(page)
{
    return page.evaluate(async () => {
        const names = await caches.keys();
        const files = {};
        for (const name of names)
            files[name] = (await (await caches.open(name)).keys()).map(r => new URL(r.url).pathname).sort();
        return files;
    });
}

test('the manifest names the program and its icon', async () => {
    const manifest = JSON.parse(fs.readFileSync(path.join(session.root, 'manifest.webmanifest'), 'utf8'));
    assert.equal(manifest.name, 'Parametrické křivky');
    assert.equal(manifest.lang, 'cs');
    assert.equal(manifest.display, 'standalone');
    const icon = manifest.icons.find(i => i.src === 'icon.svg');
    assert.equal(icon.type, 'image/svg+xml');
    assert.match(fs.readFileSync(path.join(session.root, 'icon.svg'), 'utf8'), /<svg[^>]+viewBox="0 0 128 128"/);
    const page = await session.NewPage();
    const cdp = await page.createCDPSession();
    const { errors, data } = await cdp.send('Page.getAppManifest');
    assert.deepEqual(errors, []);
    assert.equal(JSON.parse(data).name, 'Parametrické křivky');
    await page.close();
});

test('cached, updated to a new version, and opened with the server gone', async () => {
    const page = await session.NewPage();
    await page.evaluate(() => navigator.serviceWorker.ready);
    await page.waitForFunction(async () => (await caches.keys()).length === 1);
    const first = await CachedFiles(page);
    const expected = ['/', ...built.files.filter(f => f !== 'sw.js').map(f => `/${f}`)].sort();
    assert.deepEqual(first, { [`paramcurve-${built.version}`]: expected });

    // A new version: another cache, the old one gone.
    const worker = path.join(session.root, 'sw.js');
    fs.writeFileSync(worker, fs.readFileSync(worker, 'utf8').replace(built.version, 'nextversion0000'));
    fs.appendFileSync(path.join(session.root, 'style.css'), '\n.next-version { color: red; }\n');
    await page.evaluate(async () => (await navigator.serviceWorker.getRegistration()).update());
    await page.waitForFunction(async () => {
        const names = await caches.keys();
        return names.length === 1 && names[0] === 'paramcurve-nextversion0000';
    }, { timeout: 10000 });
    const style = await page.evaluate(async () => (await (await caches.open('paramcurve-nextversion0000')).match('style.css')).text());
    assert.match(style, /next-version/);

    // No server: the page from the cache, the same controls.
    session.server.closeAllConnections?.();
    await new Promise(resolve => session.server.close(resolve));
    session.server.listen = () => {};
    await Sleep(100);
    const response = await page.reload({ waitUntil: 'load' });
    assert.equal(response.fromServiceWorker(), true);
    await page.waitForFunction(() => document.documentElement.dataset.core !== undefined);
    assert.ok(await page.$('aria/Kresli'));
    assert.equal(await page.$eval('#field-x', e => e.value), '3*cos(t)');
    // The new version's style, from its cache.
    assert.equal(await page.evaluate(() => [...document.styleSheets].some(sheet =>
        [...sheet.cssRules].some(rule => rule.selectorText === '.next-version'))), true);
    assert.equal(await page.evaluate(() => getComputedStyle(document.documentElement).backgroundColor),
                 'rgb(236, 233, 226)');
    await page.close();
});
