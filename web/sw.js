// The site's service worker: keeps the site's files on the first visit and
// serves them from that copy, so that the page opens and works with no
// network. The copy is named by a hash of the files and by the site's
// folder: a changed site brings a changed worker, which takes over at once
// and removes its old copy, never that of another copy of the site on the
// same host.
'use strict';
const folder = self.registration.scope;
const copy = `tenapi-@HASH@ ${folder}`;
const files = [@FILES@];

self.addEventListener('install', (event) => {
  // Past the browser's HTTP cache, which may hold the files of the site before.
  const requests = files.map((file) => new Request(file, { cache: 'reload' }));
  event.waitUntil(caches.open(copy).then((cache) => cache.addAll(requests)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  const old = (key) => key.startsWith('tenapi-') && key.endsWith(` ${folder}`) && key !== copy;
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter(old).map((key) => caches.delete(key))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.match(event.request, { cacheName: copy, ignoreSearch: true })
    .then((kept) => kept || fetch(event.request)));
});
