// The class view, for a teacher (the address ending in #class): every file
// chosen or dropped, in any number of goes, joins one list (a zip counts as
// its .xml files) until it is cleared; the list in natural order, failures
// first, with the 出席番号 missing; one zip of the outlines named after
// their programs and the list as 一覧.csv; the site's QR code, the
// learners' sheet to print, and whether this device has the offline copy.
'use strict';
const collator = new Intl.Collator('ja', { numeric: true });
const reasons = {
  waiting: '解析中…',
  'not-read': '読めませんでした（もう一度出してもらってください）',
  'no-line': 'アウトラインが 1 行もできませんでした',
  'too-large': 'structure.txt が大きすぎて、このページでは作れません',
  damaged: 'zip の中で壊れていました',
  'zip-large': 'zip が大きすぎます（512 MB まで）',
  skipped: '.xml ではないので飛ばしました',
};
// The list: { name, size, crc, file, state, made, blob }; `round` grows at
// each clearing, so that what an earlier list started is dropped.
let roster = [];
let round = 0;
// Grows at each change of the list: a zip made for an older list is dropped.
let edition = 0;
// The names of files left out of this go because they were listed already.
let repeats = [];

const failedFirst = (entry) => (entry.state === 'done' || entry.state === 'waiting' ? 1 : 0);
const inOrder = () => [...roster].sort((a, b) => failedFirst(a) - failedFirst(b) || collator.compare(a.name, b.name));
// The zip can be made: every file is done, and one has an outline.
const saveable = () => roster.some((entry) => entry.state === 'done') && !roster.some((entry) => entry.state === 'waiting');

// The same file as one already listed: same name, size and CRC-32.
async function crcOf(blob) {
  let crc = 0;
  for (let at = 0; at < blob.size; at += 2 ** 22) crc = crc32(new Uint8Array(await blob.slice(at, at + 2 ** 22).arrayBuffer()), crc);
  return crc;
}
async function listed(entry) {
  for (const other of roster.filter((one) => one.name === entry.name && one.size === entry.size)) {
    // A file that can no longer be read is the same as none.
    entry.crc ??= await crcOf(entry.file).catch(() => NaN);
    other.crc ??= await crcOf(other.file).catch(() => NaN);
    if (other.crc === entry.crc) return true;
  }
  return false;
}

// Adds one program to the list and has it analysed.
async function enlist(name, file, crc) {
  const mine = round;
  const entry = { name, size: file.size, crc, file, state: 'waiting' };
  if (await listed(entry)) return repeats.push(name);
  if (mine !== round) return;
  roster.push(entry);
  changed();
  const result = await runner.add(file, () => {}, 'class');
  if (mine !== round || result.status === 'dropped') return;
  // A file from a zip is not kept: the list holds its outline alone.
  if (crc !== undefined) entry.file = null;
  entry.state = result.status !== 'done' ? result.status : result.made === 0 ? 'no-line' : 'done';
  Object.assign(entry, { made: result.made, blob: entry.state === 'done' ? result.blob : null });
  changed();
}

function failure(name, state) {
  roster.push({ name, state });
  changed();
}

// A zip's .xml files, one at a time; folders are left out of the names.
async function unpack(zip) {
  if (zip.size > zipLimit) return failure(zip.name, 'zip-large');
  let bytes;
  try {
    bytes = new Uint8Array(await zip.arrayBuffer());
  } catch {
    return failure(zip.name, 'not-read');
  }
  const entries = zipEntries(bytes);
  if (!entries) return failure(zip.name, 'damaged');
  const mine = round;
  for (const entry of entries) {
    const name = entry.name.replace(/^.*[\\/]/, '');
    if (mine !== round) return;
    if (entry.name.endsWith('/') || /(^|\/)__MACOSX\//.test(entry.name) || name.startsWith('._')) continue;
    if (!/\.xml$/i.test(name)) {
      failure(name, 'skipped');
      continue;
    }
    const data = inflated(bytes, entry);
    if (!data) failure(name, 'damaged');
    else await enlist(name, new File([data], name), entry.crc);
  }
}

async function collect(files) {
  const mine = round;
  repeats = [];
  note('読んでいます…');
  for (const file of files) {
    if (/\.zip$/i.test(file.name)) await unpack(file);
    else await enlist(file.name, file);
  }
  if (mine !== round) return;
  const again = repeats.length ? `${repeats.join('、')} は、同じ名前と中身のファイルがもう一覧にあるので、入れませんでした。` : '';
  note(`一覧に ${roster.length} ファイルあります。${again}`);
}

function note(text) {
  $('class-note').textContent = text;
}

// The 出席番号 missing from 1 to the highest at the start of a name.
function missing(entries) {
  const numbers = new Set(entries.map((entry) => Number((/^\d+/.exec(entry.name.normalize('NFKC')) || [])[0])).filter((n) => n > 0));
  const highest = Math.max(0, ...numbers);
  if (numbers.size < 2 || highest > 99) return [];
  return Array.from({ length: highest }, (_, i) => i + 1).filter((n) => !numbers.has(n));
}

// The list as Excel on a Japanese Windows opens it: UTF-8 with a BOM, CR LF.
function table(entries, names) {
  const cell = (text) => `"${String(text).replace(/^[=+\-@]/, "'$&").replace(/"/g, '""')}"`;
  const rows = [['ファイル', 'structure.txt', 'アウトラインの行数', '結果']].concat(entries.map((entry) =>
    [entry.name, names.get(entry) || '', entry.state === 'done' ? entry.made : '', entry.state === 'done' ? 'できました' : reasons[entry.state]]));
  return new Blob([`\uFEFF${rows.map((row) => row.map(cell).join(',')).join('\r\n')}\r\n`], { type: 'text/csv' });
}

// The outlines' names, in the list's order.
const namesOf = (entries) => {
  const done = entries.filter((entry) => entry.state === 'done');
  return new Map(outlineNames(done.map((entry) => entry.name)).map((name, i) => [done[i], name]));
};

// The list changed: shown anew, and the zip made for the list before goes.
function changed() {
  edition++;
  const entries = inOrder();
  const names = namesOf(entries);
  $('class-list').replaceChildren(...entries.map((entry) => {
    const row = document.createElement('tr');
    const result = entry.state === 'done' ? `${entry.made} 行` : reasons[entry.state];
    for (const text of [entry.name, names.get(entry) || '', result]) row.insertCell().textContent = text;
    if (failedFirst(entry) === 0) row.className = 'error';
    return row;
  }));
  const gaps = missing(entries);
  $('class-missing').textContent = gaps.length ? `出席番号 ${gaps.join('、')} が ありません。` : '';
  $('class-save').disabled = !saveable();
  release($('class-link'));
  $('class-zip').hidden = true;
  if (sharing && saveable()) packed().catch(() => {});
}

// The class's zip, made now: at most one is alive.
async function packed() {
  const mine = edition;
  const entries = inOrder();
  const names = namesOf(entries);
  const now = new Date();
  const files = [...names].map(([entry, name]) => ({ name, lastModified: now, input: entry.blob }));
  files.push({ name: '一覧.csv', lastModified: now, input: table(entries, names) });
  const zip = await downloadZip(files).blob();
  if (mine !== edition) return null;
  const pad = (n) => String(n).padStart(2, '0');
  const stamp = `${now.getFullYear()}${pad(now.getMonth() + 1)}${pad(now.getDate())}-${pad(now.getHours())}${pad(now.getMinutes())}`;
  const link = $('class-link');
  release(link);
  offer(link, new Blob([zip], { type: 'application/zip' }), `structure-${stamp}.zip`);
  link.textContent = `structure-${stamp}.zip を保存（structure.txt ${names.size} 個と 一覧.csv）`;
  $('class-zip').hidden = false;
  return link;
}

// The site's address as a QR code, drawn as SVG (the page's policy allows
// no image from a data: URL); only the site has the library.
function drawCode() {
  if (typeof qrcode !== 'function' || !/^https?:$/.test(location.protocol) || $('qr-code').firstChild) return;
  const address = location.href.replace(/#.*$/, '');
  const code = qrcode(0, 'M');
  code.addData(address);
  code.make();
  const size = code.getModuleCount() + 8;
  let path = '';
  for (let row = 0; row < size - 8; row++) {
    for (let column = 0; column < size - 8; column++) if (code.isDark(row, column)) path += `M${column + 4} ${row + 4}h1v1h-1z`;
  }
  const svg = document.createElementNS('http://www.w3.org/2000/svg', 'svg');
  svg.setAttribute('viewBox', `0 0 ${size} ${size}`);
  svg.setAttribute('shape-rendering', 'crispEdges');
  svg.setAttribute('role', 'img');
  svg.setAttribute('aria-label', `QR コード：${address}`);
  const dots = document.createElementNS('http://www.w3.org/2000/svg', 'path');
  dots.setAttribute('d', path);
  svg.append(dots);
  $('qr-code').append(svg);
  $('qr-address').textContent = address;
  $('qr').hidden = false;
}

function offline() {
  const controlled = navigator.serviceWorker && navigator.serviceWorker.controller;
  $('class-offline').textContent = !/^https?:$/.test(location.protocol) ? 'この 1 ファイルのページは、オフライン用のコピーを作りません（開いている間は、ネットワークがなくても使えます）。'
    : controlled ? 'この端末には、オフライン用のコピーがあります。ネットワークがなくても開けます。'
      : 'この端末には、まだオフライン用のコピーがありません。ネットワークにつながったまま、このページを開き直してください。';
}

// The learner's page or the class view, as the address says.
function view() {
  const teacher = location.hash === '#class';
  if (!$('too-old').hidden) return;
  $('app').hidden = teacher;
  $('help').hidden = teacher;
  $('class').hidden = !teacher;
  // Drawn on the learner's page too, for its printed sheet.
  drawCode();
  if (teacher) offline();
}

$('class-choose').onclick = () => $('class-files').click();
$('class-files').onchange = (event) => {
  collect([...event.target.files]);
  event.target.value = '';
};
$('class-save').onclick = async () => {
  $('class-save').disabled = true;
  const link = await packed().catch(() => null);
  $('class-save').disabled = !saveable();
  if (link && !sharing) link.click();
};
$('class-clear').onclick = () => {
  round++;
  runner.clear('class');
  roster = [];
  note('');
  changed();
};
$('qr-big').onclick = () => {
  const big = $('qr').classList.toggle('big');
  $('qr-big').textContent = big ? 'もどす' : '大きく';
};
$('print').onclick = () => window.print();
// The sheet holds the help opened.
let helpWasOpen = false;
addEventListener('beforeprint', () => {
  helpWasOpen = $('help').open;
  $('help').open = true;
});
addEventListener('afterprint', () => {
  $('help').open = helpWasOpen;
});
addEventListener('hashchange', view);
if (navigator.serviceWorker) navigator.serviceWorker.addEventListener('controllerchange', offline);
view();
