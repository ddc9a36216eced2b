// The browser edition's speed. Two modes:
//   node --no-experimental-fetch bench/web.mjs core CORE.js FILE [RUNS]
// the core under Node, on bytes in memory, read in the Worker's way: the
// median milliseconds of the whole analysis of a file; and
//   node bench/web.mjs page [--runs N] [--class] BUILD...
// each BUILD a build-web/ folder (its tenapi_outline.html and site/), in
// headless Chromium with the page's CPU slowed 4x through CDP (the Worker
// is not slowed), a fresh context a run, the builds taken in turn: medians
// of the learner's page's main-thread script at load, when it is ready and
// when square.xml's outline is shown (from the file and as the site under
// its service worker), beside the page with no script; with --class, the
// class view collecting 35, 350 and 1,000 programs and zips of 100, 1,000
// and 20,000 tiny entries (CPU not slowed but for the 35, one run each),
// and with 35 and 1,000 listed, a model given and replaced until every row
// is compared with it.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import { createRequire } from 'node:module';
import os from 'node:os';
import path from 'node:path';

const root = path.resolve(path.dirname(new URL(import.meta.url).pathname), '..');
const [mode, ...rest] = process.argv.slice(2);
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

if (mode === 'core') {
  const [core, file, runs = 11] = rest;
  const bytes = fs.readFileSync(file);
  let at = 0;
  const module = await createRequire(import.meta.url)(path.resolve(core))({
    readInput(buffer, size) {
      const n = Math.min(size, bytes.length - at);
      this.HEAPU8.set(bytes.subarray(at, at + n), buffer);
      at += n;
      return n;
    },
    writeOutput() {},
  });
  const times = [];
  for (let i = 0; i < runs; i++) {
    at = 0;
    const start = performance.now();
    if (!['done', 'no-line'].includes(module.UTF8ToString(module._tenapi_analyse()))) throw new Error('the analysis failed');
    times.push(performance.now() - start);
  }
  console.log(median(times).toFixed(1));
} else if (mode === 'page') {
  let runs = 9;
  let teach = false;
  const builds = [];
  for (let i = 0; i < rest.length; i++) {
    if (rest[i] === '--runs') runs = Number(rest[++i]);
    else if (rest[i] === '--class') teach = true;
    else builds.push(path.resolve(rest[i]));
  }
  const puppeteer = createRequire(path.join(root, 'web/package.json'))('puppeteer-core');
  const square = path.join(root, 'examples/square.xml');
  // Each build's site on a port of its own; beside them the last build's
  // page with no script but one that notes its first paint, showing what
  // the learner's page shows: the same Japanese text and style, parsed,
  // laid out and painted, with nothing to run.
  const empty = path.join(os.tmpdir(), `tenapi-empty-${process.pid}.html`);
  fs.writeFileSync(empty, fs.readFileSync(path.join(builds.at(-1), 'tenapi_outline.html'), 'utf8')
    .replace(/<script[^>]*>[^]*?<\/script>/g, '').replace('<meta http-equiv="Content-Security-Policy"', '<meta name="x"')
    .replace('<p id="old" class="error">', '<p id="old" class="error" hidden>').replace('<div id="app" hidden>', '<div id="app">')
    .replace('</body>', '<script>new PerformanceObserver((list) => (window.tenapiTimes = { ready: list.getEntries()[0].startTime }))'
      + '.observe({ type: "paint", buffered: true })</script></body>'));
  const types = { '.html': 'text/html', '.js': 'text/javascript', '.webmanifest': 'application/manifest+json', '.png': 'image/png' };
  const servers = await Promise.all(builds.map((build) => new Promise((resolve) => {
    const server = http.createServer((request, response) => {
      const name = new URL(request.url, 'http://x').pathname.slice(1) || 'index.html';
      fs.readFile(path.join(build, 'site', name), (error, data) => (error ? response.writeHead(404).end()
        : response.writeHead(200, { 'content-type': types[path.extname(name)] || 'text/plain' }).end(data)));
    }).listen(0, '127.0.0.1', () => resolve(server));
  })));
  const browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', headless: true, protocolTimeout: 900000,
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking', '--disable-component-update', '--disable-sync'] });
  const pageIn = async (context, rate) => {
    const page = await context.newPage();
    const cdp = await page.createCDPSession();
    await cdp.send('Performance.enable');
    if (rate > 1) await cdp.send('Emulation.setCPUThrottlingRate', { rate });
    return { page, cdp };
  };
  // One fresh run at `address`: script at load, ready and the first outline.
  async function run(address, site) {
    const context = await browser.createBrowserContext();
    try {
      if (site) {
        const first = await context.newPage();
        await first.goto(address);
        await first.waitForFunction(() => navigator.serviceWorker.controller, { timeout: 60000 });
        await first.close();
      }
      const { page, cdp } = await pageIn(context, 4);
      await page.goto(address);
      await page.waitForFunction(() => window.tenapiTimes && tenapiTimes.ready, { timeout: 60000 });
      const ready = await page.evaluate(() => tenapiTimes.ready);
      const { metrics } = await cdp.send('Performance.getMetrics');
      const script = 1000 * metrics.find((m) => m.name === 'ScriptDuration').value;
      if (address.endsWith('.html') && address.includes('tenapi-empty')) return { script, ready };
      await (await page.$('#files')).uploadFile(square);
      await page.waitForFunction(() => tenapiTimes.outlines.length > 0, { timeout: 60000 });
      return { script, ready, outline: await page.evaluate(() => tenapiTimes.outlines[0]) };
    } finally {
      await context.close();
    }
  }
  const results = new Map();
  const put = (key, value) => results.set(key, [...(results.get(key) || []), value]);
  for (let i = 0; i < runs; i++) {
    put('empty', await run(`file://${empty}`, false));
    for (const [b, build] of builds.entries()) {
      put(`${b} file`, await run(`file://${path.join(build, 'tenapi_outline.html')}`, false));
      put(`${b} site`, await run(`http://127.0.0.1:${servers[b].address().port}/`, true));
    }
  }
  const show = (name, all) => {
    const pick = (key) => (all[0][key] === undefined ? '' : `${key} ${median(all.map((r) => r[key])).toFixed(1)} ms`);
    console.log(`${name}: ${['script', 'ready', 'outline'].map(pick).filter(Boolean).join(', ')}`);
  };
  console.log(`medians of ${runs} runs, CPU slowed 4x`);
  show('the page with no script', results.get('empty'));
  for (const [b, build] of builds.entries()) {
    console.log(`${build}: the one-file page ${fs.statSync(path.join(build, 'tenapi_outline.html')).size} bytes`);
    show('  file://', results.get(`${b} file`));
    show('  the site', results.get(`${b} site`));
  }
  if (teach) {
    // The class view: programs chosen at once, and zips of tiny entries.
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'tenapi-class-'));
    const program = fs.readFileSync(square);
    const programs = (count, into) => {
      fs.mkdirSync(into);
      return Array.from({ length: count }, (_, i) => {
        const file = path.join(into, `${i + 1}-たろう.xml`);
        fs.writeFileSync(file, Buffer.concat([program, Buffer.from(`<!-- ${i} -->\n`)]));
        return file;
      });
    };
    const goes = [35, 350, 1000].map((n) => [`${n} programs`, programs(n, path.join(folder, `p${n}`))]);
    for (const n of [100, 1000, 20000]) {
      const into = path.join(folder, `z${n}`);
      fs.mkdirSync(into);
      for (let i = 0; i < n; i++) fs.writeFileSync(path.join(into, `${i + 1}.xml`), `<block type="mevok_main" id="${i}">\n`);
      execFileSync('zip', ['-q', '-r', `../z${n}.zip`, '.'], { cwd: into });
      goes.push([`a zip of ${n} tiny entries`, [path.join(folder, `z${n}.zip`)]]);
    }
    for (const [what, files] of goes) {
      for (const build of builds) {
        const context = await browser.createBrowserContext();
        const { page } = await pageIn(context, what.startsWith('35 ') ? 4 : 1);
        await page.goto(`file://${path.join(build, 'tenapi_outline.html')}#class`);
        await page.waitForSelector('#class-choose:not([disabled])', { timeout: 60000 });
        await page.evaluate(() => (window.started = performance.now()));
        await (await page.$('#class-files')).uploadFile(...files);
        const took = await page.waitForFunction(() => document.getElementById('class-note').textContent.startsWith('一覧：'), { timeout: 600000, polling: 'mutation' })
          .then(() => page.evaluate(() => `${(performance.now() - started).toFixed(0)} ms`), () => 'more than 600 s');
        console.log(`${what}${what.startsWith('35 ') ? ' (CPU 4x)' : ''}, ${build}: ${took}`);
        // With the list settled, a model given and then replaced, in turn, 9 times: until every row says how it
        // differs, the median (a build with no model left out).
        const models = what.endsWith(' programs') && !what.startsWith('350') && (await page.$('#model-file'));
        const times = [];
        for (let i = 0; models && i < 9; i++) {
          const model = i % 2 ? path.join(root, 'tests/programs/if_else_sum.xml') : square;
          // From the file's choosing (its change event) to the table drawn with every row compared.
          await page.evaluate(() => document.getElementById('model-file').addEventListener('change', (event) => (window.started = event.timeStamp), { capture: true, once: true }));
          await (await page.$('#model-file')).uploadFile(model);
          times.push(await page.waitForFunction((name) => document.getElementById('glance-summary').textContent.includes(`お手本（${name}）`)
            && ![...document.querySelectorAll('#glance-list td:nth-child(4)')].some((td) => td.textContent === '…') && performance.now() - started,
          { timeout: 60000, polling: 'mutation' }, path.basename(model)).then((took) => took.jsonValue()));
        }
        if (models) console.log(`  a model given, then replaced, until every row is compared: ${times[0].toFixed(0)} ms, then a median of ${median(times.slice(1)).toFixed(0)} ms`);
        await context.close();
      }
    }
    fs.rmSync(folder, { recursive: true });
  }
  await browser.close();
  servers.forEach((server) => server.close());
  fs.rmSync(empty);
} else {
  console.error('usage: bench/web.mjs core CORE.js FILE [RUNS] | page [--runs N] [--class] BUILD...');
  process.exit(2);
}
