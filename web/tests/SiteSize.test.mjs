// SPDX-License-Identifier: GPL-3.0-or-later
// The page stays small: all its files, the core's module included, at most
// 1 MB. The sizes compressed (gzip -9 and brotli, as a server may send
// them) are printed beside.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';
import { fileURLToPath } from 'node:url';
import zlib from 'node:zlib';

import { BuildSite } from '../tools/build-site.mjs';
import { SiteHasCore, TemporaryFolder } from './support/Browser.mjs';

const Top = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
const Core = path.join(Top, 'build-web/core');

function Sizes(root, files)
{
    let raw = 0, gzip = 0, brotli = 0;
    for (const file of files) {
        const bytes = fs.readFileSync(path.join(root, file));
        raw += bytes.length;
        gzip += zlib.gzipSync(bytes, { level: 9 }).length;
        brotli += zlib.brotliCompressSync(bytes, {
            params: { [zlib.constants.BROTLI_PARAM_QUALITY]: zlib.constants.BROTLI_MAX_QUALITY },
        }).length;
    }
    return { raw, gzip, brotli };
}

test('the page\'s files are at most 1 MB, the core\'s module included', () => {
    const folder = TemporaryFolder('size');
    try {
        const root = path.join(folder, 'site');
        const site = BuildSite(root, Core);
        assert.ok(site.files.includes('index.html') && site.files.includes('sw.js') && site.files.includes('src/Main.mjs'));
        const all = Sizes(root, site.files);
        const core = Sizes(root, site.files.filter(file => file.startsWith('core/')));
        console.log(`site: ${site.files.length} files, ${all.raw} bytes (gzip -9 ${all.gzip}, brotli ${all.brotli}); `
                    + `the core's module ${core.raw} bytes (gzip -9 ${core.gzip}, brotli ${core.brotli})`);
        assert.ok(all.raw <= 1000 * 1000, `${all.raw} bytes`);
        if (!SiteHasCore(root))
            console.log('(the core is not built: the page alone)');
    } finally {
        fs.rmSync(folder, { recursive: true, force: true });
    }
});
