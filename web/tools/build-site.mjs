#!/usr/bin/env node
// SPDX-License-Identifier: GPL-3.0-or-later
// Lays the page out in a site folder:
//   node web/tools/build-site.mjs OUT [--core CORE_DIR]
// the page's own files from web/, the program's icon, the core's module
// (paramcurve-core.mjs and .wasm) from CORE_DIR where it has been built, and
// the service worker with this version's name and its list of files. It
// prints the site's size. OUT is made anew.
import crypto from 'node:crypto';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const Web = path.dirname(path.dirname(fileURLToPath(import.meta.url)));
const Top = path.dirname(Web);

// What the page is made of, beside the modules in src/.
const PageFiles = ['index.html', 'style.css', 'manifest.webmanifest'];
const CoreFiles = ['paramcurve-core.mjs', 'paramcurve-core.wasm'];

export function BuildSite(out, coreDir = null)
{
    fs.rmSync(out, { recursive: true, force: true });
    fs.mkdirSync(path.join(out, 'src'), { recursive: true });
    const copied = [];
    const copy = (from, to) => {
        fs.copyFileSync(from, path.join(out, to));
        copied.push(to);
    };
    for (const file of PageFiles)
        copy(path.join(Web, file), file);
    copy(path.join(Top, 'app/desktop/cz.paramcurve.paramcurve.svg'), 'icon.svg');
    for (const file of fs.readdirSync(path.join(Web, 'src')).filter(name => name.endsWith('.mjs')).sort())
        copy(path.join(Web, 'src', file), `src/${file}`);
    let core = false;
    if (coreDir && CoreFiles.every(file => fs.existsSync(path.join(coreDir, file)))) {
        fs.mkdirSync(path.join(out, 'core'));
        for (const file of CoreFiles)
            copy(path.join(coreDir, file), `core/${file}`);
        core = true;
    }

    // The version is the files' contents: any change makes a new cache.
    const hash = crypto.createHash('sha256');
    for (const file of copied) {
        hash.update(file);
        hash.update(fs.readFileSync(path.join(out, file)));
    }
    const version = hash.digest('hex').slice(0, 16);
    const cached = ['./', ...copied];
    const worker = fs.readFileSync(path.join(Web, 'sw.js'), 'utf8')
        .replace('@SITE_VERSION@', version)
        .replace("['@SITE_FILES@']", JSON.stringify(cached));
    fs.writeFileSync(path.join(out, 'sw.js'), worker);
    copied.push('sw.js');

    const bytes = copied.reduce((sum, file) => sum + fs.statSync(path.join(out, file)).size, 0);
    return { version, files: copied, bytes, core };
}

if (process.argv[1] && fs.realpathSync(process.argv[1]) === fileURLToPath(import.meta.url)) {
    const args = process.argv.slice(2);
    const coreAt = args.indexOf('--core');
    const coreDir = coreAt >= 0 ? args[coreAt + 1] : null;
    const out = args.find((arg, i) => !arg.startsWith('--') && i !== coreAt + 1);
    if (!out) {
        console.error('usage: build-site.mjs OUT [--core CORE_DIR]');
        process.exit(2);
    }
    const site = BuildSite(path.resolve(out), coreDir && path.resolve(coreDir));
    console.log(`${site.files.length} files, ${site.bytes} bytes, version ${site.version}, `
                + `core ${site.core ? 'included' : 'not built yet'}`);
}
