// Reading a zip of programs (a Drive or Classroom folder's download) from a
// Blob, a slice at a time, never the whole of it: the central directory
// (ZIP64's too) read by index, so that repeated names and names such as
// __proto__ stay apart; each entry inflated by the browser's own
// DecompressionStream, read to its declared size and one byte more, then
// its length and CRC-32 compared. Entries whose data overlap another's are
// damaged: they are never inflated twice.
'use strict';
const zipRead = (() => {
  // An entry is inflated into memory of its declared size.
  const entryLimit = 256 * 2 ** 20;
  const crcTable = Array.from({ length: 256 }, (_, byte) => {
    let c = byte;
    for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
    return c >>> 0;
  });
  const read = async (blob, from, to) => new DataView(await blob.slice(from, to).arrayBuffer());
  // A 64-bit little-endian number, exact up to 2^53.
  const u64 = (view, at) => view.getUint32(at, true) + view.getUint32(at + 4, true) * 2 ** 32;

  // From the extra fields: ZIP64's (0x0001) in place of the fields marked
  // 0xFFFFFFFF, in their order (the size, the packed size, the offset),
  // and the time in UTC (0x5455) where the zip has it. False where ZIP64's
  // are missing.
  function extras(view, at, end, entry) {
    for (let field = at; field + 4 <= end; field += 4 + view.getUint16(field + 2, true)) {
      if (view.getUint16(field, true) === 0x5455 && view.getUint16(field + 2, true) >= 5 && view.getUint8(field + 4) & 1) {
        entry.time = view.getUint32(field + 5, true) * 1000;
      }
      if (view.getUint16(field, true) !== 1) continue;
      let next = field + 4;
      for (const key of ['size', 'packed', 'local']) {
        if (entry[key] !== 0xffffffff) continue;
        if (next + 8 > field + 4 + view.getUint16(field + 2, true)) return false;
        entry[key] = u64(view, next);
        next += 8;
      }
    }
    return entry.size !== 0xffffffff && entry.packed !== 0xffffffff && entry.local !== 0xffffffff;
  }

  // The CRC-32 of `bytes`, going on from that of the bytes before them.
  function crc32(bytes, crc = 0) {
    let c = ~crc;
    for (let i = 0; i < bytes.length; i++) c = crcTable[(c ^ bytes[i]) & 255] ^ (c >>> 8);
    return ~c >>> 0;
  }

  return {
    crc32,

    // The entries of the zip in `blob`, in the directory's order: { path,
    // time, flags, method, crc, packed, size, local, overlap }, or null if it has
    // no directory that can be read. Rejects where the Blob cannot be read.
    async entries(blob) {
      // The end record is the last 22 bytes but for a comment of at most
      // 65,535, with ZIP64's locator of 20 bytes before it.
      const from = Math.max(0, blob.size - 22 - 65535 - 20);
      const tail = await read(blob, from, blob.size);
      let end = tail.byteLength - 22;
      while (end >= 0 && tail.getUint32(end, true) !== 0x06054b50) end--;
      if (end < 0) return null;
      let count = tail.getUint16(end + 10, true);
      let size = tail.getUint32(end + 12, true);
      let offset = tail.getUint32(end + 16, true);
      if (end >= 20 && tail.getUint32(end - 20, true) === 0x07064b50) {
        const at = u64(tail, end - 12);
        const record = at + 56 <= blob.size ? await read(blob, at, at + 56) : null;
        if (!record || record.getUint32(0, true) !== 0x06064b50) return null;
        [count, size, offset] = [u64(record, 32), u64(record, 40), u64(record, 48)];
      }
      if (offset + size > blob.size || count * 46 > size) return null;
      const directory = await read(blob, offset, offset + size);
      const entries = [];
      for (let i = 0, at = 0; i < count; i++) {
        if (at + 46 > size || directory.getUint32(at, true) !== 0x02014b50) return null;
        const length = directory.getUint16(at + 28, true);
        const extra = at + 46 + length;
        const next = extra + directory.getUint16(at + 30, true) + directory.getUint16(at + 32, true);
        if (next > size) return null;
        const flags = directory.getUint16(at + 8, true);
        const bytes = new Uint8Array(directory.buffer, at + 46, length);
        // A name marked as UTF-8 is UTF-8; an unmarked one is UTF-8 where its
        // bytes are (Info-ZIP, macOS), else Shift_JIS (Windows Explorer).
        const path = flags & 0x800 ? new TextDecoder().decode(bytes) : bytesText.decode([[bytes]])[0];
        // The DOS time, in the local time of the machine that made the zip.
        const [time, date] = [directory.getUint16(at + 12, true), directory.getUint16(at + 14, true)];
        const dos = new Date(1980 + (date >> 9), ((date >> 5) & 15) - 1, date & 31, time >> 11, (time >> 5) & 63, (time & 31) * 2).getTime();
        const entry = { path, time: dos, flags, method: directory.getUint16(at + 10, true), crc: directory.getUint32(at + 16, true),
          packed: directory.getUint32(at + 20, true), size: directory.getUint32(at + 24, true), local: directory.getUint32(at + 42, true), overlap: false };
        if (!extras(directory, extra, extra + directory.getUint16(at + 30, true), entry)) return null;
        entries.push(entry);
        at = next;
      }
      // Each entry's data, its local header at least, must end before the
      // next one's starts.
      const byPlace = [...entries].sort((a, b) => a.local - b.local);
      for (let i = 1; i < byPlace.length; i++) {
        const [prior, entry] = [byPlace[i - 1], byPlace[i]];
        if (entry.local < prior.local + 30 + prior.packed) prior.overlap = entry.overlap = true;
      }
      return entries;
    },

    // The bytes of `entry`, or null where it is damaged, encrypted, of
    // another method, larger than it may be, or not what its directory
    // says. Rejects where the Blob cannot be read.
    async inflate(blob, entry) {
      const { local, packed, size, method } = entry;
      if (entry.flags & 1 || entry.overlap || size > entryLimit || local + 30 > blob.size) return null;
      const head = await read(blob, local, local + 30);
      if (head.getUint32(0, true) !== 0x04034b50) return null;
      const start = local + 30 + head.getUint16(26, true) + head.getUint16(28, true);
      if (start + packed > blob.size) return null;
      // Deflate makes at most 1,032 bytes of each byte.
      if (!(method === 0 || (method === 8 && size <= 1032 * packed + 8))) return null;
      let stream = blob.slice(start, start + packed).stream();
      if (method === 8) stream = stream.pipeThrough(new DecompressionStream('deflate-raw'));
      const reader = stream.getReader();
      const out = new Uint8Array(size);
      let length = 0;
      try {
        for (;;) {
          const { done, value } = await reader.read();
          if (done) break;
          if (length + value.length > size) {
            // More than declared: the rest is never inflated.
            await reader.cancel().catch(() => {});
            return null;
          }
          out.set(value, length);
          length += value.length;
        }
      } catch {
        return null;
      }
      return length === size && crc32(out) === entry.crc ? out : null;
    },
  };
})();
