// The page: takes files from the button or a drop anywhere, has the Worker
// analyse them one after another, and shows each outline with a link that
// saves its structure.txt, and all of them in one zip. The rules are all
// in the core. A file that fails gets a sentence and the next one runs, in
// a fresh Worker where the last one can no longer be trusted.
'use strict';
const $ = (id) => document.getElementById(id);
const times = (window.tenapiTimes = { outlines: [] });
const code = URL.createObjectURL(new Blob([$('worker').textContent], { type: 'text/javascript' }));
// Characters shown of a line at most, and the bytes that hold them.
const shownChars = 300;
const shownBytes = 4 * shownChars;
const queue = [];
let current = null;
// The outlines made so far, for the zip: { name, blob }.
const outlines = [];
// The Worker, null until a file needs one; loading while it has no core.
let worker = null;
let loading = false;
// A core has loaded: the page works in this browser, whatever fails later.
let loaded = false;

const say = (view, text, kind) => {
  const p = document.createElement('p');
  p.textContent = text;
  if (kind) p.className = kind;
  view.append(p);
  return p;
};

const failures = {
  'not-read': 'ファイルが開けませんでした。',
  'too-large': 'ファイルは よめましたが、structure.txt が 大きすぎて、この ページでは つくれません。',
};

function fail(job, status) {
  job.status.textContent = failures[status] || failures['not-read'];
  job.status.className = 'error';
}

// The lines as the file holds them: UTF-8 where all of them are, else
// Shift_JIS. A cut line may end inside a character, which is left out.
function decode(lines) {
  const as = (encoding, fatal) => lines.map(([bytes, cut]) => {
    const text = new TextDecoder(encoding, { fatal }).decode(bytes, { stream: cut });
    if (!cut && text.length <= shownChars) return text;
    const end = /[\uD800-\uDBFF]/.test(text[shownChars - 1]) ? shownChars - 1 : shownChars;
    return `${text.slice(0, end)}…`;
  });
  try {
    return as('utf-8', true);
  } catch {
    return as('shift_jis', false);
  }
}

// A Home Screen web app on iPadOS cannot save through a link: there a save
// goes to the share sheet (「"ファイル"に保存」).
const share = navigator.standalone === true && typeof navigator.share === 'function';

// Where a saved file went, on this device.
function where() {
  const agent = navigator.userAgent;
  if (share) return '「"ファイル"に保存（ほぞん）」を えらぶと、「ファイル」アプリに 入ります。';
  if (/iPad|iPhone/.test(agent) || (/Macintosh/.test(agent) && navigator.maxTouchPoints > 1)) {
    return 'Safari に きかれたら、「ダウンロード」を おします（「表示（ひょうじ）」では ほぞんされません）。ファイルは 「ファイル」アプリの 「ダウンロード」に 入ります。';
  }
  if (/CrOS/.test(agent)) return 'ファイルは 「ファイル」アプリの 「ダウンロード」に 入りました。';
  if (/Windows/.test(agent)) return 'ファイルは 「ダウンロード」フォルダーに 入りました。';
  return 'ファイルは 「ダウンロード」に 入りました。';
}

// Makes `link` save `blob` as `name`, and say where it went. Its URL is
// kept for the page's life: revoked at a click, a save can be lost.
function offer(link, blob, name) {
  link.download = name;
  link.href = URL.createObjectURL(blob);
  link.onclick = (event) => {
    if (share) {
      event.preventDefault();
      navigator.share({ files: [new File([blob], name, { type: blob.type })] }).catch(() => {});
    }
    $('where').textContent = where();
    $('where').hidden = false;
    link.after($('where'));
    $('where').scrollIntoView({ block: 'nearest' });
  };
}

function show(job, { made, lines, blob, heads }) {
  job.status.remove();
  const link = document.createElement('a');
  link.className = 'save';
  offer(link, blob, job.name);
  link.textContent = `${job.name} をほぞん`;
  job.view.append(link);
  outlines.push({ name: job.name, blob });
  const name = job.name;
  if (made === 0) {
    say(job.view, `${name} は ${lines} 行 ぜんぶ 空の 行です。このファイルからは、アウトラインの 行が ひとつも できませんでした。てなぴで ほぞんした .xml ファイルか、たしかめてください。`, 'error');
  } else if (made > lines) {
    say(job.view, `アウトラインは ぜんぶで ${made} 行 できましたが、${name} には はじめの ${lines} 行だけが 入ります。`);
  } else if (made === lines) {
    say(job.view, `${name} は ${lines} 行で、ぜんぶ アウトラインの 行です。`);
  } else {
    say(job.view, `${name} は ${lines} 行です。はじめの ${made} 行が アウトラインで、${made + 1} 行目からは 空の 行です。`);
  }
  const list = document.createElement('ol');
  for (const text of decode(heads)) {
    const item = document.createElement('li');
    item.textContent = text;
    list.append(item);
  }
  if (made > 0) job.view.append(list);
  requestAnimationFrame(() => setTimeout(() => times.outlines.push(performance.now() - job.start)));
}

function broken() {
  $('too-old').hidden = false;
  $('app').hidden = true;
}

// Once every file chosen is done, the outlines so far in one zip, made now
// so that a click saves it at once (Safari asks for the click itself before
// a share). Names that repeat get a number: structure-2.txt.
let bundles = 0;
async function bundle() {
  const mine = ++bundles;
  if (outlines.length < 2) return;
  const seen = new Map();
  const now = new Date();
  const files = outlines.map(({ name, blob }) => {
    const n = (seen.get(name) || 0) + 1;
    seen.set(name, n);
    return { name: n > 1 ? name.replace(/(\.txt)$/, `-${n}$1`) : name, lastModified: now, input: blob };
  });
  const zip = await downloadZip(files).blob();
  if (mine !== bundles || current || queue.length) return;
  const pad = (n) => String(n).padStart(2, '0');
  const stamp = `${now.getFullYear()}${pad(now.getMonth() + 1)}${pad(now.getDate())}-${pad(now.getHours())}${pad(now.getMinutes())}${pad(now.getSeconds())}`;
  offer($('zip'), new Blob([zip], { type: 'application/zip' }), `structure-${stamp}.zip`);
  $('all').hidden = false;
}

function start() {
  worker = new Worker(code);
  loading = true;
  worker.onmessage = ({ data }) => receive(data);
  worker.onerror = (event) => {
    event.preventDefault();
    lost();
  };
}

// Ends the Worker; the next file gets a fresh one.
function end() {
  worker.terminate();
  worker = null;
}

function next() {
  if (current) return;
  if (queue.length === 0) {
    bundle().catch(() => {});
    return;
  }
  $('all').hidden = true;
  if (!worker) start();
  if (loading) return;
  current = queue.shift();
  worker.postMessage({ file: current.file, limit: shownBytes });
}

function finish(status) {
  if (status) fail(current, status);
  current = null;
  next();
}

// The Worker failed outside an analysis: its file fails. A core that did
// not load ends the page only if none ever did; else the files waiting fail
// too, and the next choice tries a fresh Worker.
function lost() {
  end();
  if (!loaded) return broken();
  if (loading) queue.splice(0).forEach((job) => fail(job, 'not-read'));
  loading = false;
  if (current) finish('not-read');
}

function receive(data) {
  if (data.ready) {
    loading = false;
    loaded = true;
    $('choose').disabled = false;
    times.ready ??= performance.now();
    next();
  } else if (data.broken) {
    lost();
  } else if (data.progress !== undefined) {
    current.status.textContent = `よみこみ中… ${Math.floor(data.progress * 100)}%`;
  } else if (data.status === 'done') {
    times.memory = Math.max(times.memory || 0, data.memory);
    show(current, data);
    finish();
  } else if (data.reread && !current.bytes) {
    // The Worker cannot read a chosen File here (WebKit from file://): the
    // page reads it whole, once. A removed file can read short, with no error.
    current.bytes = true;
    const job = current;
    job.file.arrayBuffer().then((buffer) => {
      if (job !== current) return;
      if (buffer.byteLength !== job.file.size) return finish('not-read');
      worker.postMessage({ bytes: new Uint8Array(buffer), limit: shownBytes }, [buffer]);
    }, () => job === current && finish('not-read'));
  } else {
    if (data.fresh) end();
    finish(data.status);
  }
}

// Each file gets its part of the page; several at once are saved under
// names of their own (taro.xml: taro.structure.txt).
function take(files, start) {
  const names = new Map();
  for (const file of files) {
    let name = 'structure.txt';
    if (files.length > 1) {
      const base = file.name.replace(/\.xml$/i, '');
      const n = (names.get(base) || 0) + 1;
      names.set(base, n);
      name = `${base}${n > 1 ? `-${n}` : ''}.structure.txt`;
    }
    const view = document.createElement('section');
    const title = document.createElement('h2');
    title.textContent = file.name;
    view.append(title);
    $('results').append(view);
    queue.push({ file, name, view, start, status: say(view, 'よみこみ中…') });
  }
  next();
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
start();
// The site (its page has a manifest) keeps itself for offline use, where a
// server serves it; a page opened from a file has no service worker.
if ($('manifest') && /^https?:$/.test(location.protocol) && navigator.serviceWorker) {
  navigator.serviceWorker.register('sw.js').catch(() => {});
}
