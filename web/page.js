// The learner's page: takes files from the button or a drop anywhere and
// shows what the Worker made of each. Every choice starts clean: the page
// shows only what the latest one gave. The rules are all in the core.
'use strict';
const $ = (id) => document.getElementById(id);
const times = (window.tenapiTimes = { outlines: [] });
const code = URL.createObjectURL(new Blob([$('worker').textContent], { type: 'text/javascript' }));
const runner = makeRunner(code, {
  limit: shownBytes,
  ready() {
    $('choose').disabled = false;
    $('class-choose').disabled = false;
    times.ready ??= performance.now();
  },
  broken() {
    $('too-old').hidden = false;
    $('app').hidden = true;
    $('class').hidden = true;
  },
});
// The latest choice, and the save links it made.
let choice = 0;
let links = [];

// Drops what the choices before gave: their files, results and Blobs.
function clean() {
  runner.clear('learner');
  links.forEach(release);
  links = [];
  $('results').replaceChildren();
  $('app').classList.remove('shown');
}

async function take(files, start) {
  if (files.length === 0) return;
  const mine = ++choice;
  clean();
  const chosen = Date.now();
  // Several files at once are saved under names of their own.
  const saveAs = files.length === 1 ? ['structure.txt'] : outlineNames(files.map((file) => file.name));
  const parts = files.map((file) => place($('results'), file, chosen));
  parts[0].view.scrollIntoView({ block: 'start' });
  await Promise.all(files.map(async (file, i) => {
    const result = await runner.add(file, (read) => {
      parts[i].status.textContent = `よみこみ中… ${Math.floor(read * 100)}%`;
    }, 'learner');
    if (mine !== choice || result.status === 'dropped') return;
    if (result.status !== 'done') return failed(parts[i], result.status);
    times.memory = Math.max(times.memory || 0, result.memory);
    const link = shown(parts[i], saveAs[i], result);
    if (link) {
      links.push(link);
      $('app').classList.add('shown');
    }
    requestAnimationFrame(() => setTimeout(() => times.outlines.push(performance.now() - start)));
  }));
}

$('choose').onclick = () => $('files').click();
$('files').onchange = (event) => {
  take([...event.target.files], event.timeStamp);
  event.target.value = '';
};
document.addEventListener('dragover', (event) => event.preventDefault());
document.addEventListener('drop', (event) => {
  event.preventDefault();
  (location.hash === '#class' ? collect : take)([...event.dataTransfer.files], event.timeStamp);
});
// An installed app opened from a Chromebook's Files app gets its files
// here (Chrome 102 and later); elsewhere there is no launchQueue.
if ('launchQueue' in window) {
  launchQueue.setConsumer(async ({ files }) => {
    const start = performance.now();
    const chosen = await Promise.all(files.filter((handle) => handle.kind === 'file').map((handle) => handle.getFile().catch(() => null)));
    take(chosen.filter(Boolean), start);
  });
}
$('old').hidden = true;
$('app').hidden = false;
runner.start();
// The site (its page has a manifest) keeps itself for offline use, where a
// server serves it; a page opened from a file has no service worker.
if ($('manifest') && /^https?:$/.test(location.protocol) && navigator.serviceWorker) {
  navigator.serviceWorker.register('sw.js').catch(() => {});
}
