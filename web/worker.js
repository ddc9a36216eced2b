// The page's Worker, after the core: analyses one file at a time. A File is
// read in slices as the core asks for them, bytes from the page from
// memory. Sends back the bytes of structure.txt, or the core's status.
'use strict';
let source = null;
let at = 0;
let shown = 0;
const ready = tenapiCore({
  // The core's read_input: up to `size` bytes at `buffer`, 0 at the end, -1
  // when the file cannot be read.
  readInput(buffer, size) {
    const total = source.bytes ? source.bytes.length : source.file.size;
    const n = Math.min(size, total - at);
    // A File removed before it was read looks empty here, without an error:
    // the page reads an empty File whole to tell.
    if (n <= 0) return source.file && total === 0 ? -1 : 0;
    let slice;
    try {
      slice = source.bytes ? source.bytes.subarray(at, at + n)
        : new Uint8Array(new FileReaderSync().readAsArrayBuffer(source.file.slice(at, at + n)));
    } catch {
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
});
ready.then(() => postMessage({ ready: true }), () => postMessage({ broken: true }));

onmessage = async ({ data }) => {
  const core = await ready;
  source = data;
  at = 0;
  shown = Date.now();
  const status = core._tenapi_analyse();
  source = null;
  if (status !== 0) return postMessage({ status });
  const start = core._tenapi_bytes();
  const bytes = core.HEAPU8.slice(start, start + core._tenapi_size());
  postMessage({ status, made: core._tenapi_made(), memory: core.HEAPU8.length, bytes }, [bytes.buffer]);
};
