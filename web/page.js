// The page: takes files from the button or a drop anywhere and shows what
// the Worker made of each. Every choice starts clean: the page shows only
// what the latest one gave. Files chosen together are named after their
// programs and can be saved in one zip too. The rules are all in the core.
'use strict';
const $ = (id) => document.getElementById(id);
const times = (window.tenapiTimes = { outlines: [] });
const code = URL.createObjectURL(new Blob([$('worker').textContent], { type: 'text/javascript' }));
const runner = makeRunner(code, {
  limit: shownBytes,
  ready() {
    $('choose').disabled = false;
    times.ready ??= performance.now();
  },
  broken() {
    $('too-old').hidden = false;
    $('app').hidden = true;
  },
});
// The latest choice, and the save links it made.
let choice = 0;
let links = [];

// Drops what the choices before gave: their files, results and Blobs.
function clean() {
  runner.clear();
  links.forEach(release);
  links = [];
  release($('zip'));
  $('all').hidden = true;
  $('results').replaceChildren();
  $('app').classList.remove('shown');
}

// Several files at once are saved under names of their own
// (taro.xml: taro.structure.txt); one alone as structure.txt.
function names(files) {
  if (files.length === 1) return ['structure.txt'];
  const seen = new Map();
  return files.map((file) => {
    const base = file.name.replace(/\.xml$/i, '');
    const n = (seen.get(base) || 0) + 1;
    seen.set(base, n);
    return `${base}${n > 1 ? `-${n}` : ''}.structure.txt`;
  });
}

// The outlines of one choice in one zip, named for the moment, made once
// all are done so that a click saves it at once (Safari asks for the click
// itself before a share).
async function bundle(outlines, mine) {
  const now = new Date();
  const files = outlines.map(({ name, blob }) => ({ name, lastModified: now, input: blob }));
  const zip = await downloadZip(files).blob();
  if (mine !== choice) return;
  const pad = (n) => String(n).padStart(2, '0');
  const stamp = `${now.getFullYear()}${pad(now.getMonth() + 1)}${pad(now.getDate())}-${pad(now.getHours())}${pad(now.getMinutes())}${pad(now.getSeconds())}`;
  offer($('zip'), new Blob([zip], { type: 'application/zip' }), `structure-${stamp}.zip`);
  $('all').hidden = false;
}

async function take(files, start) {
  if (files.length === 0) return;
  const mine = ++choice;
  clean();
  const chosen = Date.now();
  const saveAs = names(files);
  const parts = files.map((file) => place($('results'), file, chosen));
  parts[0].view.scrollIntoView({ block: 'start' });
  const outlines = [];
  await Promise.all(files.map(async (file, i) => {
    const result = await runner.add(file, (read) => {
      parts[i].status.textContent = `よみこみ中… ${Math.floor(read * 100)}%`;
    });
    if (mine !== choice || result.status === 'dropped') return;
    if (result.status !== 'done') return failed(parts[i], result.status);
    times.memory = Math.max(times.memory || 0, result.memory);
    const link = shown(parts[i], saveAs[i], result);
    if (link) {
      links.push(link);
      outlines[i] = { name: saveAs[i], blob: result.blob };
      $('app').classList.add('shown');
    }
    requestAnimationFrame(() => setTimeout(() => times.outlines.push(performance.now() - start)));
  }));
  const made = outlines.filter(Boolean);
  if (mine === choice && made.length > 1) await bundle(made, mine).catch(() => {});
}

$('choose').onclick = () => $('files').click();
$('files').onchange = (event) => {
  take([...event.target.files], event.timeStamp);
  event.target.value = '';
};
document.addEventListener('dragover', (event) => event.preventDefault());
document.addEventListener('drop', (event) => {
  event.preventDefault();
  take([...event.dataTransfer.files], event.timeStamp);
});
$('old').hidden = true;
$('app').hidden = false;
runner.start();
// The site (its page has a manifest) keeps itself for offline use, where a
// server serves it; a page opened from a file has no service worker.
if ($('manifest') && /^https?:$/.test(location.protocol) && navigator.serviceWorker) {
  navigator.serviceWorker.register('sw.js').catch(() => {});
}
