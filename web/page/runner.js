// The Worker's life and its queue: files are analysed one at a time, each
// answered by a promise of what the Worker said of it. The states:
// idle (no file in the Worker; it may have none yet), loading (a new Worker
// is loading its core), busy (a file is in the Worker) and rereading (the
// page reads the file whole for the Worker). Only the Worker in use is
// heard: an event from one that has been replaced is ignored.
'use strict';
function makeRunner(code, { ready, broken, limit }) {
  const queue = [];
  let worker = null;
  let state = 'idle';
  let job = null;
  // A core has loaded: the page works in this browser, whatever fails later.
  let loaded = false;

  function start() {
    const mine = new Worker(code);
    worker = mine;
    state = 'loading';
    mine.onmessage = ({ data }) => mine === worker && receive(data);
    mine.onerror = (event) => {
      event.preventDefault();
      if (mine === worker) lost();
    };
    // A message that cannot be read: the file fails, in a fresh Worker next;
    // outside a file, the Worker is lost.
    mine.onmessageerror = () => mine === worker && (job ? answer({ status: 'not-read', fresh: true }) : lost());
  }

  // Ends the Worker in use; the next file gets a fresh one.
  function end() {
    worker.terminate();
    worker = null;
    state = 'idle';
  }

  function next() {
    if (state !== 'idle' || queue.length === 0) return;
    if (!worker) return start();
    job = queue.shift();
    state = 'busy';
    if (job.compare) return worker.postMessage({ compare: job.compare });
    // Bytes (a zip's entry) are handed over; a File is read by the Worker.
    // A text is read back as a structure.txt; anything else is analysed.
    const how = job.outline ? { limit, outline: true } : { limit };
    if (job.file instanceof Uint8Array) worker.postMessage({ bytes: job.file, ...how }, [job.file.buffer]);
    else worker.postMessage({ file: job.file, ...how });
  }

  function answer(result) {
    if (result.fresh) end();
    else state = 'idle';
    const done = job;
    job = null;
    done.resolve(result);
    next();
  }

  // The Worker failed outside an analysis: its file fails. A core that did
  // not load ends the page only if none ever did; else the files waiting
  // fail too, and the next file tries a fresh Worker.
  function lost() {
    const wasLoading = state === 'loading';
    end();
    if (!loaded || wasLoading) queue.splice(0).forEach((waiting) => waiting.resolve({ status: 'not-read' }));
    if (!loaded) return broken();
    if (job) answer({ status: 'not-read' });
  }

  function receive(data) {
    if (data.ready) {
      loaded = true;
      state = 'idle';
      ready();
      next();
    } else if (data.broken) {
      lost();
    } else if (data.progress !== undefined) {
      job.progress(data.progress);
    } else if (data.reread && state === 'busy') {
      // The Worker cannot read a chosen File here (WebKit from file://): the
      // page reads it whole, once. A removed file can read short, with no error.
      state = 'rereading';
      const mine = job;
      mine.file.arrayBuffer().then((buffer) => {
        if (mine !== job) return;
        if (buffer.byteLength !== mine.file.size) return answer({ status: 'not-read' });
        state = 'busy';
        worker.postMessage({ bytes: new Uint8Array(buffer), limit, outline: mine.outline }, [buffer]);
      }, () => mine === job && answer({ status: 'not-read' }));
    } else {
      answer(data);
    }
  }

  return {
    // Queues `file` (a File, or bytes) for `owner`, to be read back as a
    // structure.txt where `outline`; `progress` hears how much of it has
    // been read.
    add(file, progress, owner, outline = false) {
      return new Promise((resolve) => {
        queue.push({ file, progress, owner, outline, resolve });
        next();
      });
    },
    // Queues for `owner` a comparison of the structure.txt `model` (a Blob)
    // with each of `others`; with `rows`, the one other's lines side by side.
    compare(model, others, owner, rows = false) {
      return new Promise((resolve) => {
        queue.push({ compare: { model, others, limit: rows ? limit : 0 }, progress: () => {}, owner, resolve });
        next();
      });
    },
    // Drops every file of `owner` waiting and the one in the Worker, whose
    // Worker ends: their promises say "dropped".
    clear(owner) {
      const mine = (one) => one.owner === owner;
      queue.filter(mine).forEach((waiting) => waiting.resolve({ status: 'dropped' }));
      queue.splice(0, queue.length, ...queue.filter((one) => !mine(one)));
      if (!job || !mine(job)) return;
      const dropped = job;
      job = null;
      end();
      dropped.resolve({ status: 'dropped' });
      next();
    },
    start,
  };
}
