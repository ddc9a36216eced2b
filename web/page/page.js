// The learner's page: takes files from the button or a drop anywhere and
// shows what the Worker made of each. Every choice starts clean: the page
// shows only what the latest one gave. The rules are all in the core.
// It runs from the page's head, so that the Worker loads its core while
// the page is parsed; the class view (#class) is a module of its own,
// started only there.
'use strict';
(() => {
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

  // The latest choice, and the saves it made: { link, change, blob, base,
  // file, several, part, result }.
  let choice = 0;
  let saves = [];
  // The learner's 出席番号 today, or ''.
  let number = learnerNumber.load(new Date());

  // Drops what the choices before gave: their files, results and Blobs.
  function clean() {
    runner.clear('learner');
    saves.forEach(({ link }) => save.release(link));
    saves = [];
    $('results').replaceChildren();
    $('app').classList.remove('shown');
  }

  // What a save is named and says: the learner's number first, where it is
  // known (12-structure.txt, 「12 ばん で ほぞん」), and the program's name
  // where several were chosen.
  function offer({ link, change, blob, base, file, several, part, result }) {
    const name = number ? `${number}-${base}` : base;
    part.status.textContent = show.sentence(name, result.made, result.lines);
    save.release(link);
    save.offer(link, blob, name);
    link.textContent = number ? `${number} ばん で ほぞん${several ? `（${file.name}）` : ''}` : `${name} をほぞん`;
    change.textContent = number ? 'ばんごうを かえる' : 'しゅっせき ばんごうを 入れる';
  }

  async function take(chosenFiles, start) {
    if (chosenFiles.length === 0) return;
    const mine = ++choice;
    clean();
    const chosen = Date.now();
    // The newest first.
    const files = [...chosenFiles].sort((a, b) => b.lastModified - a.lastModified);
    // Each file goes to the Worker before the page is drawn.
    const results = files.map((file, i) => runner.add(file, (read) => {
      parts[i].status.textContent = `よみこみ中… ${Math.floor(read * 100)}%`;
    }, 'learner'));
    // Several files at once are saved under names of their own.
    const several = files.length > 1;
    const bases = several ? outlineNames.of(files.map((file) => file.name)) : ['structure.txt'];
    if (several) {
      const p = document.createElement('p');
      p.className = 'several';
      p.textContent = `ファイルを ${files.length} こ いっしょに えらびました。★ が ついた いちばん 上の ものが、いちばん 新しい ファイルです。`;
      $('results').append(p);
    }
    const parts = files.map((file, i) => show.place($('results'), file, chosen, several && i === 0));
    parts[0].view.scrollIntoView({ block: 'start' });
    await Promise.all(results.map(async (answer, i) => {
      const result = await answer;
      if (mine !== choice || result.status === 'dropped') return;
      // What has an outline comes with its Blob.
      if (!result.blob) return show.failed(parts[i], result.status);
      times.memory = Math.max(times.memory || 0, result.memory);
      const change = document.createElement('button');
      change.type = 'button';
      change.className = 'plain change';
      change.onclick = () => $('number').focus();
      const one = { link: show.shown(parts[i], result), change, blob: result.blob, base: bases[i], file: files[i], several, part: parts[i], result };
      offer(one);
      // After the link's sentence of where the save went.
      one.link.nextElementSibling.after(change);
      saves.push(one);
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
      script.onload = () => resolve(startClass({ runner, loaded, save, outlineNames, outlineLines: show.lines, site, unzip: $('unzip-code').textContent }));
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
    // Printed, the class view is the class report.
    document.documentElement.classList.toggle('report', teaching());
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
    $('number').value = number;
    $('number').oninput = () => {
      const given = learnerNumber.parse($('number').value);
      $('number-note').textContent = given === null ? '1 から 45 までの ばんごうを 入れます。' : '';
      $('number-note').className = given === null ? 'error' : '';
      if (given === null) return;
      number = given;
      learnerNumber.keep(number, new Date());
      saves.forEach(offer);
    };
    // Whether this device keeps the site for use with no network.
    const offline = () => {
      $('offline').textContent = navigator.serviceWorker.controller ? 'この たんまつには オフラインの コピーが あります。ネットワークが なくても ひらけます。'
        : 'この たんまつには、まだ オフラインの コピーが ありません。';
    };
    if (site) {
      offline();
      navigator.serviceWorker.addEventListener('controllerchange', offline);
    }
    $('old').hidden = true;
    $('app').hidden = false;
    route();
    // Registered once the page is ready, so that its check for a new
    // version does not hold up the first file.
    if (site) loaded.then(() => navigator.serviceWorker.register('sw.js')).catch(() => {});
  });
})();
