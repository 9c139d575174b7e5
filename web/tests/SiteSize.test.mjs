// SPDX-License-Identifier: GPL-3.0-or-later
// The page stays small: its own files at most 1 MB, the core's module apart.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';

import { BuildSite } from '../tools/build-site.mjs';
import { TemporaryFolder } from './support/Browser.mjs';

test('the page\'s files are at most 1 MB', () => {
    const folder = TemporaryFolder('size');
    try {
        const site = BuildSite(path.join(folder, 'site'));
        const page = site.files.filter(file => !file.startsWith('core/'));
        const bytes = page.reduce((sum, file) => sum + fs.statSync(path.join(folder, 'site', file)).size, 0);
        assert.ok(bytes <= 1000 * 1000, `${bytes} bytes`);
        assert.ok(page.includes('index.html') && page.includes('sw.js') && page.includes('src/Main.mjs'));
    } finally {
        fs.rmSync(folder, { recursive: true, force: true });
    }
});
