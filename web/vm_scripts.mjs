// Runs the page's classic scripts (paths from web/) in one fresh context
// with `globals`, as a browser runs them in one page: the value of `name`.
import fs from 'node:fs';
import vm from 'node:vm';

export function load(files, name, globals = {}) {
  const context = vm.createContext({ TextDecoder, TextEncoder, Blob, Uint8Array, DecompressionStream, Intl, ...globals });
  for (const file of files) vm.runInContext(fs.readFileSync(new URL(file, import.meta.url), 'utf8'), context, { filename: file });
  return vm.runInContext(name, context);
}
