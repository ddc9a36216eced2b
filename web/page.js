// The page: takes files from the button or a drop anywhere, has the Worker
// analyse them one after another, and shows each outline with a link that
// saves its structure.txt. The rules are all in the core.
'use strict';
const $ = (id) => document.getElementById(id);
const times = (window.tenapiTimes = { outlines: [] });
const queue = [];
let current = null;

const say = (view, text, kind) => {
  const p = document.createElement('p');
  p.textContent = text;
  if (kind) p.className = kind;
  view.append(p);
  return p;
};

function broken() {
  $('old').hidden = false;
  $('app').hidden = true;
}

// The outline as the file holds it: UTF-8 where it is, else Shift_JIS.
function decode(bytes) {
  try {
    return new TextDecoder('utf-8', { fatal: true }).decode(bytes);
  } catch {
    return new TextDecoder('shift_jis').decode(bytes);
  }
}

function show(job, { made, bytes }) {
  // The file's lines as the core wrote them: the outline fills the first.
  const lines = decode(bytes).split('\r\n').slice(0, -1);
  const shown = Math.min(made, lines.length);
  job.status.remove();
  const link = document.createElement('a');
  link.className = 'save';
  link.download = job.name;
  link.href = URL.createObjectURL(new Blob([bytes], { type: 'text/plain' }));
  link.textContent = `${job.name} をほぞん`;
  job.view.append(link);
  if (made === 0) {
    say(job.view, 'このファイルからは、アウトラインの 行が ひとつも できませんでした。てなぴで ほぞんした .xml ファイルか、たしかめてください。', 'error');
  } else if (made > lines.length) {
    say(job.view, `ぜんぶで ${made} 行 できましたが、structure.txt には はじめの ${lines.length} 行だけが 入ります。`);
  } else {
    say(job.view, `structure.txt は ${lines.length} 行です。${made + 1} 行目からは 空の 行です。`);
  }
  const list = document.createElement('ol');
  for (const line of lines.slice(0, shown)) {
    const item = document.createElement('li');
    item.textContent = line.length > 300 ? `${line.slice(0, 300)}…` : line;
    list.append(item);
  }
  if (shown > 0) job.view.append(list);
  requestAnimationFrame(() => setTimeout(() => times.outlines.push(performance.now() - job.start)));
}

function next() {
  if (current || queue.length === 0) return;
  current = queue.shift();
  worker.postMessage({ file: current.file });
}

function finish() {
  current = null;
  next();
}

const worker = new Worker(URL.createObjectURL(new Blob([$('worker').textContent], { type: 'text/javascript' })));
worker.onerror = broken;
worker.onmessage = ({ data }) => {
  if (data.ready) {
    $('choose').disabled = false;
    times.ready = performance.now();
  } else if (data.broken) {
    broken();
  } else if (data.progress !== undefined) {
    current.status.textContent = `よみこみ中… ${Math.floor(data.progress * 100)}%`;
  } else if (data.status === 0) {
    times.memory = Math.max(times.memory || 0, data.memory);
    show(current, data);
    finish();
  } else if (data.status === 1 && !current.whole) {
    // The file could not be read in slices: once more, read whole here.
    current.whole = true;
    // A removed file can read as fewer bytes than it had, and no error.
    const failed = () => worker.onmessage({ data: { status: 1 } });
    current.file.arrayBuffer().then((buffer) => {
      if (buffer.byteLength !== current.file.size) return failed();
      worker.postMessage({ bytes: new Uint8Array(buffer) }, [buffer]);
    }, failed);
  } else {
    current.status.textContent = 'ファイルが開けませんでした。';
    current.status.className = 'error';
    finish();
  }
};

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
