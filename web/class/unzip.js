// The class view's zip Worker, after zip.js and owners.js: takes one zip
// (a File) and sends back what it holds, an entry at a time, in the
// directory's order: { entry: { path, name, time, size, crc, state },
// bytes } where state is the entry's kind ('program' or 'text', with its
// bytes; 'skipped'), 'damaged' or 'zip-large'; what is hidden is left out.
// Then { end: true }, or { failed: 'damaged' | 'not-read' } for the zip.
// Inflating here keeps the page's thread free however large an entry is.
'use strict';
// The declared sizes of a zip's programs together, at most: a zip of a few
// hundred kilobytes can declare terabytes.
const declaredLimit = 2 ** 30;

onmessage = async ({ data: { zip } }) => {
  let entries;
  try {
    entries = await zipRead.entries(zip);
  } catch {
    return postMessage({ failed: 'not-read' });
  }
  if (!entries) return postMessage({ failed: 'damaged' });
  let declared = 0;
  for (const entry of entries) {
    const kind = classOwners.kind(entry.path);
    if (kind === 'hidden') continue;
    const found = { path: entry.path, name: entry.path.replace(/^.*[\\/]/, ''), time: entry.time, size: entry.size, crc: entry.crc, state: kind };
    let bytes = null;
    if (kind === 'skipped') {
      // Listed as it is.
    } else if ((declared += entry.size) > declaredLimit) found.state = 'zip-large';
    else {
      try {
        bytes = await zipRead.inflate(zip, entry);
      } catch {
        return postMessage({ failed: 'not-read' });
      }
      if (!bytes) found.state = 'damaged';
    }
    postMessage({ entry: found, bytes }, bytes ? [bytes.buffer] : []);
  }
  postMessage({ end: true });
};
