// The site's service worker: keeps the site's files on the first visit and
// serves them from that copy, so that the page opens and works with no
// network. A new version is kept whole or not at all: each file is fetched
// past the browser's HTTP cache and kept only if its SHA-256 is the one
// below, so a host or a proxy that still serves an older file fails the
// install, the version in use stays, and the browser tries again on a
// later visit. The copy is named by a hash of the files and of this
// script, and by the site's folder, so that an install never writes into
// the copy in use: a new version takes over at once and removes this
// folder's older copies, never those of another copy of the site on the
// same host.
'use strict';
const folder = self.registration.scope;
const copy = `tenapi-@HASH@ ${folder}`;
const files = {@FILES@};

const hex = (buffer) => [...new Uint8Array(buffer)].map((byte) => byte.toString(16).padStart(2, '0')).join('');

async function keep() {
  // A copy of this name is this very version's, perhaps the one in use: a
  // failed install removes only a copy it began.
  const began = !(await caches.has(copy));
  const cache = await caches.open(copy);
  try {
    for (const [name, sum] of Object.entries(files)) {
      const response = await fetch(new Request(name, { cache: 'reload' }));
      const body = await response.arrayBuffer();
      if (!response.ok || hex(await crypto.subtle.digest('SHA-256', body)) !== sum) throw new Error(`${name} is not this version's`);
      // A fresh response: one that came through a redirect is refused for a navigation.
      await cache.put(name, new Response(body, { headers: { 'content-type': response.headers.get('content-type') || '' } }));
    }
  } catch (error) {
    if (began) await caches.delete(copy);
    throw error;
  }
}

self.addEventListener('install', (event) => {
  event.waitUntil(keep().then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  const old = (key) => key.startsWith('tenapi-') && key.endsWith(` ${folder}`) && key !== copy;
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter(old).map((key) => caches.delete(key))))
    .then(() => self.clients.claim()));
});

// The folder's own address is index.html; the query and the host's Vary
// make no difference.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  const address = event.request.url.replace(/[?#].*$/, '');
  const key = address === folder ? `${folder}index.html` : event.request;
  event.respondWith(caches.match(key, { cacheName: copy, ignoreSearch: true, ignoreVary: true })
    .then((kept) => kept || fetch(event.request)));
});
