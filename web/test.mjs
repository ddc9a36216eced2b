// The page in real browsers. Usage: node test.mjs chromium|firefox|webkit CASES [BIG]
// Each CASES/*.xml goes through the file input in one batch, square.xml
// alone and by a drop; every saved file must hold the bytes that the console
// tool wrote (CASE.xml.structure). Chromium also takes BIG/huge.xml (memory
// checked) with a file removed right after it was chosen, axe-core, and two
// screenshots. Any request off the device or CSP violation fails.
import fs from 'node:fs';
import path from 'node:path';
import { spawn } from 'node:child_process';
import puppeteer from 'puppeteer-core';
import { Builder, By } from 'selenium-webdriver';

const [engine, dir, big] = process.argv.slice(2);
const url = `file://${path.resolve('../build-web/tenapi_outline.html')}`;
const cases = fs.readdirSync(dir).filter((f) => f.endsWith('.xml')).sort().map((f) => path.join(dir, f));
const square = path.join(dir, 'square.xml');
const fail = (what) => { console.error(`${engine}: ${what}`); process.exitCode = 1; };

// In the page: once every file has its link or its error, what each shows.
async function saved() {
  const all = () => [...document.querySelectorAll('section')];
  while (all().length === 0 || all().some((s) => !s.querySelector('a, .error'))) await new Promise((r) => setTimeout(r, 50));
  return Promise.all(all().map(async (s) => {
    const a = s.querySelector('a');
    const bytes = a && new Uint8Array(await (await fetch(a.href)).arrayBuffer());
    let text = '';
    for (let i = 0; bytes && i < bytes.length; i += 8192) text += String.fromCharCode(...bytes.subarray(i, i + 8192));
    return { save: a && a.download, bytes: a && btoa(text), error: !a && s.querySelector('.error').textContent };
  }));
}
const watch = () => { window.violations = []; document.addEventListener('securitypolicyviolation', (e) => violations.push(e.violatedDirective)); };

function check(got, files, names) {
  if (got.length !== files.length) return fail(`${got.length} results for ${files.length} files`);
  got.forEach((r, i) => {
    const want = fs.existsSync(`${files[i]}.structure`) && fs.readFileSync(`${files[i]}.structure`, 'base64');
    if (want ? r.bytes !== want || r.save !== names[i] : r.error !== 'ファイルが開けませんでした。') fail(`${files[i]}: ${r.save} ${r.error}`);
  });
}
const batchNames = cases.map((f) => path.basename(f, '.xml') + '.structure.txt');

if (engine === 'webkit') {
  const server = spawn('WebKitWebDriver', ['--port=4455'], { stdio: 'inherit' });
  await new Promise((r) => setTimeout(r, 1000));
  const driver = await new Builder().usingServer('http://127.0.0.1:4455').withCapabilities({ browserName: 'MiniBrowser',
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
