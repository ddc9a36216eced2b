// The page in real browsers. Usage: node test.mjs chromium|firefox|webkit CASES [BIG]
// Each CASES/*.xml goes through the file input in one batch, square.xml
// alone and by a drop; every saved file must hold the bytes that the console
// tool wrote (CASE.xml.structure). Chromium also takes BIG/huge.xml (memory
// checked) with a file removed right after it was chosen, axe-core, and two
// screenshots. Any request off the device or CSP violation fails.
import crypto from 'node:crypto';
import fs from 'node:fs';
import net from 'node:net';
import path from 'node:path';
import { spawn } from 'node:child_process';
import puppeteer from 'puppeteer-core';
import { Builder, By } from 'selenium-webdriver';

const [engine, dir, big] = process.argv.slice(2);
const url = `file://${path.resolve('../build-web/tenapi_outline.html')}`;
const cases = fs.readdirSync(dir).filter((f) => f.endsWith('.xml')).sort().map((f) => path.join(dir, f));
const square = path.join(dir, 'square.xml');
const fail = (what) => { console.error(`${engine}: ${what}`); process.exitCode = 1; };

// In the page: once every file has its link or its error, what each shows:
// the name it saves under, the SHA-256 of its bytes, and its last sentence.
async function saved() {
  const all = () => [...document.querySelectorAll('section')];
  while (all().length === 0 || all().some((s) => !s.querySelector('a, .error'))) await new Promise((r) => setTimeout(r, 50));
  return Promise.all(all().map(async (s) => {
    const a = s.querySelector('a');
    const sum = a && new Uint8Array(await crypto.subtle.digest('SHA-256', await (await fetch(a.href)).arrayBuffer()));
    return { save: a && a.download, sum: a && [...sum].map((b) => b.toString(16).padStart(2, '0')).join(''),
      say: [...s.querySelectorAll('p')].pop().textContent };
  }));
}
const watch = () => { window.violations = []; document.addEventListener('securitypolicyviolation', (e) => violations.push(e.violatedDirective)); };

// What the page must say of a file (* for the name it saves under).
const says = { 'line.xml': 'ファイルが開けませんでした。',
  'full.xml': '* は 198 行で、ぜんぶ アウトラインの 行です。',
  'many.xml': 'アウトラインは ぜんぶで 300 行 できましたが、* には はじめの 198 行だけが 入ります。',
  'empty.xml': '* は 198 行 ぜんぶ 空の 行です。このファイルからは、アウトラインの 行が ひとつも できませんでした。てなぴで ほぞんした .xml ファイルか、たしかめてください。',
  'toodeep.xml': 'ファイルは よめましたが、structure.txt が 大きすぎて、この ページでは つくれません。',
  'square.xml': '* は 198 行です。はじめの 7 行が アウトラインで、8 行目からは 空の 行です。' };
const sha = (file) => crypto.createHash('sha256').update(fs.readFileSync(file)).digest('hex');
function check(got, files, names) {
  if (got.length !== files.length) return fail(`${got.length} results for ${files.length} files`);
  got.forEach((r, i) => {
    const want = fs.existsSync(`${files[i]}.structure`) && sha(`${files[i]}.structure`);
    const say = says[path.basename(files[i])] ?? (want ? r.say : says['line.xml']);
    if (want ? r.sum !== want || r.save !== names[i] : r.save) fail(`${files[i]}: saved as ${r.save}`);
    if (r.say !== say.replace('*', names[i])) fail(`${files[i]} says ${r.say}`);
  });
}
const batchNames = cases.map((f) => path.basename(f, '.xml') + '.structure.txt');

if (engine === 'webkit') {
  // A free port, and the driver asked until it answers (10 s at most).
  const port = await new Promise((r) => { const s = net.createServer().listen(0, '127.0.0.1', () => { const { port } = s.address(); s.close(() => r(port)); }); });
  const server = spawn('WebKitWebDriver', [`--port=${port}`], { stdio: 'inherit' });
  for (let i = 0; !(await fetch(`http://127.0.0.1:${port}/status`).then((r) => r.ok, () => false)); i++) {
    if (i === 100) throw new Error('WebKitWebDriver does not answer');
    await new Promise((r) => setTimeout(r, 100));
  }
  const driver = await new Builder().usingServer(`http://127.0.0.1:${port}`).withCapabilities({ browserName: 'MiniBrowser',
    'webkitgtk:browserOptions': { binary: '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser', args: ['--automation'] } }).build();
  try {
    for (const [files, names] of [[cases, batchNames], [[square], ['structure.txt']]]) {
      await driver.get(url);
      await driver.executeScript(watch);
      await driver.findElement(By.id('files')).sendKeys(files.join('\n'));
      check(await driver.executeScript(`return (${saved})()`), files, names);
      if ((await driver.executeScript('return violations')).length) fail('a CSP violation');
    }
  } finally {
    await driver.quit();
    server.kill();
  }
} else {
  const browser = await puppeteer.launch({ browser: engine === 'firefox' ? 'firefox' : 'chrome', headless: true,
    executablePath: engine === 'firefox' ? '/usr/bin/firefox-esr' : '/usr/bin/chromium',
    args: engine === 'firefox' ? [] : ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync'] });
  const page = await browser.newPage();
  page.on('request', (r) => /^(file|data|blob):/.test(r.url()) || fail(`a request for ${r.url()}`));
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
  if (engine === 'chromium') {
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
    await page.screenshot({ path: '../build-web/screenshot-1366x768.png' });
    await open(810, 1080);
    await page.addScriptTag({ path: 'node_modules/axe-core/axe.min.js' });
    const axe = await page.evaluate(() => axe.run({ runOnly: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa'] }));
    for (const v of axe.violations) fail(`axe: ${v.id}: ${v.help}`);
    const gone = path.join(big, 'gone.xml');
    fs.copyFileSync(square, gone);
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
  await browser.close();
}
console.log(`${engine}: ${process.exitCode ? 'FAILED' : 'passed'}`);
