#!/usr/bin/env node
// SPDX-License-Identifier: GPL-3.0-or-later
// A small static server for the built page, on 127.0.0.1 only:
//   node web/tools/serve.mjs --root build-web/site [--port 8080]   (--port 0: a free port)
// It prints the address once it listens. Files only: no folder is listed, a
// path that leads outside the site (also through a link) is refused, and
// only GET and HEAD are answered. Its headers make the page cross-origin
// isolated, so the page can share the stop flag with the core's worker.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

export const Host = '127.0.0.1';

export const MimeTypes = Object.freeze({
    '.html': 'text/html; charset=utf-8',
    '.mjs': 'text/javascript; charset=utf-8',
    '.js': 'text/javascript; charset=utf-8',
    '.css': 'text/css; charset=utf-8',
    '.wasm': 'application/wasm',
    '.json': 'application/json; charset=utf-8',
    '.webmanifest': 'application/manifest+json; charset=utf-8',
    '.svg': 'image/svg+xml',
    '.png': 'image/png',
    '.gif': 'image/gif',
    '.ico': 'image/x-icon',
    '.txt': 'text/plain; charset=utf-8',
    '.paramcurve': 'application/x-paramcurve',
});

export const ContentSecurityPolicy = "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; worker-src 'self'; "
    + "style-src 'self'; img-src 'self' blob: data:; connect-src 'self'; font-src 'self'; manifest-src 'self'; "
    + "object-src 'none'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'";

const CommonHeaders = {
    'Content-Security-Policy': ContentSecurityPolicy,
    'Cross-Origin-Opener-Policy': 'same-origin',
    'Cross-Origin-Embedder-Policy': 'require-corp',
    'Cross-Origin-Resource-Policy': 'same-origin',
    'X-Content-Type-Options': 'nosniff',
    'Referrer-Policy': 'no-referrer',
    // The service worker keeps the page for offline use; the server always
    // has the newest.
    'Cache-Control': 'no-cache',
};

function Refuse(response, status, text)
{
    response.writeHead(status, { ...CommonHeaders, 'Content-Type': 'text/plain; charset=utf-8' });
    response.end(`${text}\n`);
}

// The file a request's path names inside `root` (a real path), or null.
export function ResolveInSite(root, requestPath)
{
    let decoded;
    try {
        decoded = decodeURIComponent(requestPath);
    } catch {
        return null;
    }
    if (decoded.includes('\0') || decoded.includes('\\'))
        return null;
    const parts = decoded.split('/');
    if (parts.some(part => part === '..' || part === '.'))
        return null;
    let file = path.join(root, ...parts);
    if (decoded.endsWith('/'))
        file = path.join(file, 'index.html');
    let real;
    try {
        real = fs.realpathSync(file);
    } catch {
        return null;
    }
    if (real !== root && !real.startsWith(root + path.sep))
        return null;
    return fs.statSync(real).isFile() ? real : null;
}

export function MakeServer(siteRoot)
{
    const root = fs.realpathSync(siteRoot);
    return http.createServer((request, response) => {
        if (request.method !== 'GET' && request.method !== 'HEAD') {
            response.setHeader('Allow', 'GET, HEAD');
            return Refuse(response, 405, 'Method Not Allowed');
        }
        const url = new URL(request.url, `http://${Host}`);
        const file = ResolveInSite(root, url.pathname);
        if (!file)
            return Refuse(response, 404, 'Not Found');
        const type = MimeTypes[path.extname(file).toLowerCase()] ?? 'application/octet-stream';
        const size = fs.statSync(file).size;
        const headers = { ...CommonHeaders, 'Content-Type': type, 'Content-Length': size };
        if (path.basename(file) === 'sw.js')
            headers['Service-Worker-Allowed'] = '/';
        response.writeHead(200, headers);
        if (request.method === 'HEAD')
            return response.end();
        fs.createReadStream(file).pipe(response);
    });
}

// Listens on 127.0.0.1 (port 0: a free one); resolves with the server and its address.
export function StartServer(siteRoot, port = 0)
{
    const server = MakeServer(siteRoot);
    return new Promise((resolve, reject) => {
        server.once('error', reject);
        server.listen(port, Host, () => resolve({ server, address: `http://${Host}:${server.address().port}/` }));
    });
}

function Arguments(argv)
{
    const options = { root: null, port: 8080 };
    for (let i = 0; i < argv.length; ++i) {
        if (argv[i] === '--root')
            options.root = argv[++i];
        else if (argv[i] === '--port')
            options.port = Number(argv[++i]);
        else
            throw new Error(`unknown argument ${argv[i]}`);
    }
    if (!options.root || !Number.isInteger(options.port) || options.port < 0 || options.port > 65535)
        throw new Error('usage: serve.mjs --root SITE [--port N]');
    return options;
}

if (process.argv[1] && fs.realpathSync(process.argv[1]) === fileURLToPath(import.meta.url)) {
    try {
        const { root, port } = Arguments(process.argv.slice(2));
        const { address } = await StartServer(root, port);
        console.log(address);
    } catch (error) {
        console.error(`serve.mjs: ${error.message}`);
        process.exit(2);
    }
}
