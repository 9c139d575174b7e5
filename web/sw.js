// SPDX-License-Identifier: GPL-3.0-or-later
// The page offline: its files in a cache of this version, served from there
// first. The build writes the version and the list of files; a new version
// installs beside the old one and takes over, and the old cache goes.
const Version = '@SITE_VERSION@';
const Files = ['@SITE_FILES@'];
const CachePrefix = 'paramcurve-';
const CacheName = `${CachePrefix}${Version}`;

self.addEventListener('install', event => {
    event.waitUntil(caches.open(CacheName)
        .then(cache => cache.addAll(Files.map(file => new Request(file, { cache: 'reload' }))))
        .then(() => self.skipWaiting()));
});

self.addEventListener('activate', event => {
    event.waitUntil(caches.keys()
        .then(names => Promise.all(names.filter(name => name.startsWith(CachePrefix) && name !== CacheName)
            .map(name => caches.delete(name))))
        .then(() => self.clients.claim()));
});

self.addEventListener('fetch', event => {
    const request = event.request;
    const url = new URL(request.url);
    if (request.method !== 'GET' || url.origin !== self.location.origin)
        return;
    // The page's address, whatever its query: the page.
    const key = request.mode === 'navigate' ? new URL('./', self.registration.scope).href : request;
    event.respondWith(caches.open(CacheName)
        .then(cache => cache.match(key, { ignoreSearch: request.mode === 'navigate' }))
        .then(cached => cached ?? fetch(request)));
});
