// The page in real browsers. Usage: node test.mjs chromium|firefox|webkit CASES [BIG]
// Each CASES/*.xml goes through the file input in one batch, square.xml
// alone and by a drop; every saved file must hold the bytes that the console
// tool wrote (CASE.xml.structure), and no word may break at 360 px. Chromium
// also takes BIG/huge.xml (memory checked) with a file removed right after it
// was chosen, two choices that must not mix, axe-core, and screenshots.
// Then the site, served from localhost: kept by its service worker on the
// first visit, it must open and work with the server gone, in every
// engine; in Chromium also a new version served in a stale window, a new
// sw.js alone whose install fails, the class view's QR code and printed
// sheet, a save and a refused one, and a save through the share sheet. The
// class view reads a zip in Chromium and Firefox, and in Chromium is
// cleared during a go and grows a row a file. Any request off the device or
// the site, or a CSP violation, fails.
import crypto from 'node:crypto';
import fs from 'node:fs';
import http from 'node:http';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';
import { execFileSync, spawn } from 'node:child_process';
import puppeteer from 'puppeteer-core';
import { Builder, By } from 'selenium-webdriver';
import jsQR from 'jsqr';
import { PNG } from 'pngjs';

const [engine, dir, big] = process.argv.slice(2);
const url = `file://${path.resolve('../build-web/tenapi_outline.html')}`;
const cases = fs.readdirSync(dir).filter((f) => f.endsWith('.xml')).sort().map((f) => path.join(dir, f));
const square = path.join(dir, 'square.xml');
const fail = (what) => { console.error(`${engine}: ${what}`); process.exitCode = 1; };

// In the page: once every file has its link or its error (within 3
// minutes), what each shows: the name it saves under, the SHA-256 of its
// bytes, and its sentence.
async function saved() {
  const all = () => [...document.querySelectorAll('section')];
  for (const start = Date.now(); all().length === 0 || all().some((s) => !s.querySelector('a, .error'));) {
    if (Date.now() - start > 180000) throw new Error('no result for every file after 3 minutes');
    await new Promise((r) => setTimeout(r, 50));
  }
  return Promise.all(all().map(async (s) => {
    const a = s.querySelector('a');
    const sum = a && new Uint8Array(await crypto.subtle.digest('SHA-256', await (await fetch(a.href)).arrayBuffer()));
    return { save: a && a.download, sum: a && [...sum].map((b) => b.toString(16).padStart(2, '0')).join(''),
      say: s.querySelector('p').textContent, file: [...s.querySelector('h2').childNodes].find((n) => n.nodeType === 3).data };
  }));
}
const watch = () => { window.violations = []; document.addEventListener('securitypolicyviolation', (e) => violations.push(e.violatedDirective)); };

// What the page must say of a file (* for the name it saves under).
const says = { 'line.xml': 'ファイルが開けませんでした。もう一度 えらびます。2回 出たら、先生を よびます。',
  'full.xml': '* は 198 行で、ぜんぶ アウトラインの 行です。',
  'many.xml': 'アウトラインは ぜんぶで 300 行 できましたが、* には はじめの 198 行だけが 入ります。',
  'empty.xml': 'アウトラインが できませんでした。てなぴで ほぞんした .xml を えらびなおします。',
  'toodeep.xml': 'ファイルは よめましたが、structure.txt が 大きすぎて、この ページでは つくれません。',
  'square.xml': '* は 198 行です。はじめの 7 行が アウトラインで、8 行目からは 空の 行です。' };
const sha = (file) => crypto.createHash('sha256').update(fs.readFileSync(file)).digest('hex');
// An outline with lines is offered under its name; 198 blank lines never are.
const blank = crypto.createHash('sha256').update('\r\n'.repeat(198)).digest('hex');
const offered = (file, sum = fs.existsSync(`${file}.structure`) && sha(`${file}.structure`)) => sum !== blank && sum;
function check(got, files, names) {
  if (got.length !== files.length) return fail(`${got.length} results for ${files.length} files`);
  // The newest comes first: each file's result by its name.
  files.map((file) => got.find((r) => r.file === path.basename(file))).forEach((r, i) => {
    const want = offered(files[i]);
    const say = says[path.basename(files[i])] ?? (want ? r.say : says['line.xml']);
    if (want ? r.sum !== want || r.save !== names[i] : r.save) fail(`${files[i]}: saved as ${r.save}`);
    if (r.say !== say.replace('*', names[i])) fail(`${files[i]} says ${r.say}, not ${say.replace('*', names[i])}`);
  });
}
// The site under a path of its own, as a school's host serves it; with `up`
// false every request fails as with no network.
// It sends `Vary: Accept` and redirects the folder to its index.html, as
// some hosts do; `pick` says which folder each file comes from.
const site = { folder: path.resolve('../build-web/site'), up: true, pick: () => site.folder };
const types = { '.html': 'text/html', '.js': 'text/javascript', '.webmanifest': 'application/manifest+json', '.png': 'image/png', '': 'text/plain' };
const server = http.createServer((request, response) => {
  if (!site.up) return request.socket.destroy();
  const name = new URL(request.url, 'http://x').pathname.replace(/^\/class\//, '');
  if (!name) return response.writeHead(302, { location: 'index.html' }).end();
  fs.readFile(path.join(site.pick(name), name), (error, data) => (error ? response.writeHead(404).end()
    : response.writeHead(200, { 'content-type': types[path.extname(name)], vary: 'Accept' }).end(data)));
});
await new Promise((r) => server.listen(0, '127.0.0.1', r));
const home = `http://127.0.0.1:${server.address().port}/class/`;
const until = async (test, what) => {
  for (let i = 0; !(await test()); i++) {
    if (i === 200) throw new Error(`${what} after 20 s`);
    await new Promise((r) => setTimeout(r, 100));
  }
};
const batchNames = cases.map((f) => path.basename(f, '.xml') + '.structure.txt');
// In the page, with its help open: each break inside the page's own text
// (not a file's name or outline) that is not at a blank, after 、。 or next
// to a bracket, as "before|after".
function inside() {
  document.getElementById('help').open = true;
  const bad = [];
  for (const element of document.querySelectorAll('main p:not([hidden]), .steps li, dt, dd')) {
    const walk = document.createTreeWalker(element, NodeFilter.SHOW_TEXT);
    let top = null, before = '';
    for (let node; (node = walk.nextNode());) {
      for (let i = 0; i < node.data.length; i++) {
        const range = document.createRange();
        range.setStart(node, i);
        range.setEnd(node, i + 1);
        const [box] = range.getClientRects();
        if (!box) continue;
        if (top !== null && box.top > top + 4 && !/[\s、。「」（）]/.test(before) && !/[\s「（]/.test(node.data[i])) bad.push(`${before}|${node.data[i]}`);
        [top, before] = [box.top, node.data[i]];
      }
    }
  }
  return bad;
}
// What a QR code in a PNG says.
const qr = (png) => {
  const { data, width, height } = PNG.sync.read(png);
  return jsQR(Uint8ClampedArray.from(data), width, height)?.data;
};
const unzip = (...args) => execFileSync('unzip', args, { env: { LC_ALL: 'C.UTF-8' } });
const whole = (bad) => bad.length && fail(`words broken at 360 px: ${bad.join(' ')}`);
// When square.xml was saved, as the page must say it in Japan.
fs.utimesSync(square, new Date('2026-12-09T01:32:00Z'), new Date('2026-12-09T01:32:00Z'));

if (engine === 'webkit') {
  // A free port, and the driver asked until it answers.
  const port = await new Promise((r) => { const s = net.createServer().listen(0, '127.0.0.1', () => { const { port } = s.address(); s.close(() => r(port)); }); });
  const webdriver = spawn('WebKitWebDriver', [`--port=${port}`], { stdio: 'inherit' });
  await until(() => fetch(`http://127.0.0.1:${port}/status`).then((r) => r.ok, () => false), 'WebKitWebDriver does not answer');
  const driver = await new Builder().usingServer(`http://127.0.0.1:${port}`).withCapabilities({ browserName: 'MiniBrowser',
    'webkitgtk:browserOptions': { binary: '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser', args: ['--automation'] } }).build();
  try {
    await driver.get(home);
    await until(() => driver.executeScript('return !!navigator.serviceWorker.controller'), 'no service worker');
    for (const [at, files, names] of [[url, cases, batchNames], [url, [square], ['structure.txt']], [home, [square], ['structure.txt']]]) {
      site.up = at === url;
      await driver.get(at);
      await driver.executeScript(watch);
      await driver.findElement(By.id('files')).sendKeys(files.join('\n'));
      check(await driver.executeScript(`return (${saved})()`), files, names);
      if ((await driver.executeScript('return violations')).length) fail('a CSP violation');
    }
    await driver.manage().window().setRect({ width: 360, height: 740 });
    whole(await driver.executeScript(`return (${inside})()`));
  } finally {
    await driver.quit();
    webdriver.kill();
  }
} else {
  const browser = await puppeteer.launch({ browser: engine === 'firefox' ? 'firefox' : 'chrome', headless: true,
    executablePath: engine === 'firefox' ? '/usr/bin/firefox-esr' : '/usr/bin/chromium',
    args: engine === 'firefox' ? [] : ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync'] });
  const page = await browser.newPage();
  page.on('request', (r) => /^(file|data|blob):/.test(r.url()) || r.url().startsWith(home) || fail(`a request for ${r.url()}`));
  page.on('pageerror', (e) => fail(e.message));
  await page.evaluateOnNewDocument(watch);
  const open = async (width = 1366, height = 768) => {
    await page.setViewport({ width, height });
    await page.goto(url);
    await page.waitForSelector('#choose:not([disabled])');
  };
  const choose = async (...files) => (await page.$('#files')).uploadFile(...files);
  await open();
  await choose(...cases);
  check(await page.evaluate(saved), cases, batchNames);
  await open();
  await choose(square);
  check(await page.evaluate(saved), [square], ['structure.txt']);
  console.log(`${engine}: ready after ${await page.evaluate('tenapiTimes.ready')} ms, square.xml painted after ${await page.evaluate('tenapiTimes.outlines[0]')} ms`);
  await open();
  await page.evaluate((bytes) => {
    const drop = new DataTransfer();
    drop.items.add(new File([Uint8Array.from(atob(bytes), (c) => c.charCodeAt(0))], 'square.xml'));
    document.querySelector('h1').dispatchEvent(new DragEvent('drop', { dataTransfer: drop, bubbles: true, cancelable: true }));
  }, fs.readFileSync(square, 'base64'));
  check(await page.evaluate(saved), [square], ['structure.txt']);
  await page.setViewport({ width: 360, height: 740 });
  whole(await page.evaluate(inside));
  // The class view: files in goes, then its zip read back, with the list
  // (一覧.csv) as rows of 番号, 名前, file, date, result, outline name.
  const teach = async (...goes) => {
    await open();
    await page.evaluate(() => { location.hash = '#class'; });
    return teach.goes(...goes);
  };
  teach.goes = async (...goes) => {
    await page.waitForSelector('#class-choose:not([disabled])');
    await page.evaluate(() => { window.rowsAdded = 0; new MutationObserver((changes) => changes.forEach((c) => (rowsAdded += c.addedNodes.length))).observe(document.getElementById('class-list'), { childList: true }); });
    for (const files of goes) {
      await (await page.$('#class-files')).uploadFile(...files);
      await until(() => page.$eval('#class-note', (note) => note.textContent.startsWith('一覧：')), 'the class list');
    }
    await page.click('#class-save');
    await until(() => page.$eval('#class-link', (link) => !!link.href), 'the class zip');
    const zip = path.join(os.tmpdir(), `tenapi-${process.pid}.zip`);
    fs.writeFileSync(zip, Buffer.from(await page.evaluate(async () => {
      const bytes = new Uint8Array(await (await fetch(document.getElementById('class-link').href)).arrayBuffer());
      return bytes.reduce((text, byte) => text + String.fromCharCode(byte), '');
    }), 'latin1'));
    const entries = unzip('-Z1', zip).toString().trim().split('\n');
    const got = Object.fromEntries(entries.map((name) => [name, unzip('-p', zip, name)]));
    fs.rmSync(zip);
    const csv = got['一覧.csv'].toString();
    if (!csv.startsWith('\uFEFF"番号","名前","ファイル","日時","結果","structure.txt","お手本との ちがい","グループ","メイン","くりかえし"') || !csv.endsWith('"\r\n')) fail(`一覧.csv: ${csv}`);
    return { entries, got, rows: csv.slice(1).trim().split('\r\n').slice(1).map((row) => row.slice(1, -1).split('","')) };
  };
  const same = (bytes, file) => crypto.createHash('sha256').update(bytes).digest('hex') === sha(`${file}.structure`);
  // A zip as Windows Explorer writes one (Shift_JIS names, ソ and 表 among
  // them, no UTF-8 flag), and as Info-ZIP does (UTF-8, no flag), with an
  // entry that is not .xml and one whose CRC is wrong.
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'tenapi-zip-'));
  for (const [name, from] of [['ABCD.xml', square], ['たろう.xml', path.join(dir, 'two_stacks.xml')], ['note.txt', square], ['bad.xml', square]]) fs.copyFileSync(from, path.join(folder, name));
  execFileSync('zip', ['-X', '-j', '-q', 'class.zip', 'ABCD.xml', 'たろう.xml', 'note.txt', 'bad.xml'], { cwd: folder, env: { LC_ALL: 'C.UTF-8' } });
  const bytes = fs.readFileSync(path.join(folder, 'class.zip'));
  for (let at; (at = bytes.indexOf('ABCD')) >= 0;) Buffer.from([0x83, 0x5c, 0x95, 0x5c]).copy(bytes, at);
  const bad = bytes.lastIndexOf('bad.xml') - 30;
  bytes.writeUInt32LE((bytes.readUInt32LE(bad) ^ 1) >>> 0, bad);
  fs.writeFileSync(path.join(folder, 'class.zip'), bytes);
  const read = await teach([path.join(folder, 'class.zip')]);
  if (JSON.stringify(read.rows.map((row) => [row[2], row[5]])) !== JSON.stringify([['ソ表.xml', 'ソ表.structure.txt'], ['たろう.xml', 'たろう.structure.txt'], ['bad.xml', ''], ['note.txt', '']])
    || !same(read.got['ソ表.structure.txt'], square) || !same(read.got['たろう.structure.txt'], path.join(dir, 'two_stacks.xml'))) fail(`the zip read: ${JSON.stringify(read.rows)}`);
  fs.rmSync(folder, { recursive: true });
  if (engine === 'chromium') {
    await page.screenshot({ path: '../build-web/screenshot-1366x768.png' });
    // An installed app opened from the Files app: launchQueue's file, as if chosen.
    const launch = await page.evaluateOnNewDocument((bytes) => Object.defineProperty(window, 'launchQueue', { value: { setConsumer: (take) => take({
      files: [{ kind: 'file', getFile: async () => new File([Uint8Array.from(atob(bytes), (c) => c.charCodeAt(0))], 'square.xml') }] }) } }), fs.readFileSync(square, 'base64'));
    await open();
    check(await page.evaluate(saved), [square], ['structure.txt']);
    await page.removeScriptToEvaluateOnNewDocument(launch.identifier);
    // Each choice starts clean: a file with no line, then square.xml, shows
    // square.xml alone, with its date, one save and no zip; at two sizes.
    await page.emulateTimezone('Asia/Tokyo');
    for (const width of [360, 810]) {
      const shot = (what) => page.screenshot({ path: `../build-web/screenshot-${what}-${width}.png` });
      await open(width, width === 360 ? 740 : 1080);
      await shot('empty');
      await page.click('#help summary').then(() => shot('help'));
      await choose(path.join(dir, 'empty.xml'));
      check(await page.evaluate(saved), [path.join(dir, 'empty.xml')], []);
      await shot('no-line').then(() => choose(square));
      check(await page.evaluate(saved), [square], ['structure.txt']);
      await shot('one');
      const date = await page.$eval('h2 small', (small) => small.textContent);
      if (date !== '12月9日 10:32 に ほぞんした ファイル') fail(`the date shown: ${date}`);
    }
    // The 出席番号, given once (full-width) and kept across loads; two files at once: the newest first and marked, each
    // save naming its program and the number; the one of yesterday flagged, the one of today not; then one file alone.
    const today = path.join(big, 'today.xml');
    fs.copyFileSync(square, today);
    await open(360, 740);
    await page.type('#number', '１２');
    await open(810, 1080);
    await choose(square, today);
    await page.evaluate(saved);
    const both = await page.evaluate(() => [...document.querySelectorAll('section')].map((s) => [s.querySelector('h2').textContent,
      !!s.querySelector('.old-file'), s.querySelector('a').download, s.querySelector('a').textContent]).join('|') + !!document.querySelector('.several'));
    if (both !== '★ いちばん 新しい ファイルtoday.xml,false,12-today.structure.txt,12 ばん で ほぞん（today.xml）|square.xml12月9日 10:32 に ほぞんした ファイル,'
      + 'true,12-square.structure.txt,12 ばん で ほぞん（square.xml）true') fail(`two files at once: ${both}`);
    await page.screenshot({ path: '../build-web/screenshot-two-810.png', fullPage: true });
    for (const [width, height] of [[360, 740], [1366, 768]]) {
      await open(width, height);
      await choose(square);
      check(await page.evaluate(saved), [square], ['12-structure.txt']);
      if (await page.$eval('section a', (a) => a.textContent) !== '12 ばん で ほぞん') fail('the save with the number');
      await page.screenshot({ path: `../build-web/screenshot-number-${width}.png`, fullPage: true });
    }
    await page.evaluate(() => localStorage.clear());
    // Files in three goes, then Taro.xml again: in the zip named after their
    // programs, in natural order; the list names the failures first.
    const goes = fs.mkdtempSync(path.join(os.tmpdir(), 'tenapi-goes-'));
    const put = (name, from) => (fs.copyFileSync(from, path.join(goes, name)), path.join(goes, name));
    const [taro, odd, none, lower] = [['Taro.xml', square], ['a:b?.xml', path.join(dir, 'if_else_sum.xml')],
      ['empty.xml', path.join(dir, 'empty.xml')], ['taro.xml', path.join(dir, 'two_stacks.xml')]].map(([name, from]) => put(name, from));
    const class3 = await teach([taro, odd, none], [path.join(big, 'line.xml')], [lower], [taro]);
    if (JSON.stringify(class3.rows.map((row) => [row[2], row[4].replace(/（.*/, ''), row[5]])) !== JSON.stringify([['Taro.xml', '7 行', 'Taro.structure.txt'],
      ['a:b?.xml', '10 行', 'a_b_.structure.txt'], ['empty.xml', 'アウトラインが 1 行もできませんでした', ''], ['line.xml', '読めませんでした', ''],
      ['taro.xml', '2 行', 'taro-2.structure.txt']])) fail(`the class list: ${JSON.stringify(class3.rows)}`);
    if (!same(class3.got['a_b_.structure.txt'], odd.replace(goes, dir).replace('a:b?', 'if_else_sum')) || !same(class3.got['Taro.structure.txt'], square)) fail('the class zip');
    if (!(await page.$eval('#class-note', (note) => note.textContent.includes('同じ ファイル 1 個')))) fail('Taro.xml twice');
    // Thirty-five files, 7 and 19 missing and three that give no line.
    for (const [i, n] of Array.from({ length: 37 }, (_, i) => i + 1).filter((n) => n !== 7 && n !== 19).entries()) {
      put(`${n}-${i % 12 ? 'たろう' : 'はなこ'}.xml`, i % 12 ? square : path.join(dir, 'empty.xml'));
    }
    const started = Date.now();
    const numbered = fs.readdirSync(goes).filter((name) => /^\d/.test(name)).map((name) => path.join(goes, name));
    await teach(numbered);
    console.log(`chromium: 35 files collected and zipped in ${Date.now() - started} ms`);
    // A row a learner, then a row replaced a file as it goes and as its result comes.
    if (!(await page.evaluate('rowsAdded <= 37 + 2 * 35'))) fail(`rows added for 35 files: ${await page.evaluate('rowsAdded')}`);
    if (await page.$eval('#class-missing', (p) => p.textContent) !== 'まだ 出して いない 人：出席番号 7、19') fail('the missing numbers');
    await page.screenshot({ path: '../build-web/screenshot-class-1366x768.png' });
    // 一覧を消す in the middle of a go (a zip, then loose files): nothing of it joins the next list.
    execFileSync('zip', ['-q', '-j', 'all.zip', ...numbered], { cwd: goes });
    await (await page.$('#class-files')).uploadFile(path.join(goes, 'all.zip'), ...numbered);
    await until(() => page.$eval('#class-list', (list) => list.rows.length > 3), 'rows of the go');
    await page.click('#class-clear');
    await (await page.$('#class-files')).uploadFile(taro);
    await until(() => page.$eval('#class-note', (note) => note.textContent.startsWith('一覧：')), 'the list after clearing');
    if (await page.evaluate(() => document.getElementById('class-list').rows.length + document.getElementById('class-orphans').rows.length) !== 1) fail('a cleared go joined the new list');
    fs.rmSync(goes, { recursive: true });
    // A class of five with its roster, in two goes and the first again: a Teams zip (two versions of one learner), a
    // Drive zip (a top folder, a folder a learner, identical files), loose files, a learner's structure.txt, a cut-off program.
    const [kit, two] = [fs.mkdtempSync(path.join(os.tmpdir(), 'tenapi-five-')), path.join(dir, 'two_stacks.xml')];
    const into = (name, from) => (fs.mkdirSync(path.dirname(path.join(kit, name)), { recursive: true }), fs.copyFileSync(from, path.join(kit, name)), path.join(kit, name));
    for (const [name, from] of [['t/Submitted files/山田 花子/四角/Version 1/square.xml', square], ['t/Submitted files/山田 花子/四角/Version 2/square.xml', two], ['t/note.txt', square],
      ['d/四角/2 林/square.xml', square], ['d/四角/4 小林/square.xml', square]]) into(name, from);
    for (const zip of ['t', 'd']) execFileSync('zip', ['-qr', `../${zip}.zip`, '.'], { cwd: path.join(kit, zip) });
    fs.writeFileSync(path.join(kit, '03 佐藤.xml'), fs.readFileSync(square).subarray(0, 600));
    const loose = [['山田 花子 - square.xml', square], ['square (2).xml', square], ['04-structure (1).txt', `${square}.structure`], ['Thumbs.db', square]].map(([n, f]) => into(n, f));
    await open().then(() => page.evaluate(() => { location.hash = '#class'; }));
    await page.type('#roster-size', '5').then(() => page.type('#roster-names', '山田 花子\n林\n佐藤\n小林\n田中'));
    const five = await teach.goes([path.join(kit, 't.zip'), path.join(kit, 'd.zip')], [path.join(kit, '03 佐藤.xml'), ...loose], [path.join(kit, 't.zip')]);
    const want = ['1|Submitted files/山田 花子/四角/Version 2/square.xml|2 行|01-山田 花子.structure.txt', '1|Submitted files/山田 花子/四角/Version 1/square.xml|前に 出した もの：7 行|', '1|山田 花子 - square.xml|前に 出した もの：7 行|',
      '2|四角/2 林/square.xml|7 行|02-林.structure.txt', '3|03 佐藤.xml|とちゅうで 切れて いる ファイル（もう一度 出して もらいます）|03-佐藤.structure.txt', '4|04-structure (1).txt|structure.txt を そのまま（7 行）|04-小林.structure.txt',
      '4|四角/4 小林/square.xml|前に 出した もの：7 行|', '5||まだ 出して いません|', '|square (2).xml|7 行（番号も 名前も ありません）|square (2).structure.txt', '|note.txt|structure.txt ではない .txt なので飛ばしました|'];
    if (JSON.stringify(five.rows.map((r) => [r[0], r[2], r[4], r[5]].join('|'))) !== JSON.stringify(want)) fail(`the class of five: ${JSON.stringify(five.rows)}`);
    if (!same(five.got['01-山田 花子.structure.txt'], two) || !same(five.got['04-小林.structure.txt'], square) || !same(five.got['02-林.structure.txt'], square)) fail('the class of five\'s zip');
    // Against the model square.xml, compared in the core's Worker: the same (2, 4 and the file of no owner, one group),
    // the different, the constructs; the table copied (a row a learner and a file, 13 columns); a row beside the model.
    await page.evaluate((post = Worker.prototype.postMessage) => {
      Worker.prototype.postMessage = function (message, ...rest) { window.compared = (window.compared || 0) + !!message.compare; return post.call(this, message, ...rest); };
      navigator.clipboard.writeText = async (text) => { window.copied = text; };
    });
    await (await page.$('#model-file')).uploadFile(square);
    await until(() => page.evaluate(() => document.getElementById('glance-summary').textContent.includes('お手本（square.xml）')
      && [...document.querySelectorAll('#glance-list td:nth-child(4)')].every((td) => td.textContent !== '…')), 'the comparisons');
    await page.click('#glance-copy');
    const copied = (await page.evaluate('window.copied')).split('\r\n').map((row) => row.split('\t'));
    const glance = copied.slice(1, -1).map((r) => [r[0], r[3], r[4], r[6], r[9]].join('|'));
    if (copied.length !== 8 || copied.some((r, i) => r.length !== (i === 7 ? 1 : 13)) || JSON.stringify(glance) !== JSON.stringify(['1|6 行 ちがう||0|1', '2|お手本と おなじ|1|1|0',
      '3|4 行 ちがう||1|0', '4|お手本と おなじ|1|1|0', '5||||', '|お手本と おなじ|1|1|0'])) fail(`the copied table: ${JSON.stringify(copied)}`);
    const said = await page.$eval('#glance', (part) => `${part.querySelector('#glance-summary').textContent}|${part.querySelector('h4').textContent}`);
    if (!said.includes('くりかえし 4 人、もし 0 人、まえへ 3 人、ひだりへ 1 人') || !said.endsWith('と おなじ 人 3 人。|グループ 1：3 人が おなじ アウトライン（お手本と おなじ）')) fail(`the class at a glance: ${said}`);
    await page.click('#glance-list button');
    const sides = await (await page.waitForSelector('#class-detail table')).evaluate((table) => [...table.rows].map((r) => r.cells[0].textContent).join());
    if (sides !== 'しるし,,≠ ちがう,− ない,− ない,− ない,− ない,− ない' || !(await page.evaluate('window.compared >= 2'))) fail(`beside the model: ${sides}`);
    await page.$eval('#glance', (part) => part.scrollIntoView());
    await page.screenshot({ path: '../build-web/screenshot-glance-1366x768.png' });
    fs.rmSync(kit, { recursive: true });
    const readme = fs.readFileSync('../README-ja.txt', 'utf8');
    for (const [, heading] of fs.readFileSync('page/page.html', 'utf8').matchAll(/<dt>(.*)<\/dt>/g)) readme.includes(heading) || fail(`README-ja.txt lacks ${heading}`);
    // A line larger than the core's memory, then files that must run after
    // it (in a fresh Worker), with the page's results still shown.
    const batch = ['line.xml', 'full.xml', 'many.xml', 'empty.xml', 'toodeep.xml', 'square.xml']
      .map((f) => path.join(fs.existsSync(path.join(dir, f)) ? dir : big, f));
    await open();
    await choose(...batch);
    check(await page.evaluate(saved), batch, batch.map((f) => `${path.basename(f, '.xml')}.structure.txt`));
    if (await page.evaluate(() => document.getElementById('app').hidden)) fail('the results were hidden');
    await open();
    await choose(path.join(big, 'deep.xml'));
    check(await page.evaluate(saved), [path.join(big, 'deep.xml')], ['structure.txt']);
    console.log(`chromium: the deep program in ${await page.evaluate('tenapiTimes.outlines[0]')} ms, WebAssembly memory ${await page.evaluate('tenapiTimes.memory') / 2 ** 20} MiB`);
    await open(810, 1080);
    await page.addScriptTag({ path: 'node_modules/axe-core/axe.min.js' });
    const axe = await page.evaluate(() => axe.run({ runOnly: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa'] }));
    for (const v of axe.violations) fail(`axe: ${v.id}: ${v.help}`);
    const gone = path.join(big, 'gone.xml');
    fs.copyFileSync(square, gone);
    fs.utimesSync(gone, new Date(2020, 0, 1), new Date(2020, 0, 1));  // the older, read second
    await choose(path.join(big, 'huge.xml'), gone);
    fs.unlinkSync(gone);
    const start = Date.now();
    check(await page.evaluate(saved), [path.join(big, 'huge.xml'), gone], ['huge.structure.txt']);
    const memory = await page.evaluate('tenapiTimes.memory');
    console.log(`chromium: 1 GB in ${(Date.now() - start) / 1000} s, WebAssembly memory ${memory / 2 ** 20} MiB`);
    if (memory > 16 * 2 ** 20) fail('the WebAssembly memory grew');
    await page.screenshot({ path: '../build-web/screenshot-810x1080.png' });
  }
  if ((await page.evaluate('violations')).length) fail('a CSP violation');
  // The site: kept by its service worker on the first visit, it opens and
  // works with the server gone, at each of its URLs.
  await page.setViewport({ width: 810, height: 1080 });
  await page.goto(home);
  await until(() => page.evaluate(() => !!navigator.serviceWorker.controller), 'no service worker');
  if (engine === 'chromium') {
    const { installabilityErrors } = await (await page.createCDPSession()).send('Page.getInstallabilityErrors');
    for (const e of installabilityErrors) fail(`not installable: ${e.errorId}`);
  }
  site.up = false;
  const [files, names] = engine === 'chromium' ? [cases, batchNames] : [[square], ['structure.txt']];
  for (const at of [home, `${home}index.html`]) {
    await page.goto(at);
    await page.waitForSelector('#choose:not([disabled])');
    await choose(...files);
    check(await page.evaluate(saved), files, names);
    if ((await page.evaluate('violations')).length) fail('a CSP violation on the site');
  }
  if (!(await page.evaluate(() => caches.match('LICENSE').then((kept) => kept && kept.text())) || '').includes('MIT License')) fail('no LICENSE offline');
  if (!(await page.$eval('#offline', (p) => p.textContent.includes('コピーが あります')))) fail('the offline line');
  if (engine === 'chromium') {
    await page.screenshot({ path: '../build-web/screenshot-site-810x1080.png' });
    // The one-file page served over http is no site: no QR code, no promise of an offline copy.
    Object.assign(site, { up: true, pick: (name) => (name === 'tenapi_outline.html' ? '../build-web' : site.folder) });
    await page.goto(`${home}tenapi_outline.html#class`);
    await page.waitForFunction(() => document.getElementById('class-offline').textContent);
    if (!(await page.$eval('#qr', (qr) => qr.hidden)) || !(await page.$eval('#class-offline', (p) => p.textContent.startsWith('この 1 ファイルのページは')))) fail('the one-file page over http');
    // The class view's QR code says the site's address, and fills 80% of
    // the screen when big; the learners' sheet is one A4 page with the steps
    // and a QR code that reads.
    await page.goto(`${home}#class`);
    if (qr(await (await page.waitForSelector('#qr-code svg')).screenshot()) !== home) fail('the QR code');
    await page.click('#qr-big');
    if (await page.$eval('#qr-code svg', (svg) => svg.getBoundingClientRect().width < 0.8 * Math.min(innerWidth, innerHeight))) fail('the big QR code');
    await page.click('#qr-big');
    const sheet = path.join(os.tmpdir(), `tenapi-sheet-${process.pid}`);
    // 説明を印刷 prints the sheet, not the class report (the browser's own print dialog left out).
    await page.evaluate(() => { window.print = () => dispatchEvent(new Event('beforeprint')); });
    await page.click('#print');
    await page.pdf({ path: `${sheet}.pdf`, format: 'A4' });
    execFileSync('pdftoppm', ['-r', '100', '-png', `${sheet}.pdf`, sheet]);
    const text = execFileSync('pdftotext', [`${sheet}.pdf`, '-']).toString();
    if (!/Pages:\s+1\n/.test(execFileSync('pdfinfo', [`${sheet}.pdf`]).toString()) || !text.includes('ファイルをえらぶ') || !text.includes('先生を よびます')) fail(`the sheet: ${text}`);
    if (qr(fs.readFileSync(`${sheet}-1.png`)) !== home) fail('the QR code on the sheet');
    fs.renameSync(`${sheet}-1.png`, '../build-web/sheet.png');
    fs.rmSync(`${sheet}.pdf`);
    await page.goto(home);
    await page.waitForSelector('#choose:not([disabled])');
    await choose(...files);
    await page.evaluate(saved);
    // A save gives the file's bytes and says where they went.
    const downloads = fs.mkdtempSync(path.join(os.tmpdir(), 'tenapi-saved-'));
    const cdp = await browser.target().createCDPSession();
    await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
    await page.setViewport({ width: 360, height: 740 });
    await page.click('section a.save');
    await page.waitForSelector('section .where:not([hidden])', { timeout: 10000 });
    const first = await page.$eval('section a.save', (a) => a.download);
    await until(() => fs.existsSync(path.join(downloads, first)), 'no saved file');
    if (sha(path.join(downloads, first)) !== sha(`${cases[batchNames.indexOf(first)]}.structure`)) fail('the saved file');
    fs.rmSync(downloads, { recursive: true });
    await page.screenshot({ path: '../build-web/screenshot-site-360.png' });
    // A download the browser refuses: nothing may say the file is saved.
    await cdp.send('Browser.setDownloadBehavior', { behavior: 'deny' });
    await page.click('section:nth-of-type(2) a.save');
    const said = await page.$eval('section:nth-of-type(2) .where', (where) => where.textContent);
    if (/入りました|ほぞんしました|ほぞんされました/.test(said)) fail(`a refused save says ${said}`);
    // A new version, made by the build's own make_page, reaches the device
    // whole or not at all: its sw.js beside the old index.html (a CDN in the
    // middle of an update) keeps the old version through three loads; once
    // all of it is served, the page is new by the second load.
    const v2 = fs.mkdtempSync(path.join(os.tmpdir(), 'tenapi-v2-'));
    execFileSync('cmake', [`-DDIR=${path.resolve('.')}`, `-DCORE=${path.resolve('../build-web/web/tenapi_core.js')}`, '-DVERSION=9.9.9',
      `-DOUT=${v2}/page.html`, `-DSITE=${v2}/site`, '-P', 'site/make_page.cmake']);
    const copyOf = (folder) => `${/tenapi-\w+/.exec(fs.readFileSync(path.join(folder, 'sw.js'), 'utf8'))[0]} ${home}`;
    const load = async () => {
      await page.goto(home);
      await new Promise((r) => setTimeout(r, 3000));
      return page.$eval('footer', (f) => f.textContent.endsWith('9.9.9'));
    };
    Object.assign(site, { up: true, pick: (name) => (name === 'sw.js' ? `${v2}/site` : site.folder) });
    for (let i = 0; i < 3; i++) if (await load()) fail('a new version from a stale index.html');
    if ((await page.evaluate(() => caches.keys())).includes(copyOf(`${v2}/site`))) fail('a copy under the new name from old files');
    site.pick = () => `${v2}/site`;
    let loads = 1;
    while (!(await load()) && loads < 6) loads++;
    console.log(`chromium: the new version after ${loads} loads`);
    if (loads > 2 || !(await page.evaluate(() => caches.keys())).includes(copyOf(`${v2}/site`))) fail('the new version did not show');
    // A new sw.js beside the same files, one of which fails to come: the
    // copy in use stays whole, and the site opens offline.
    const v3 = path.join(v2, 'web');
    fs.cpSync('.', v3, { recursive: true, filter: (from) => !from.includes('node_modules') });
    fs.copyFileSync('../LICENSE', path.join(v2, 'LICENSE'));
    fs.appendFileSync(path.join(v3, 'site/sw.js'), '// changed\n');
    execFileSync('cmake', [`-DDIR=${v3}`, `-DCORE=${path.resolve('../build-web/web/tenapi_core.js')}`, '-DVERSION=9.9.9',
      `-DOUT=${v2}/page3.html`, `-DSITE=${v2}/site3`, '-P', `${v3}/site/make_page.cmake`]);
    site.pick = (name) => (name === 'sw.js' ? `${v2}/site3` : name === 'LICENSE' ? path.join(v2, 'none') : `${v2}/site`);
    await page.evaluate(() => navigator.serviceWorker.getRegistration().then((r) => r.update()).catch(() => {}));
    await until(() => page.evaluate(() => navigator.serviceWorker.getRegistration().then((r) => !r.installing && !r.waiting)), 'the failed install');
    site.up = false;
    await page.goto(home);
    if (!(await page.$eval('footer', (f) => f.textContent.endsWith('9.9.9'))) || !(await page.evaluate(() => caches.match('LICENSE')))) fail('the copy in use after a failed install');
    fs.rmSync(v2, { recursive: true });
    // On an iPad's Home Screen a save hands its bytes and name to the share sheet.
    const app = await browser.newPage();
    await app.evaluateOnNewDocument(() => {
      Object.defineProperty(navigator, 'standalone', { value: true });
      navigator.share = async ({ files: [file] }) => {
        const sum = new Uint8Array(await crypto.subtle.digest('SHA-256', await file.arrayBuffer()));
        window.shared = { name: file.name, sum: [...sum].map((b) => b.toString(16).padStart(2, '0')).join('') };
      };
    });
    await app.goto(url);
    await app.waitForSelector('#choose:not([disabled])');
    await (await app.$('#files')).uploadFile(square);
    await (await app.waitForSelector('section a.save', { timeout: 10000 })).click();
    await until(() => app.evaluate(() => /わたしました/.test(document.querySelector('.where').textContent)), 'no sentence after the share');
    const shared = await app.evaluate('shared');
    if (shared.name !== 'structure.txt' || shared.sum !== sha(`${square}.structure`)) fail(`shared ${JSON.stringify(shared)}`);
    // A share sheet closed without saving says so.
    await app.evaluate(() => { navigator.share = () => Promise.reject(new DOMException('closed', 'AbortError')); });
    await app.click('section a.save');
    await until(() => app.$eval('.where', (p) => p.textContent === 'まだ ほぞん されて いません。もう一度 おします。'), 'no sentence after a cancelled share');
    // There the class's zip is made once, when the list has settled.
    await app.evaluate(() => { window.zips = 0; const make = URL.createObjectURL;
      URL.createObjectURL = (blob) => ((zips += blob.type === 'application/zip'), make(blob)); location.hash = '#class'; });
    await (await app.waitForSelector('#class-files')).uploadFile(...cases);
    await until(() => app.evaluate(() => document.getElementById('class-note').textContent.startsWith('一覧：') && !document.getElementById('class-zip').hidden), 'the class zip');
    if (await app.evaluate('zips') !== 1) fail(`zips made for one go: ${await app.evaluate('zips')}`);
  }
  await browser.close();
}
server.close();
console.log(`${engine}: ${process.exitCode ? 'FAILED' : 'passed'}`);
