// SPDX-License-Identifier: GPL-3.0-or-later
// Our static server: types, no listing, nothing outside the site, headers.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { after, before, test } from 'node:test';

import { StartServer } from '../tools/serve.mjs';
import { TemporaryFolder } from './support/Browser.mjs';

let folder;
let server;
let address;

before(async () => {
    folder = TemporaryFolder('serve');
    const site = path.join(folder, 'site');
    fs.mkdirSync(path.join(site, 'core'), { recursive: true });
    fs.mkdirSync(path.join(site, 'empty'));
    const files = {
        'index.html': '<!DOCTYPE html><title>x</title>', 'style.css': 'p{}', 'src.mjs': 'export {};',
        'core/paramcurve-core.wasm': '\0asm', 'manifest.webmanifest': '{}', 'icon.svg': '<svg/>',
        'sw.js': '//', 'data.bin': 'x',
    };
    for (const [name, text] of Object.entries(files))
        fs.writeFileSync(path.join(site, name), text);
    fs.writeFileSync(path.join(folder, 'secret.txt'), 'outside');
    fs.symlinkSync(path.join(folder, 'secret.txt'), path.join(site, 'link.txt'));
    ({ server, address } = await StartServer(site, 0));
});

after(() => {
    server.close();
    fs.rmSync(folder, { recursive: true, force: true });
});

// A raw request, so the path reaches the server exactly as written.
function Get(requestPath, method = 'GET')
{
    const { port } = new URL(address);
    return new Promise((resolve, reject) => {
        const request = http.request({ host: '127.0.0.1', port, path: requestPath, method }, response => {
            let body = '';
            response.on('data', chunk => { body += chunk; });
            response.on('end', () => resolve({ status: response.statusCode, headers: response.headers, body }));
        });
        request.on('error', reject);
        request.end();
    });
}

test('it listens on 127.0.0.1 only', () => {
    assert.equal(server.address().address, '127.0.0.1');
    assert.match(address, /^http:\/\/127\.0\.0\.1:\d+\/$/);
});

test('each file with its type', async () => {
    const types = [
        ['/', 'text/html; charset=utf-8'],
        ['/index.html', 'text/html; charset=utf-8'],
        ['/style.css', 'text/css; charset=utf-8'],
        ['/src.mjs', 'text/javascript; charset=utf-8'],
        ['/core/paramcurve-core.wasm', 'application/wasm'],
        ['/manifest.webmanifest', 'application/manifest+json; charset=utf-8'],
        ['/icon.svg', 'image/svg+xml'],
        ['/sw.js', 'text/javascript; charset=utf-8'],
        ['/data.bin', 'application/octet-stream'],
    ];
    for (const [file, type] of types) {
        const response = await Get(file);
        assert.equal(response.status, 200, file);
        assert.equal(response.headers['content-type'], type, file);
        assert.equal(response.headers['x-content-type-options'], 'nosniff', file);
    }
});

test('no folder is listed and nothing outside the site is served', async () => {
    const refused = ['/core/', '/empty/', '/empty', '/core', '/../secret.txt', '/%2e%2e/secret.txt',
                     '/core/%2e%2e/%2e%2e/secret.txt', '/link.txt', '/index.html%00.css', '/%E0%A4%A',
                     '/..%2fsecret.txt', '/..%5csecret.txt', '/missing.html'];
    for (const file of refused) {
        const response = await Get(file);
        assert.equal(response.status, 404, file);
        assert.doesNotMatch(response.body, /outside|paramcurve-core/, file);
    }
});

test('only GET and HEAD', async () => {
    assert.equal((await Get('/index.html', 'HEAD')).status, 200);
    assert.equal((await Get('/index.html', 'HEAD')).body, '');
    const posted = await Get('/index.html', 'POST');
    assert.equal(posted.status, 405);
    assert.equal(posted.headers.allow, 'GET, HEAD');
});

test('the page is isolated and allows no inline or foreign script', async () => {
    const { headers } = await Get('/');
    assert.equal(headers['cross-origin-opener-policy'], 'same-origin');
    assert.equal(headers['cross-origin-embedder-policy'], 'require-corp');
    const policy = headers['content-security-policy'];
    assert.match(policy, /(^|; )default-src 'self'(;|$)/);
    assert.match(policy, /(^|; )script-src 'self' 'wasm-unsafe-eval'(;|$)/);
    assert.doesNotMatch(policy, /'unsafe-inline'|'unsafe-eval'|\*|https?:/);
});
