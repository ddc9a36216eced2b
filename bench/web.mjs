// The browser edition's core under Node, on bytes in memory, read in the
// Worker's way: the median milliseconds of the whole analysis of a file.
// Usage: node --no-experimental-fetch bench/web.mjs CORE.js FILE [RUNS]
import fs from 'node:fs';
import { createRequire } from 'node:module';

const [core, file, runs = 11] = process.argv.slice(2);
const bytes = fs.readFileSync(file);
let at = 0;
const module = await createRequire(import.meta.url)(core)({
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
  if (module.UTF8ToString(module._tenapi_analyse()) !== 'done') throw new Error('the analysis failed');
  times.push(performance.now() - start);
}
times.sort((a, b) => a - b);
console.log(times[Math.floor(runs / 2)].toFixed(1));
