import assert from 'node:assert/strict';
import test from 'node:test';
import zlib from 'node:zlib';
import { load } from '../vm_scripts.mjs';

// Counts the entries inflated, with zlib's raw inflate: Debian 12's Node has no 'deflate-raw' stream.
let inflations = 0;
class Counted extends TransformStream {
  constructor() { const parts = []; super({ transform: (c) => { parts.push(c); }, flush: (out) => out.enqueue(new Uint8Array(zlib.inflateRawSync(Buffer.concat(parts)))) }); inflations++; }
}
const scripts = ['page/text.js', 'class/zip.js'];
const zipRead = load(scripts, 'zipRead', { DecompressionStream: Counted });

// A zip of `files` ({ name: bytes, data, method, flags, size, crc, at: another's local }),
// with ZIP64 sizes, offsets and end record where `zip64`.
function build(files, zip64 = false) {
  const [u16, u32, u64] = [2, 4, 8].map((size) => (n) => Buffer.from(BigUint64Array.of(BigInt(n)).buffer, 0, size));
  const locals = [], central = [];
  let offset = 0;
  for (const f of files) {
    const method = f.method ?? 8;
    const packed = method === 8 ? zlib.deflateRawSync(f.data) : f.data;
    const [size, crc] = [f.size ?? f.data.length, f.crc ?? zipRead.crc32(f.data)];
    const head = [u16(20), u16(f.flags ?? 0), u16(method), u32(0), u32(crc), u32(packed.length), u32(size)];
    const local = f.at ?? offset;
    if (f.at === undefined) {
      locals.push(u32(0x04034b50), ...head, u16(f.name.length), u16(0), f.name, packed);
      offset += 30 + f.name.length + packed.length;
    }
    const extra = zip64 ? Buffer.concat([u16(1), u16(24), u64(size), u64(packed.length), u64(local)]) : Buffer.alloc(0);
    if (zip64) head.splice(5, 2, u32(0xffffffff), u32(0xffffffff));
    central.push(u32(0x02014b50), u16(20), ...head, u16(f.name.length), u16(extra.length), u16(0), u16(0), u16(0), u32(0),
      u32(zip64 ? 0xffffffff : local), f.name, extra);
  }
  const directory = Buffer.concat(central);
  const n = zip64 ? 0xffff : files.length;
  const tail = zip64 ? [u32(0x06064b50), u64(44), u16(45), u16(45), u32(0), u32(0), u64(files.length), u64(files.length),
    u64(directory.length), u64(offset), u32(0x07064b50), u32(0), u64(offset + directory.length), u32(1)] : [];
  return new Blob([...locals, directory, ...tail, u32(0x06054b50), u32(0), u16(n), u16(n), u32(directory.length), u32(offset), u16(0)]);
}
const program = Buffer.from('<block type="mevok_main" id="m">\n'.repeat(50));
const name = Buffer.from;

test('a zip\'s entries: read, or damaged and never inflated', async () => {
  const rows = [
    // [what, files, zip64, the paths read, the bytes of each (true: the program), inflations]
    ['deflated and stored, names in UTF-8 and Shift_JIS', [{ name: name('a.xml'), data: program },
      { name: Buffer.from([0x83, 0x5c, 0x95, 0x5c, 0x2e, 0x78, 0x6d, 0x6c]), data: program, method: 0 },
      { name: name('たろう.xml'), data: program, flags: 0x800 }], false, ['a.xml', 'ソ表.xml', 'たろう.xml'], [true, true, true], 1 + 0 + 1],
    ['ZIP64 sizes, offsets and end record', [{ name: name('a.xml'), data: program }, { name: name('b.xml'), data: program }],
      true, ['a.xml', 'b.xml'], [true, true], 2],
    ['two entries in one place', [{ name: name('a.xml'), data: program }, { name: name('b.xml'), data: program, at: 0 }],
      false, ['a.xml', 'b.xml'], [false, false], 0],
    ['more, less or other than declared', [{ name: name('more.xml'), data: program, size: 100 },
      { name: name('less.xml'), data: program, size: program.length + 1 }, { name: name('crc.xml'), data: program, crc: 1 }],
      false, ['more.xml', 'less.xml', 'crc.xml'], [false, false, false], 3],
    ['encrypted, another method, a bomb', [{ name: name('e.xml'), data: program, flags: 1 },
      { name: name('m.xml'), data: program, method: 12 }, { name: name('bomb.xml'), data: program, size: 2 ** 27 }],
      false, ['e.xml', 'm.xml', 'bomb.xml'], [false, false, false], 0],
  ];
  for (const [what, files, zip64, paths, good, inflated] of rows) {
    const blob = build(files, zip64);
    const entries = await zipRead.entries(blob);
    assert.deepEqual([...entries].map((e) => e.path), paths, what);
    inflations = 0;
    const got = await Promise.all(entries.map((e) => zipRead.inflate(blob, e)));
    assert.deepEqual(got.map((bytes) => !!bytes && Buffer.from(bytes).equals(program)), good, what);
    assert.equal(inflations, inflated, what);
  }
  // No end record, or a directory that runs past the file.
  assert.equal(await zipRead.entries(new Blob([program])), null);
  const cut = Buffer.from(await build([{ name: name('a.xml'), data: program }]).arrayBuffer());
  cut.writeUInt32LE(cut.length, cut.length - 6);
  assert.equal(await zipRead.entries(new Blob([cut])), null);
});

test('the zip Worker: programs and texts, what is hidden, and a cap on what is declared', async () => {
  const sent = [];
  const worker = load([...scripts, 'class/owners.js', 'class/unzip.js'], 'onmessage', { postMessage: (m) => sent.push(m), DecompressionStream: Counted });
  const files = ['folder/', '__MACOSX/a.xml', 'x/._a.xml', 'note.txt', 'x/a.xml', 'big1.xml', 'big2.xml'].map((path) =>
    ({ name: name(path), data: path.endsWith('/') ? Buffer.alloc(0) : program, size: path.startsWith('big') ? 600 * 2 ** 20 : undefined }));
  await worker({ data: { zip: build(files) } });
  assert.deepEqual(sent.map((m) => (m.entry ? `${m.entry.name} ${m.entry.state}` : m.end)),
    ['note.txt text', 'a.xml program', 'big1.xml damaged', 'big2.xml zip-large', true]);
  assert.ok(Buffer.from(sent[1].bytes).equals(program));
});
