// The class view, for a teacher (the address ending in #class): every file
// chosen or dropped, in any number of goes, joins one list (a zip counts as
// what it holds) until it is cleared. Each hand-in goes to its learner
// (owners.js): the list has a row a learner, from 1 to the class's size (or
// the highest number found), with the newest hand-in and the ones before
// it, then the files of no owner, then what was skipped. Above it, the
// class at a glance: each outline against the teacher's model answer (by
// the core, in its Worker), the same outlines grouped, and the constructs
// each learner used. One zip holds the outlines, a learner's named for the
// learner, and the list as 一覧.csv.
// Also the site's QR code, the learners' sheet to print, and whether this
// device has the offline copy. Its one entry is startClass, which the
// learner's page calls with what it shares: the runner, saving, the
// outlines' names, their lines as shown and the site flag.
'use strict';
function startClass({ runner, loaded, save, outlineNames, outlineLines, site, unzip }) {
  const $ = (id) => document.getElementById(id);
  const reasons = {
    waiting: '解析中…',
    'not-read': '読めませんでした（もう一度出してもらってください）',
    'no-line': 'アウトラインが 1 行もできませんでした',
    'too-large': 'structure.txt が大きすぎて、このページでは作れません',
    'cut-off': 'とちゅうで 切れて いる ファイル（もう一度 出して もらいます）',
    damaged: 'zip の中で壊れていました',
    'zip-large': 'zip の中身が大きすぎます（合わせて 1 GB まで）',
    'zip-old': 'このブラウザーでは zip を読めません',
    skipped: '.xml ではないので飛ばしました',
    'not-outline': 'structure.txt ではない .txt なので飛ばしました',
  };
  // What counts as the learner's outline (a program cut off half-way has
  // one too, its blob, but is to be handed in again), and what failed.
  const good = (handIn) => handIn.state === 'done' || handIn.state === 'outline';
  const failed = (handIn) => !good(handIn) && handIn.state !== 'waiting';
  const result = (handIn) => (handIn.state === 'done' ? `${handIn.made} 行`
    : handIn.state === 'outline' ? `structure.txt を そのまま（${handIn.made} 行）` : reasons[handIn.state]);
  const pad = (n) => String(n).padStart(2, '0');
  const when = (ms) => {
    if (!ms) return '';
    const at = new Date(ms);
    return `${at.getFullYear()}-${pad(at.getMonth() + 1)}-${pad(at.getDate())} ${pad(at.getHours())}:${pad(at.getMinutes())}`;
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

  // The books: every hand-in, in the order it came ({ path, name, go,
  // place, date, version, owner, state, made, file, as; its outline's blob,
  // bytes where small, heads, key, constructs and diff from the model }),
  // and what was skipped; grown at each clearing, `round` drops what a go began for
  // an earlier list.
  let handIns = [];
  let skipped = [];
  let round = 0;
  let go = 0;
  // The names of outlines of no owner, given as they come, never again.
  let nameOrphan = outlineNames.namer();
  // How each zip Worker of this list ends, as at a clearing.
  const unzipping = new Set();
  // Grows at each change of the list: a zip made for an older list is dropped.
  let edition = 0;
  // The programs left out of this go because they were listed already.
  let repeats = 0;
  // Each learner's rows, by number.
  let rows = new Map();
  let frame = 0;
  const roster = classRoster.start(site, () => {
    handIns.forEach(own);
    index = new Map();
    handIns.forEach(indexed);
    redraw();
    if ($('class-note').textContent.startsWith('一覧：')) count();
    keepModel();
  });

  function own(handIn) {
    handIn.owner = classOwners.of(handIn.path, roster.size, roster.names);
    if (handIn.owner.number === undefined && !handIn.as) handIn.as = nameOrphan(handIn.name);
  }
  // Each learner's hand-ins by number, made anew when the owners change.
  let index = new Map();
  function indexed(handIn) {
    const { number } = handIn.owner;
    if (number !== undefined) index.set(number, [...(index.get(number) || []), handIn]);
  }
  // A hand-in joins the books, with its owner.
  function enter(handIn) {
    own(handIn);
    handIns.push(handIn);
    file(handIn, handInPaths);
    indexed(handIn);
  }
  // The learners' numbers: 1 to the class's size, or to the highest found.
  const numbers = () => Array.from({ length: roster.size || Math.max(0, ...index.keys()) }, (_, i) => i + 1);
  const ofLearner = (number) => classOwners.newest(index.get(number) || []);
  const orphans = () => handIns.filter((h) => h.owner.number === undefined);
  const learnerName = (number) => roster.names[number - 1] || '';
  const outlineName = (number) => `${outlineNames.safe(`${pad(number)}${learnerName(number) ? `-${learnerName(number)}` : ''}`)}.structure.txt`;
  // The zip can be made: nothing is waiting, and one hand-in has an outline.
  const saveable = () => handIns.some((h) => h.blob) && !handIns.some((h) => h.state === 'waiting');

  // A row of the list's texts, marked as a failure where `error`.
  function row(texts, error, kind = '') {
    const tr = document.createElement('tr');
    for (const text of texts) tr.insertCell().textContent = text;
    tr.className = `${kind} ${error ? 'error' : ''}`.trim();
    return tr;
  }
  // A learner's lines in 一覧.csv's columns (番号, 名前, ファイル, 日時, 結果,
  // structure.txt): the newest hand-in, or none, then those before it.
  function learnerLines(number) {
    const who = [number, learnerName(number)];
    const [newest, ...older] = ofLearner(number);
    if (!newest) return [{ texts: [...who, '', '', 'まだ 出して いません', ''], error: true }];
    return [{ texts: [...who, newest.path, when(newest.date), result(newest), newest.blob ? outlineName(number) : ''], error: failed(newest) },
      ...older.map((h) => ({ texts: [...who, h.path, when(h.date), `前に 出した もの：${result(h)}`, ''], older: true }))];
  }
  // A file of no owner's line in the same columns.
  const orphanLine = (h) => ['', '', h.path, when(h.date), `${result(h)}（${h.owner.why}）`, h.blob ? h.as : ''];
  // On the page, an older hand-in's row leaves its learner to the row above.
  const learnerRows = (number) => learnerLines(number).map(({ texts, error, older }) => (older ? row(['', '', ...texts.slice(2)], false, 'older') : row(texts, error)));
  const orphanRow = (h) => row(orphanLine(h).slice(2), failed(h));

  // Shows a learner's hand-ins anew, in their place: a row a result.
  function placeLearner(number) {
    const body = $('class-list');
    for (let n = rows.size + 1; n <= number; n++) {
      rows.set(n, learnerRows(n));
      body.append(...rows.get(n));
    }
    const fresh = learnerRows(number);
    const [first] = rows.get(number);
    first.replaceWith(...fresh);
    rows.get(number).slice(1).forEach((tr) => tr.remove());
    rows.set(number, fresh);
  }
  // What changed since the list was last drawn: drawn at most four times a
  // second, as each drawing lays out the whole table.
  let due = new Set();
  let drawing = 0;
  let drawn = 0;
  function draw() {
    clearTimeout(drawing);
    drawing = 0;
    drawn = performance.now();
    for (const one of due) {
      if (typeof one === 'number') placeLearner(one);
      else {
        const fresh = orphanRow(one);
        if (one.tr) one.tr.replaceWith(fresh);
        else $('class-orphans').append(fresh);
        one.tr = fresh;
        $('class-orphan-part').hidden = false;
      }
    }
    due = new Set();
  }
  function place(handIn) {
    due.add(handIn.owner.number !== undefined ? handIn.owner.number : handIn);
    drawing ||= setTimeout(draw, Math.max(0, drawn + 250 - performance.now()));
    changed();
  }
  // Everything drawn anew: the roster changed, or the list was cleared.
  function redraw() {
    rows = new Map();
    due = new Set();
    $('class-list').replaceChildren();
    $('class-orphans').replaceChildren();
    for (const number of numbers()) placeLearner(number);
    orphans().forEach((h) => (h.tr = null) || place(h));
    $('class-orphan-part').hidden = !orphans().length;
    draw();
    changed();
  }

  // The list changed: the zip made for the list before goes, and the
  // sentence, the missing and the save follow in the next frame.
  function changed() {
    edition++;
    release();
    frame ||= requestAnimationFrame(refresh);
  }
  function refresh() {
    cancelAnimationFrame(frame);
    frame = 0;
    const learners = numbers().map(ofLearner);
    const missing = numbers().filter((n, i) => !learners[i].length);
    $('class-missing').textContent = missing.length ? `まだ 出して いない 人：出席番号 ${missing.join('、')}` : '';
    $('class-save').disabled = !saveable();
  }
  // The list and the sentence above it, once a go has ended.
  function count() {
    draw();
    refresh();
    const newest = numbers().map((n) => ofLearner(n)[0]);
    note(`一覧：アウトラインが できた 人 ${newest.filter((h) => h && good(h)).length} 人、うまく いかなかった 人 ${newest.filter((h) => h && !good(h)).length} 人、`
      + `まだ 出して いない 人 ${newest.filter((h) => !h).length} 人、だれの ものか わからない ファイル ${orphans().length} 個、飛ばした ファイル ${skipped.length} 個。`
      + (repeats ? `同じ ファイル ${repeats} 個は、もう一覧に あるので 入れませんでした。` : ''));
    compareAll();
  }

  function release() {
    save.release($('class-link'));
    $('class-zip').hidden = true;
  }

  // The same hand-in as one listed: the same path, size and CRC-32.
  async function crcOf(blob) {
    let crc = 0;
    for (let at = 0; at < blob.size; at += 2 ** 22) crc = zipRead.crc32(new Uint8Array(await blob.slice(at, at + 2 ** 22).arrayBuffer()), crc);
    return crc;
  }
  // The hand-ins and the skipped files by path, so that a path's are found at once.
  let handInPaths = new Map();
  let skippedPaths = new Map();
  const file = (entry, paths) => paths.set(entry.path, [...(paths.get(entry.path) || []), entry]);
  async function listed(entry, paths) {
    for (const other of (paths.get(entry.path) || []).filter((one) => one.size === entry.size)) {
      // A file that can no longer be read is the same as none.
      entry.crc ??= await crcOf(entry.file).catch(() => NaN);
      other.crc ??= await crcOf(other.file).catch(() => NaN);
      if (other.crc === entry.crc) return true;
    }
    return false;
  }

  // Adds one hand-in (a File, or a zip's bytes) and has it analysed, or
  // read back where it is a text; not awaited by the go, so that the Worker
  // takes the next file as soon as it answers one.
  async function enlist(mine, { path, name, file, crc, size = file.size, date, place: at, text, state = 'waiting' }) {
    const handIn = { path, name, file, crc, size, date, go, place: at, version: classOwners.version(path), state };
    if (await listed(handIn, handInPaths)) return repeats++;
    if (mine !== round) return;
    // A program that could not be taken from its zip is its learner's all the same.
    if (state !== 'waiting') {
      enter(handIn);
      return place(handIn);
    }
    // A zip's entry is handed over as bytes: the list holds its outline alone.
    if (file instanceof Uint8Array) handIn.file = null;
    if (!text) {
      enter(handIn);
      place(handIn);
    }
    const answer = await runner.add(file, () => {}, 'class', text);
    if (mine !== round || answer.status === 'dropped') return;
    if (text && answer.status === 'not-outline') return skip(mine, { path, name, size, crc: handIn.crc, state: 'not-outline' });
    if (text) {
      enter(handIn);
    }
    Object.assign(handIn, { state: answer.status, made: answer.made, blob: answer.blob || null, bytes: answer.bytes, heads: answer.heads, key: answer.key ?? null, constructs: answer.constructs });
    place(handIn);
  }

  // A row for what is skipped or cannot be read; the same one again adds none.
  async function skip(mine, entry) {
    if (entry.crc !== undefined && (await listed(entry, skippedPaths))) return;
    if (mine !== round) return;
    skipped.push(entry);
    file(entry, skippedPaths);
    $('class-skipped').append(row([entry.path, reasons[entry.state]], entry.state !== 'skipped' && entry.state !== 'not-outline'));
    $('class-skipped-part').hidden = false;
    changed();
  }

  // A zip's entries, read in a Worker of its own, in order: the hand-ins
  // enlisted, their analyses returned.
  function unpack(mine, zip) {
    if (!inflates) return skip(mine, { path: zip.name, state: 'zip-old' }).then(() => []);
    return new Promise((resolve) => {
      const worker = new Worker(unzipCode);
      const analyses = [];
      let queue = Promise.resolve();
      let ended = false;
      let at = 0;
      const end = (state) => {
        if (ended) return;
        ended = true;
        worker.terminate();
        unzipping.delete(end);
        queue.then(() => (state ? skip(mine, { path: zip.name, state }) : null)).then(() => resolve(analyses));
      };
      unzipping.add(end);
      worker.onerror = (event) => {
        event.preventDefault();
        end('not-read');
      };
      worker.onmessage = ({ data }) => {
        if (mine !== round) return end();
        if (data.end || data.failed) return end(data.failed);
        const { path, name, time, size, crc, state } = data.entry;
        const place = at++;
        queue = queue.then(() => {
          if (state === 'skipped') return skip(mine, { path, name, size, crc, state });
          if (state !== 'program' && state !== 'text') return enlist(mine, { path, name, crc, size, date: time, place, state });
          analyses.push(enlist(mine, { path, name, file: data.bytes, crc, size, date: time, place, text: state === 'text' }));
        });
      };
      worker.postMessage({ zip });
    });
  }

  async function collect(files) {
    const mine = round;
    go++;
    repeats = 0;
    note('読んでいます…');
    const analyses = [];
    for (const [place, file] of files.entries()) {
      if (mine !== round) return;
      const kind = /\.zip$/i.test(file.name) ? 'zip' : classOwners.kind(file.name);
      if (kind === 'zip') analyses.push(...(await unpack(mine, file)));
      else if (kind === 'skipped') await skip(mine, { path: file.name, state: 'skipped' });
      else if (kind !== 'hidden') analyses.push(enlist(mine, { path: file.name, name: file.name, file, date: file.lastModified, place, text: kind === 'text' }));
    }
    await Promise.all(analyses);
    if (mine !== round) return;
    count();
    // In an iPad's Home Screen app the zip is made once the list has settled.
    if (save.sharing && saveable()) packed().catch(() => {});
  }

  function note(text) {
    $('class-note').textContent = text;
  }

  // The class's zip, made now: at most one is alive.
  async function packed() {
    const mine = edition;
    const files = [];
    const table = [['番号', '名前', 'ファイル', '日時', '結果', 'structure.txt', ...glanceHead.slice(3)]];
    const { entries } = glance();
    const blank = glanceHead.slice(3).map(() => '');
    const more = (entry) => glanceTexts(entry).slice(3);
    for (const [i, number] of numbers().entries()) {
      const [newest] = ofLearner(number);
      if (newest && newest.blob) files.push({ name: outlineName(number), input: newest.blob });
      table.push(...learnerLines(number).map((line, at) => [...line.texts, ...(at ? blank : more(entries[i]))]));
    }
    for (const [i, h] of orphans().entries()) {
      if (h.blob) files.push({ name: h.as, input: h.blob });
      table.push([...orphanLine(h), ...more(entries[numbers().length + i])]);
    }
    for (const entry of skipped) table.push(['', '', entry.path, '', reasons[entry.state], '', ...blank]);
    const now = new Date();
    files.push({ name: '一覧.csv', input: new Blob([classPack.csv(table)], { type: 'text/csv' }) });
    const zip = await classPack.zip(files, now);
    if (mine !== edition) return null;
    const link = $('class-link');
    release();
    const name = classPack.name(now);
    save.offer(link, zip, name);
    link.textContent = `${name} を保存（structure.txt ${files.length - 1} 個と 一覧.csv）`;
    $('class-zip').hidden = false;
    return link;
  }

  // The model answer: a program or a structure.txt, read as any hand-in,
  // { name, blob, bytes, heads, key, made }. Each new one is a new edition, which
  // every outline is compared with once.
  let model = null;
  let modelEdition = 0;
  let modelTaking = 0;
  const modelKey = 'tenapi-model';
  function modelSays(text, error = false) {
    $('model-note').textContent = text;
    $('model-note').className = error ? 'error' : '';
  }
  async function takeModel(file, name, asText = classOwners.kind(name) === 'text') {
    // What cannot be the model says why, and leaves the model there is.
    const refuse = (why) => modelSays(`${name} は お手本に できません：${why}${model ? `（お手本は ${model.name} の ままです）` : ''}`, true);
    if (!asText && classOwners.kind(name) !== 'program') return refuse('お手本は .xml か structure.txt です');
    const mine = ++modelTaking;
    runner.clear('model');
    modelSays('読んでいます…');
    const answer = await runner.add(file, () => {}, 'model', asText);
    if (mine !== modelTaking || answer.status === 'dropped') return;
    if (answer.status !== 'done' && answer.status !== 'outline') {
      const why = answer.status === 'not-outline' ? 'structure.txt ではありません' : reasons[answer.status] || reasons['not-read'];
      return refuse(why);
    }
    model = { name, blob: answer.blob, bytes: answer.bytes, heads: answer.heads, key: answer.key ?? null, made: answer.made };
    newModel(`お手本：${name}（${Math.min(answer.made, answer.lines)} 行）`);
    $('model-lines').replaceChildren(...outlineList(model.heads).children);
    compareAll();
  }
  function dropModel() {
    modelTaking++;
    runner.clear('model');
    model = null;
    newModel('');
    drawGlance();
  }
  // The model shown, or none, and kept where it is to be; a row opened
  // beside the model before closes with it.
  function newModel(said) {
    modelEdition++;
    detailed++;
    $('class-detail').hidden = true;
    modelSays(said);
    $('model-lines').hidden = !model;
    $('model-remove').hidden = !model;
    keepModel();
  }
  // The model stays on this device only with the roster, where the teacher keeps it.
  async function keepModel() {
    if (!site) return;
    const mine = modelEdition;
    try {
      if (!model || !roster.kept) return localStorage.removeItem(modelKey);
      const bytes = new Uint8Array(await model.blob.arrayBuffer());
      let text = '';
      for (let at = 0; at < bytes.length; at += 8192) text += String.fromCharCode(...bytes.subarray(at, at + 8192));
      if (mine === modelEdition) localStorage.setItem(modelKey, JSON.stringify({ name: model.name, bytes: btoa(text) }));
    } catch {
      // Too large for this device's storage: the model stays for this visit only.
      localStorage.removeItem(modelKey);
    }
  }
  function keptModel() {
    try {
      const kept = site && roster.kept && JSON.parse(localStorage.getItem(modelKey) || 'null');
      if (kept) takeModel(Uint8Array.from(atob(kept.bytes), (c) => c.charCodeAt(0)), kept.name, true);
    } catch {
      // Nothing kept that can be read: no model.
    }
  }

  // Every outline in the glance that is not yet compared with this model,
  // in one message to the core's Worker; the glance drawn once they are
  // (the comparing takes less time than drawing it twice would).
  async function compareAll() {
    const mine = modelEdition;
    const list = round;
    const todo = model ? glance().entries.map((e) => e.handIn).filter((h) => h && h.blob && !(h.diff && h.diff.edition === mine)) : [];
    if (!todo.length) return drawGlance();
    todo.forEach((h) => (h.diff = { edition: mine }));
    const answer = await runner.compare(model.bytes || model.blob, todo.map((h) => h.bytes || h.blob), 'class');
    if (mine !== modelEdition || list !== round) return;
    todo.forEach((h, i) => (h.diff.changes = answer.changes ? answer.changes[i] : -1));
    drawGlance();
  }

  // The class at a glance: a row a learner (the newest hand-in), then a row
  // a file of no owner; each with its difference from the model, its group
  // and its constructs.
  // An outline's first lines (the Worker's heads) as a list.
  function outlineList(heads) {
    const list = Object.assign(document.createElement('ol'), { className: 'outline' });
    list.append(...outlineLines(heads).map((text) => Object.assign(document.createElement('li'), { textContent: text })));
    return list;
  }
  const named = (e) => (e.number === '' ? e.who : `${e.number} 番${e.who ? ` ${e.who}` : ''}`);
  function glance() {
    const entries = [...numbers().map((number) => ({ number, who: learnerName(number), handIn: ofLearner(number)[0] })),
      ...orphans().map((handIn) => ({ number: '', who: handIn.path, handIn }))];
    for (const entry of entries) {
      const outlined = entry.handIn && entry.handIn.blob;
      Object.assign(entry, { key: outlined ? entry.handIn.key : null, constructs: outlined ? entry.handIn.constructs : null, group: '' });
    }
    const groups = classGlance.groups(entries);
    groups.forEach((group, i) => group.forEach((entry) => (entry.group = i + 1)));
    return { entries, groups };
  }
  // The lines that differ between a hand-in's outline and this model: none
  // yet (undefined) until the core has said, -1 where it could not compare.
  const changesOf = (h) => (model && h && h.blob && h.diff && h.diff.edition === modelEdition ? h.diff.changes : undefined);
  const difference = (h) => {
    if (!model || !h || !h.blob) return '';
    const changes = changesOf(h);
    return changes === undefined ? '…' : changes < 0 ? 'くらべられません' : changes === 0 ? 'お手本と おなじ' : `${changes} 行 ちがう`;
  };
  const glanceHead = ['番号', '名前', '結果', 'お手本との ちがい', 'グループ', ...classGlance.constructs.map(([word]) => word)];
  const glanceTexts = (e) => [e.number, e.who, e.handIn ? result(e.handIn) : 'まだ 出して いません', difference(e.handIn), e.group,
    ...classGlance.constructs.map((_, c) => (e.constructs ? e.constructs[c] : ''))];
  // The constructs' columns, each headed by its word and the form of its lines.
  for (const [word, form] of classGlance.constructs) {
    const th = document.createElement('th');
    th.append(word, Object.assign(document.createElement('code'), { textContent: form }));
    $('glance-table').tHead.rows[0].append(th);
    $('glance-table').querySelector('colgroup').append(Object.assign(document.createElement('col'), { className: 'construct' }));
  }

  function drawGlance() {
    $('glance').hidden = !handIns.length;
    if (!handIns.length) {
      $('class-detail').hidden = true;
      return;
    }
    const { entries, groups } = glance();
    const outlined = entries.filter((e) => e.constructs);
    const same = outlined.filter((e) => changesOf(e.handIn) === 0);
    $('glance-summary').textContent = `アウトラインの ある 人 ${outlined.length} 人。使った 人：${classGlance.used(outlined)}。`
      + (model ? `お手本（${model.name}）と おなじ 人 ${same.length} 人。` : 'お手本を 選ぶと、一人ひとりの ちがいが 出ます。');
    $('glance-list').replaceChildren(...entries.map((e) => {
      const tr = row(glanceTexts(e), !e.handIn || failed(e.handIn));
      if (e.constructs) {
        const open = Object.assign(document.createElement('button'), { type: 'button', className: 'link', textContent: difference(e.handIn) || '見る' });
        open.onclick = () => openDetail(e);
        tr.cells[3].replaceChildren(open);
        tr.classList.add('opens');
        tr.onclick = (event) => event.target === open || openDetail(e);
      }
      [...tr.cells].slice(5).forEach((td) => td.textContent === '0' && td.classList.add('none'));
      return tr;
    }));
    const parts = groups.map((group, i) => {
      const part = document.createElement('div');
      part.className = 'group';
      const title = document.createElement('h4');
      title.textContent = `グループ ${i + 1}：${group.length} 人が おなじ アウトライン${model && group[0].key === model.key ? '（お手本と おなじ）' : ''}`;
      const who = document.createElement('p');
      who.textContent = group.map(named).join('、');
      part.append(title, who, outlineList(group[0].handIn.heads));
      return part;
    });
    const alone = outlined.length - groups.reduce((n, group) => n + group.length, 0);
    const rest = Object.assign(document.createElement('p'), { textContent: groups.length ? `ほかの ${alone} 人は、だれとも ちがう アウトラインです。` : 'おなじ アウトラインの 人は いません。' });
    const heading = Object.assign(document.createElement('h3'), { textContent: 'おなじ アウトラインの グループ' });
    $('groups').replaceChildren(heading, ...parts, ...(outlined.length ? [rest] : []));
  }

  // A learner's outline beside the model, the lines that differ marked by a
  // sign and a word; with no model, the outline alone.
  let detailed = 0;
  const marks = { 61: ['', ''], 126: ['≠ ちがう', 'changed'], 45: ['− ない', 'removed'], 43: ['＋ ふえた', 'inserted'] };
  async function openDetail(e) {
    const mine = ++detailed;
    const box = $('class-detail');
    const who = named(e);
    const title = Object.assign(document.createElement('h4'), { textContent: model ? `${who} の アウトライン と お手本（${model.name}）` : `${who} の アウトライン` });
    const close = Object.assign(document.createElement('button'), { type: 'button', className: 'plain', textContent: 'とじる' });
    close.onclick = () => {
      box.hidden = true;
      detailed++;
    };
    box.replaceChildren(title, close);
    box.hidden = false;
    if (!model) {
      box.append(outlineList(e.handIn.heads));
    } else {
      const answer = await runner.compare(model.bytes || model.blob, [e.handIn.bytes || e.handIn.blob], 'class', true);
      if (mine !== detailed) return;
      if (!answer.rows) {
        box.append(Object.assign(document.createElement('p'), { className: 'error', textContent: 'くらべられませんでした。' }));
      } else {
        const [left, right] = [1, 2].map((side) => outlineLines(answer.rows.map((r) => r[side])));
        const table = document.createElement('table');
        table.className = 'side';
        table.createTHead().append(row(['しるし', `お手本（${model.name}）`, who]));
        table.append(document.createElement('tbody'));
        answer.rows.forEach((r, i) => {
          const [word, kind] = marks[r[0][0][0]] || ['', ''];
          table.tBodies[0].append(row([word, left[i], right[i]], false, kind));
        });
        const changed = answer.changes[0];
        box.append(Object.assign(document.createElement('p'), { textContent: changed ? `${changed} 行 ちがいます。しるし：≠ ちがう 行、− お手本に あって ここに ない 行、＋ お手本に なくて ここに ある 行。` : 'お手本と おなじ アウトラインです。' }), table);
      }
    }
    box.scrollIntoView({ block: 'nearest' });
  }

  // The table at a glance, as text for a spreadsheet or the school's LMS.
  $('glance-copy').onclick = async () => {
    const { entries } = glance();
    const text = classPack.tsv([glanceHead, ...entries.map(glanceTexts)]);
    let copied = false;
    try {
      await navigator.clipboard.writeText(text);
      copied = true;
    } catch {
      // No clipboard API here (an older Safari, a page not in a secure context): a selected text copied.
      const area = Object.assign(document.createElement('textarea'), { value: text });
      document.body.append(area);
      area.select();
      copied = document.execCommand('copy');
      area.remove();
    }
    $('glance-copied').textContent = copied ? `${entries.length} 行を コピーしました。表計算や 学校の システムに はりつけられます。` : 'コピー できませんでした。';
  };
  $('model-choose').onclick = () => $('model-file').click();
  $('model-file').onchange = (event) => {
    const [file] = event.target.files;
    if (file) takeModel(file, file.name);
    event.target.value = '';
  };
  $('model-remove').onclick = dropModel;
  $('model').addEventListener('dragover', (event) => event.preventDefault());
  $('model').addEventListener('drop', (event) => {
    event.preventDefault();
    event.stopPropagation();
    const [file] = event.dataTransfer.files;
    if (file) takeModel(file, file.name);
  });
  keptModel();

  function offline() {
    const controlled = navigator.serviceWorker && navigator.serviceWorker.controller;
    $('class-offline').textContent = !site ? 'この 1 ファイルのページは、オフライン用のコピーを作りません（開いている間は、ネットワークがなくても使えます）。'
      : controlled ? 'この端末には、オフライン用のコピーがあります。ネットワークがなくても開けます。'
        : 'この端末には、まだオフライン用のコピーがありません。ネットワークにつながったまま、このページを開き直してください。';
  }

  loaded.then(() => {
    $('class-choose').disabled = false;
    $('model-choose').disabled = false;
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
    // The model goes with the list, unless it is kept with the roster.
    if (!roster.kept) dropModel();
    unzipping.forEach((end) => end());
    handIns = [];
    index = new Map();
    skipped = [];
    handInPaths = new Map();
    skippedPaths = new Map();
    nameOrphan = outlineNames.namer();
    $('class-skipped').replaceChildren();
    $('class-skipped-part').hidden = true;
    note('');
    redraw();
    drawGlance();
  };
  $('qr-big').onclick = () => {
    const big = $('qr').classList.toggle('big');
    $('qr-big').textContent = big ? 'もどす' : '大きく';
  };
  // The learners' sheet, not the class report, for this one print.
  $('print').onclick = () => {
    document.documentElement.classList.remove('report');
    addEventListener('afterprint', () => document.documentElement.classList.toggle('report', location.hash === '#class'), { once: true });
    window.print();
  };
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
