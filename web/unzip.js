// Reading a zip of programs (a Drive or Classroom folder's download): its
// central directory read here, by index, so that repeated names and names
// such as __proto__ stay apart; each entry inflated by fflate one at a
// time, its declared size checked before and its length and CRC-32 after.
'use strict';
// The zip is read whole; an entry is inflated into memory of its declared size.
const zipLimit = 512 * 2 ** 20;
const entryLimit = 256 * 2 ** 20;

const crcTable = Array.from({ length: 256 }, (_, byte) => {
  let c = byte;
  for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c >>> 0;
});
// The CRC-32 of `bytes`, going on from that of the bytes before them.
function crc32(bytes, crc = 0) {
  let c = ~crc;
  for (let i = 0; i < bytes.length; i++) c = crcTable[(c ^ bytes[i]) & 255] ^ (c >>> 8);
  return ~c >>> 0;
}

// A name marked as UTF-8 is UTF-8; an unmarked one is UTF-8 where its bytes
// are (Info-ZIP, macOS), else Shift_JIS (Windows Explorer and older tools).
function entryName(bytes, flags) {
  if (flags & 0x800) return new TextDecoder().decode(bytes);
  try {
    return new TextDecoder('utf-8', { fatal: true }).decode(bytes);
  } catch {
    return new TextDecoder('shift_jis').decode(bytes);
  }
}

// The entries of the zip in `bytes`, in the directory's order, or null if
// it has no directory that can be read.
function zipEntries(bytes) {
  const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  // The end record is the last 22 bytes but for a comment of at most 65,535.
  const first = Math.max(0, bytes.length - 22 - 65535);
  let end = bytes.length - 22;
  while (end >= first && view.getUint32(end, true) !== 0x06054b50) end--;
  if (end < first) return null;
  const entries = [];
  for (let i = 0, at = view.getUint32(end + 16, true); i < view.getUint16(end + 10, true); i++) {
    if (at + 46 > end || view.getUint32(at, true) !== 0x02014b50) return null;
    const length = view.getUint16(at + 28, true);
    const flags = view.getUint16(at + 8, true);
    entries.push({ name: entryName(bytes.subarray(at + 46, at + 46 + length), flags), flags, method: view.getUint16(at + 10, true), crc: view.getUint32(at + 16, true),
      packed: view.getUint32(at + 20, true), size: view.getUint32(at + 24, true), local: view.getUint32(at + 42, true) });
    at += 46 + length + view.getUint16(at + 30, true) + view.getUint16(at + 32, true);
  }
  return entries;
}

// The bytes of `entry`, or null where it is damaged, encrypted, of another
// method, larger than it may be, or not what its directory says.
function inflated(bytes, entry) {
  const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  const { local, packed, size, method } = entry;
  if (entry.flags & 1 || size > entryLimit || local + 30 > bytes.length || view.getUint32(local, true) !== 0x04034b50) return null;
  const start = local + 30 + view.getUint16(local + 26, true) + view.getUint16(local + 28, true);
  if (start + packed > bytes.length) return null;
  const data = bytes.subarray(start, start + packed);
  let out = null;
  if (method === 0) out = data;
  // Deflate makes at most 1,032 bytes of each byte.
  else if (method === 8 && size <= 1032 * packed) {
    try {
      out = fflate.inflateSync(data, { out: new Uint8Array(size + 1) });
    } catch {
      return null;
    }
  }
  return out && out.length === size && crc32(out) === entry.crc ? out : null;
}
