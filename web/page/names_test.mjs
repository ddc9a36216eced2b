import assert from 'node:assert/strict';
import test from 'node:test';
import { load } from '../vm_scripts.mjs';

test('outline names: Windows-safe, short, a repeat in any case numbered', () => {
  const names = load(['page/names.js'], 'outlineNames');
  // NFD kana become NFC; a long name is cut at 100 characters, not inside a surrogate pair.
  assert.deepEqual([...names.of(['Taro.xml', 'taro.XML', 'x-2.xml', 'x.xml', 'x.xml', 'sub/a:b?.xml', 'x\u0001y.xml', 'con.xml',
    'com10.xml', '\u304b\u3099.xml', `${'𠮷'.repeat(101)}.xml`])], ['Taro.structure.txt', 'taro-2.structure.txt', 'x-2.structure.txt',
    'x.structure.txt', 'x-3.structure.txt', 'a_b_.structure.txt', 'x_y.structure.txt', '_con.structure.txt', 'com10.structure.txt',
    '\u304c.structure.txt', `${'𠮷'.repeat(100)}.structure.txt`]);
});
