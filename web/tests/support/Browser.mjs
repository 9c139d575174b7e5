// SPDX-License-Identifier: GPL-3.0-or-later
// The page's tests in a real browser: the site built into a temporary folder
// (or the one scripts/check-web.sh built, PARAMCURVE_WEB_SITE), served by our
// own server on a free port of 127.0.0.1, and Debian's Chromium driven
// headless through puppeteer-core with a fresh profile. Nothing is written
// into the source tree.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

import puppeteer from 'puppeteer-core';

import { BuildSite } from '../../tools/build-site.mjs';
import { StartServer } from '../../tools/serve.mjs';

export const ChromiumPath = process.env.PARAMCURVE_CHROMIUM ?? '/usr/bin/chromium';
const Top = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../..');

export const LaunchFlags = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
                            '--disable-background-networking', '--disable-component-update', '--disable-sync'];

// A folder of our own under the system's temporary folder, removed by `Clean`.
export function TemporaryFolder(name)
{
    return fs.mkdtempSync(path.join(os.tmpdir(), `paramcurve-web-${name}-`));
}

// The built site: check-web.sh's, else one built here for this test file.
export function Site()
{
    if (process.env.PARAMCURVE_WEB_SITE)
        return { root: process.env.PARAMCURVE_WEB_SITE, owned: null };
    const folder = TemporaryFolder('site');
    const root = path.join(folder, 'site');
    BuildSite(root, path.join(Top, 'build-web/core'));
    return { root, owned: folder };
}

export function SiteHasCore(root)
{
    return fs.existsSync(path.join(root, 'core/paramcurve-core.wasm'));
}

// Why the tests that draw are skipped, or false when they can run.
export function CoreSkip(root)
{
    return SiteHasCore(root) ? false
        : 'the core is not built as WebAssembly yet (its exported layer of web/PROTOCOL.md is not in the tree)';
}

// A site, a server and a browser for one test file; `Close()` ends them all.
export async function OpenBrowser({ site = null } = {})
{
    const built = site ?? Site();
    const { server, address } = await StartServer(built.root, 0);
    const profile = TemporaryFolder('profile');
    const browser = await puppeteer.launch({
        executablePath: ChromiumPath,
        headless: true,
        args: [...LaunchFlags, `--user-data-dir=${profile}`],
    });
    const errors = [];
    return {
        browser, server, address, root: built.root, errors,
        // ownWindow: the page in a browser context, and so a window, of its
        // own. Pages that share a window are tabs of it, and only the front
        // one is shown: a hidden page gets no animation frames, which clicks
        // and waits rely on, so pages that work at once need windows apart.
        async NewPage({ width = 1280, height = 900, ratio = 1, hash = '', wait = true, ownWindow = false } = {})
        {
            const context = ownWindow ? await browser.createBrowserContext() : null;
            const page = await (context ?? browser).newPage();
            if (context)
                page.once('close', () => context.close().catch(() => {}));
            page.on('pageerror', error => errors.push(`pageerror: ${error.message}`));
            page.on('console', message => {
                if (message.type() === 'error' && !/paramcurve-core\.mjs/.test(message.text())
                    && !/Failed to load resource/.test(message.text()))
                    errors.push(`console: ${message.text()}`);
            });
            await page.setViewport({ width, height, deviceScaleFactor: ratio });
            await page.goto(`${address}${hash}`, { waitUntil: 'load' });
            if (wait)
                await page.waitForFunction(() => document.documentElement.dataset.core !== undefined);
            return page;
        },
        async Close()
        {
            await browser.close().catch(() => {});
            await new Promise(resolve => server.close(resolve));
            fs.rmSync(profile, { recursive: true, force: true });
            if (built.owned)
                fs.rmSync(built.owned, { recursive: true, force: true });
        },
    };
}

// The accessibility tree's nodes, flat, as a screen reader is given them.
export async function AccessibleNodes(page)
{
    const root = await page.accessibility.snapshot({ interestingOnly: false });
    const nodes = [];
    const walk = node => {
        nodes.push(node);
        for (const child of node.children ?? [])
            walk(child);
    };
    walk(root);
    return nodes;
}

// The accessible name of the focused element, as the browser computes it.
export async function FocusedName(page)
{
    const handle = await page.evaluateHandle(() => document.activeElement);
    const node = await page.accessibility.snapshot({ root: handle, interestingOnly: false });
    await handle.dispose();
    return node?.name ?? '';
}

export const Sleep = ms => new Promise(resolve => setTimeout(resolve, ms));
