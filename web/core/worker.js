// The page's Worker, after the core: analyses one file at a time. A File is
// read in slices as the core asks for them, bytes from the page from
// memory. Sends back structure.txt as a Blob with the first bytes of its
// lines, or what went wrong; anything that fails here ends the file, never
// the page. structure.txt is held once: each part goes into a Blob of its
// own as it leaves the core, and the Blobs are joined at the end. Also
// compares a model's structure.txt with others', all in one message.
'use strict';
let core = null;
let source = null;
let at = 0;
let shown = 0;
let parts = [];
let heads = null;
// The first bytes of structure.txt, from which two outlines are told the same.
const keyBytes = 2 ** 20;
let front = [];
let fronted = 0;
// The file has been read and structure.txt is on its way out.
let writing = false;
// The first read of a File failed: the page may read it for this Worker.
let unreadable = false;
const ready = tenapiCore({
  // The core's read_input: up to `size` bytes at `buffer`, 0 at the end, -1
  // when the file cannot be read.
  readInput(buffer, size) {
    const total = source.bytes ? source.bytes.length : source.file.size;
    const n = Math.min(size, total - at);
    let slice;
    try {
      if (n <= 0) {
        // A removed File can look empty, with no error until it is read whole.
        if (source.file && total === 0) new FileReaderSync().readAsArrayBuffer(source.file);
        return 0;
      }
      slice = source.bytes ? source.bytes.subarray(at, at + n)
        : new Uint8Array(new FileReaderSync().readAsArrayBuffer(source.file.slice(at, at + n)));
    } catch {
      unreadable = at === 0 && !source.bytes;
      return -1;
    }
    // A file removed since it was chosen can read as fewer bytes, and no error.
    if (slice.length !== n) return -1;
    this.HEAPU8.set(slice, buffer);
    at += n;
    if (Date.now() - shown > 100) {
      shown = Date.now();
      postMessage({ progress: at / total });
    }
    return n;
  },
  // The core's write_output: a part of structure.txt, copied out.
  writeOutput(bytes, size) {
    writing = true;
    const part = this.HEAPU8.subarray(bytes, bytes + size);
    heads.add(part);
    if (!parts) return;
    parts.push(new Blob([part]));
    if (fronted < keyBytes) {
      front.push(part.slice(0, keyBytes - fronted));
      fronted += front.at(-1).length;
    }
  },
});
ready.then((loaded) => {
  core = loaded;
  postMessage({ ready: true });
  warm();
}, () => postMessage({ broken: true }));

// One small program analysed as soon as the core is there, so that the
// learner's first file finds it compiled and its memory grown. Whatever it
// ends in is nobody's to hear.
function warm() {
  const bytes = new TextEncoder().encode('<block type="mevok_main" id="m">\n<statement name="DO">\n<block type="mevok_forward" id="f">\n<field name="NUM">50</field>\n</block>\n</statement>\n</block>\n');
  try {
    run({ bytes, limit: 1 }, () => {});
  } catch {
    // A file's analysis says what fails; this one shows nothing.
  }
}

// The first `count` lines of structure.txt, from its parts as they come,
// each without its CR LF and cut to at most `limit` bytes: [bytes, whether
// it was cut]. What is kept is copied: the core's memory is used again.
function firstLines(count, limit) {
  const lines = [];
  let pieces = [];
  let kept = 0;
  let length = 0;
  const add = (part) => {
    for (let from = 0; from < part.length && lines.length < count;) {
      const end = part.indexOf(10, from);
      const stop = end < 0 ? part.length : end;
      const piece = part.slice(from, Math.min(stop, from + limit + 1 - kept));
      pieces.push(piece);
      kept += piece.length;
      length += stop - from;
      if (end < 0) break;
      from = end + 1;
      const bytes = new Uint8Array(kept);
      pieces.reduce((at, bit) => (bytes.set(bit, at), at + bit.length), 0);
      const cut = length - 1 > limit;
      lines.push([bytes.subarray(0, cut ? limit : length - 1), cut]);
      pieces = [];
      kept = 0;
      length = 0;
    }
  };
  return { lines, add };
}

// Runs `data` (a File or bytes) through the core, which analyses it or
// reads it back as a structure.txt; `answer` hears what it ended in while
// its parts are at hand. Throws what the core throws.
function run(data, answer) {
  source = data;
  at = 0;
  shown = Date.now();
  parts = [];
  writing = false;
  unreadable = false;
  front = [];
  fronted = 0;
  try {
    heads = firstLines(core._tenapi_lines(), data.limit);
    const status = core.UTF8ToString(data.outline ? core._tenapi_read_outline() : core._tenapi_analyse());
    writing = true;
    answer(status);
  } finally {
    source = null;
    parts = [];
    heads = null;
    front = [];
  }
}

// The first bytes of structure.txt, up to keyBytes, in one array.
function kept() {
  if (front.length === 1) return front[0];
  const all = new Uint8Array(fronted);
  front.reduce((at, piece) => (all.set(piece, at), at + piece.length), 0);
  return all;
}

// What two outlines are told the same by: the bytes of structure.txt up to
// its last line with text, as a string; none past keyBytes. And the bytes
// of the whole where it is small, as most are: the page sends them back
// for comparing, which is faster than this Worker reading the Blob again.
function sameness() {
  const body = core._tenapi_body();
  // Its body past keyBytes, neither (the bytes are kept only up to 64 KiB, all of them then).
  if (body > fronted) return { key: null };
  const all = kept();
  return { key: new TextDecoder('latin1').decode(all.subarray(0, body)), bytes: fronted <= 2 ** 16 ? all : undefined };
}

// Compares the structure.txt `model` (a Blob or bytes) with each of `others`: the
// number of lines that differ in each, -1 where one is no structure.txt.
// Where `limit`, the one other's rows too, each side's lines cut to
// `limit` bytes as the heads of structure.txt are: [mark, model, other].
function compare({ model, others, limit }) {
  const read = (outline) => {
    source = outline instanceof Uint8Array ? { bytes: outline } : { file: outline };
    at = 0;
  };
  try {
    read(model);
    const taken = core.UTF8ToString(core._tenapi_take_model());
    if (taken !== 'outline') return { status: 'compared', model: taken };
    const rows = firstLines(6 * core._tenapi_lines(), limit || 1);
    heads = rows;
    parts = null;
    const changes = others.map((other) => (read(other), core._tenapi_compare(limit ? 1 : 0)));
    const fields = rows.lines;
    return { status: 'compared', changes, rows: limit ? Array.from({ length: fields.length / 3 }, (_, i) => fields.slice(3 * i, 3 * i + 3)) : undefined };
  } finally {
    source = null;
    parts = [];
    heads = null;
  }
}

onmessage = ({ data }) => {
  try {
    if (data.compare) return postMessage(compare(data.compare));
    run(data, (status) => {
      // A program cut off half-way, and a structure.txt read back, have their outline too.
      if (status === 'done' || status === 'cut-off' || status === 'outline') {
        // The Blob is made here, off the page's thread: hundreds of megabytes
        // take seconds. The page gets the lines it shows, cut to `limit` bytes.
        const made = core._tenapi_made();
        const lines = core._tenapi_lines();
        const constructs = Array.from({ length: core._tenapi_constructs() }, (_, c) => core._tenapi_construct(c));
        postMessage({ status, made, lines, memory: core.HEAPU8.length, constructs, ...sameness(),
          blob: new Blob(parts, { type: 'text/plain' }), heads: heads.lines.slice(0, Math.min(made, lines)) });
      } else {
        postMessage({ status, reread: status === 'not-read' && unreadable });
      }
    });
  } catch {
    // A trap, an abort (memory running out is "Aborted(OOM)") or a throw
    // here: the core's memory can no longer be trusted, so the page ends
    // this Worker. Before structure.txt is written, the file counts as one
    // that cannot be read, as in the console tool.
    postMessage({ status: writing ? 'too-large' : 'not-read', fresh: true });
  }
};
