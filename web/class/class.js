// The class view, for a teacher (the address ending in #class): every file
// chosen or dropped, in any number of goes, joins one list (a zip counts as
// its .xml files) until it is cleared; the list in natural order, failures
// first, with the 出席番号 missing; one zip of the outlines named after
// their programs and the list as 一覧.csv; the site's QR code, the
// learners' sheet to print, and whether this device has the offline copy.
// Its one entry is startClass, which the learner's page calls with what it
// shares: the runner, saving, the outlines' names and the site flag.
'use strict';
function startClass({ runner, loaded, save, outlineNames, site, unzip }) {
  const $ = (id) => document.getElementById(id);
  const reasons = {
    waiting: '解析中…',
    'not-read': '読めませんでした（もう一度出してもらってください）',
    'no-line': 'アウトラインが 1 行もできませんでした',
    'too-large': 'structure.txt が大きすぎて、このページでは作れません',
    damaged: 'zip の中で壊れていました',
    'zip-large': 'zip の中身が大きすぎます（合わせて 1 GB まで）',
    'zip-old': 'このブラウザーでは zip を読めません',
    skipped: '.xml ではないので飛ばしました',
  };
  // The browser inflates a zip's entries itself (Chrome 103, Safari 16.4, Firefox 113).
  const inflates = (() => {
    try {
      return !!new DecompressionStream('deflate-raw');
    } catch {
      return false;
    }
  })();
  const unzipCode = URL.createObjectURL(new Blob([unzip], { type: 'text/javascript' }));
  // The list: entries { name, size, crc, file, state, made, blob, row }.
  let list = classList.make();
  // Grows at each clearing: what a go began for an earlier list is dropped.
  let round = 0;
  // How each zip Worker of this list ends, as at a clearing.
  const unzipping = new Set();
  // Grows at each change of the list: a zip made for an older list is dropped.
  let edition = 0;
  // The names of programs left out of this go because they were listed already.
  let repeats = [];
  // The names, the missing numbers and the save are brought up to date once a frame.
  let frame = 0;

  const isDone = (entry) => entry.state === 'done';
  // The zip can be made: every file is done, and one has an outline.
  const saveable = () => list.entries.some(isDone) && !list.entries.some((entry) => entry.state === 'waiting');

  // The same file as one already listed: same name, size and CRC-32.
  async function crcOf(blob) {
    let crc = 0;
    for (let at = 0; at < blob.size; at += 2 ** 22) crc = zipRead.crc32(new Uint8Array(await blob.slice(at, at + 2 ** 22).arrayBuffer()), crc);
    return crc;
  }
  async function listed(entry) {
    for (const other of list.entries.filter((one) => one.name === entry.name && one.size === entry.size)) {
      // A file that can no longer be read is the same as none.
      entry.crc ??= await crcOf(entry.file).catch(() => NaN);
      other.crc ??= await crcOf(other.file).catch(() => NaN);
      if (other.crc === entry.crc) return true;
    }
    return false;
  }

  // Shows `entry` in its place: one row inserted, or moved when it changed.
  function place(entry) {
    const body = $('class-list');
    const was = entry.row ? list.remove(entry) : -1;
    if (!entry.row) {
      entry.row = document.createElement('tr');
      for (let i = 0; i < 3; i++) entry.row.insertCell();
      entry.row.cells[0].textContent = entry.name;
    }
    const at = list.insert(entry);
    entry.row.cells[2].textContent = isDone(entry) ? `${entry.made} 行` : reasons[entry.state];
    entry.row.className = isDone(entry) || entry.state === 'waiting' ? '' : 'error';
    if (at !== was) body.insertBefore(entry.row, list.entries[at + 1]?.row || null);
    changed();
  }

  // The list changed: the zip made for the list before goes, and the rest
  // follows in the next frame.
  function changed() {
    edition++;
    release();
    frame ||= requestAnimationFrame(() => {
      frame = 0;
      const names = namesOf();
      for (const entry of list.entries) {
        const name = names.get(entry) || '';
        if (entry.row.cells[1].textContent !== name) entry.row.cells[1].textContent = name;
      }
      const gaps = classList.missing(list.entries);
      $('class-missing').textContent = gaps.length ? `出席番号 ${gaps.join('、')} が ありません。` : '';
      $('class-save').disabled = !saveable();
    });
  }

  function release() {
    save.release($('class-link'));
    $('class-zip').hidden = true;
  }

  // Adds one program to the list; its analysis is queued, not awaited here,
  // so that the Worker takes the next file as soon as it answers one.
  async function enlist(mine, name, file, crc, size = file.size) {
    const entry = { name, size, crc, file, state: 'waiting' };
    if (await listed(entry)) return repeats.push(name);
    if (mine !== round) return;
    // A zip's entry is handed over as bytes: the list holds its outline alone.
    if (file instanceof Uint8Array) entry.file = null;
    place(entry);
    const result = await runner.add(file, () => {}, 'class');
    if (mine !== round || result.status === 'dropped') return;
    entry.state = result.status;
    Object.assign(entry, { made: result.made, blob: isDone(entry) ? result.blob : null });
    place(entry);
  }

  // A row for what cannot be analysed; the same one again adds none.
  async function failure(mine, name, state, crc, size) {
    const entry = { name, state, crc, size };
    if (crc !== undefined && (await listed(entry))) return;
    if (mine === round) place(entry);
  }

  // A zip's entries, read in a Worker of its own: the programs enlisted,
  // their analyses returned. Folders are left out of the names.
  function unpack(mine, zip) {
    if (!inflates) return failure(mine, zip.name, 'zip-old').then(() => []);
    return new Promise((resolve) => {
      const worker = new Worker(unzipCode);
      const analyses = [];
      // The entries one at a time, in order, so that repeats are found.
      let queue = Promise.resolve();
      let ended = false;
      const end = (state) => {
        if (ended) return;
        ended = true;
        worker.terminate();
        unzipping.delete(end);
        queue.then(() => (state ? failure(mine, zip.name, state) : null)).then(() => resolve(analyses));
      };
      unzipping.add(end);
      worker.onerror = (event) => {
        event.preventDefault();
        end('not-read');
      };
      worker.onmessage = ({ data }) => {
        if (mine !== round) return end();
        if (data.end || data.failed) return end(data.failed);
        const { name, size, crc, state } = data.entry;
        queue = queue.then(() => {
          if (state !== 'program') return failure(mine, name, state, crc, size);
          analyses.push(enlist(mine, name, data.bytes, crc, size));
        });
      };
      worker.postMessage({ zip });
    });
  }

  async function collect(files) {
    const mine = round;
    repeats = [];
    note('読んでいます…');
    const analyses = [];
    for (const file of files) {
      if (mine !== round) return;
      if (/\.zip$/i.test(file.name)) analyses.push(...(await unpack(mine, file)));
      else analyses.push(enlist(mine, file.name, file));
    }
    await Promise.all(analyses);
    if (mine !== round) return;
    const shown = repeats.slice(0, 3).join('、') + (repeats.length > 3 ? ` ほか ${repeats.length - 3} 個` : '');
    const again = repeats.length ? `${shown} は、同じ名前と中身のファイルがもう一覧にあるので、入れませんでした。` : '';
    note(`一覧に ${list.entries.length} ファイルあります。${again}`);
    // In an iPad's Home Screen app the zip is made once the list has settled.
    if (save.sharing && saveable()) packed().catch(() => {});
  }

  function note(text) {
    $('class-note').textContent = text;
  }

  // The outlines' names, in the list's order.
  function namesOf() {
    const done = list.entries.filter(isDone);
    return new Map(outlineNames.of(done.map((entry) => entry.name)).map((name, i) => [done[i], name]));
  }

  // The class's zip, made now: at most one is alive.
  async function packed() {
    const mine = edition;
    const names = namesOf();
    const rows = [['ファイル', 'structure.txt', 'アウトラインの行数', '結果']].concat(list.entries.map((entry) =>
      [entry.name, names.get(entry) || '', isDone(entry) ? entry.made : '', isDone(entry) ? 'できました' : reasons[entry.state]]));
    const now = new Date();
    const files = [...names].map(([entry, name]) => ({ name, input: entry.blob }));
    files.push({ name: '一覧.csv', input: new Blob([classPack.csv(rows)], { type: 'text/csv' }) });
    const zip = await classPack.zip(files, now);
    if (mine !== edition) return null;
    const link = $('class-link');
    release();
    const name = classPack.name(now);
    save.offer(link, zip, name);
    link.textContent = `${name} を保存（structure.txt ${names.size} 個と 一覧.csv）`;
    $('class-zip').hidden = false;
    return link;
  }

  function offline() {
    const controlled = navigator.serviceWorker && navigator.serviceWorker.controller;
    $('class-offline').textContent = !site ? 'この 1 ファイルのページは、オフライン用のコピーを作りません（開いている間は、ネットワークがなくても使えます）。'
      : controlled ? 'この端末には、オフライン用のコピーがあります。ネットワークがなくても開けます。'
        : 'この端末には、まだオフライン用のコピーがありません。ネットワークにつながったまま、このページを開き直してください。';
  }

  loaded.then(() => {
    $('class-choose').disabled = false;
  });
  $('class-choose').onclick = () => $('class-files').click();
  $('class-files').onchange = (event) => {
    collect([...event.target.files]);
    event.target.value = '';
  };
  $('class-save').onclick = async () => {
    $('class-save').disabled = true;
    const link = await packed().catch(() => null);
    $('class-save').disabled = !saveable();
    if (link && !save.sharing) link.click();
  };
  $('class-clear').onclick = () => {
    round++;
    runner.clear('class');
    unzipping.forEach((end) => end());
    list = classList.make();
    $('class-list').replaceChildren();
    note('');
    changed();
  };
  $('qr-big').onclick = () => {
    const big = $('qr').classList.toggle('big');
    $('qr-big').textContent = big ? 'もどす' : '大きく';
  };
  $('print').onclick = () => window.print();
  if (site) navigator.serviceWorker.addEventListener('controllerchange', offline);
  $('class-old').hidden = inflates;
  $('print-what').textContent = site ? 'A4 1 枚：やりかた、QR コード、こまったときは。' : 'A4 1 枚：やりかた、こまったときは。';
  return {
    show() {
      if (site && typeof qrcode === 'function') {
        $('qr-address').textContent = classSheet.draw($('qr-code')) || $('qr-address').textContent;
        $('qr').hidden = false;
      }
      offline();
    },
    take: collect,
  };
}
