// The learner's page: takes files from the button or a drop anywhere and
// shows what the Worker made of each. Every choice starts clean: the page
// shows only what the latest one gave. The rules are all in the core.
// It runs from the page's head, so that the Worker loads its core while
// the page is parsed; the class view (#class) is a module of its own,
// started only there.
'use strict';
const page = (() => {
  const $ = (id) => document.getElementById(id);
  const times = (window.tenapiTimes = { outlines: [] });
  const parsed = new Promise((resolve) => (document.readyState === 'loading' ? document.addEventListener('DOMContentLoaded', resolve) : resolve()));
  let ready = null;
  const loaded = new Promise((resolve) => (ready = resolve));
  const runner = makeRunner(URL.createObjectURL(new Blob([$('worker').textContent], { type: 'text/javascript' })), {
    limit: show.shownBytes,
    ready() {
      times.ready ??= performance.now();
      ready();
    },
    broken: () => parsed.then(() => {
      $('too-old').hidden = false;
      $('app').hidden = true;
      $('class').hidden = true;
    }),
  });
  runner.start();
  // The site: the page with its manifest, served by a web server. Only it
  // keeps itself for offline use and shows its address as a QR code.
  const site = !!document.querySelector('link[rel=manifest]') && /^https?:$/.test(location.protocol) && 'serviceWorker' in navigator;

  // The latest choice, and the save links it made.
  let choice = 0;
  let links = [];

  // Drops what the choices before gave: their files, results and Blobs.
  function clean() {
    runner.clear('learner');
    links.forEach(save.release);
    links = [];
    $('results').replaceChildren();
    $('app').classList.remove('shown');
  }

  async function take(files, start) {
    if (files.length === 0) return;
    const mine = ++choice;
    clean();
    const chosen = Date.now();
    // Each file goes to the Worker before the page is drawn.
    const results = files.map((file, i) => runner.add(file, (read) => {
      parts[i].status.textContent = `よみこみ中… ${Math.floor(read * 100)}%`;
    }, 'learner'));
    // Several files at once are saved under names of their own.
    const saveAs = files.length === 1 ? ['structure.txt'] : outlineNames.of(files.map((file) => file.name));
    const parts = files.map((file) => show.place($('results'), file, chosen));
    parts[0].view.scrollIntoView({ block: 'start' });
    await Promise.all(results.map(async (answer, i) => {
      const result = await answer;
      if (mine !== choice || result.status === 'dropped') return;
      if (result.status !== 'done' && result.status !== 'cut-off') return show.failed(parts[i], result.status);
      times.memory = Math.max(times.memory || 0, result.memory);
      links.push(show.shown(parts[i], saveAs[i], result));
      $('app').classList.add('shown');
      requestAnimationFrame(() => setTimeout(() => times.outlines.push(performance.now() - start)));
    }));
  }

  // The class view, loaded from its inert block the first time it is shown.
  let classView = null;
  function teacher() {
    classView ??= new Promise((resolve, reject) => {
      const script = document.createElement('script');
      script.src = URL.createObjectURL(new Blob([$('class-code').textContent], { type: 'text/javascript' }));
      script.onload = () => resolve(startClass({ runner, loaded, save, outlineNames, site, unzip: $('unzip-code').textContent }));
      script.onerror = reject;
      document.head.append(script);
    });
    return classView;
  }

  // The learner's page or the class view, as the address says.
  const teaching = () => location.hash === '#class';
  function route() {
    if (!$('too-old').hidden) return;
    $('app').hidden = teaching();
    $('help').hidden = teaching();
    $('class').hidden = !teaching();
    if (teaching()) teacher().then((view) => view.show());
  }

  parsed.then(() => {
    loaded.then(() => {
      $('choose').disabled = false;
    });
    $('choose').onclick = () => $('files').click();
    $('files').onchange = (event) => {
      take([...event.target.files], event.timeStamp);
      event.target.value = '';
    };
    document.addEventListener('dragover', (event) => event.preventDefault());
    document.addEventListener('drop', (event) => {
      event.preventDefault();
      const files = [...event.dataTransfer.files];
      if (teaching()) teacher().then((view) => view.take(files));
      else take(files, event.timeStamp);
    });
    // An installed app opened from a Chromebook's Files app gets its files
    // here (Chrome 102 and later); elsewhere there is no launchQueue.
    if ('launchQueue' in window) {
      launchQueue.setConsumer(async ({ files }) => {
        const start = performance.now();
        const chosen = await Promise.all(files.filter((handle) => handle.kind === 'file').map((handle) => handle.getFile().catch(() => null)));
        take(chosen.filter(Boolean), start);
      });
    }
    // A printed page holds the help opened.
    let helpWasOpen = false;
    addEventListener('beforeprint', () => {
      helpWasOpen = $('help').open;
      $('help').open = true;
    });
    addEventListener('afterprint', () => {
      $('help').open = helpWasOpen;
    });
    addEventListener('hashchange', route);
    $('old').hidden = true;
    $('app').hidden = false;
    route();
    // Registered once the page is ready, so that its check for a new
    // version does not hold up the first file.
    if (site) loaded.then(() => navigator.serviceWorker.register('sw.js')).catch(() => {});
  });
  return { site };
})();
