import assert from 'node:assert/strict';
import test from 'node:test';
import { load } from '../vm_scripts.mjs';

test('outline names: Windows-safe, short, a repeat in any case numbered', () => {
  const names = load(['page/names.js'], 'outlineNames');
  const rows = [
    // [the programs' names, their outlines' names]
    [['Taro.xml', 'taro.XML', 'TARO.xml'], ['Taro.structure.txt', 'taro-2.structure.txt', 'TARO-3.structure.txt']],
    [['a:b?.xml', 'sub/c*d.xml', 'x\u0001y.xml'], ['a_b_.structure.txt', 'c_d.structure.txt', 'x_y.structure.txt']],
    [['con.xml', 'LPT1.xml', 'com10.xml'], ['_con.structure.txt', '_LPT1.structure.txt', 'com10.structure.txt']],
    // NFD kana become NFC; a long name is cut at 100 characters, not inside a surrogate pair.
    [['\u304b\u3099.xml', `${'𠮷'.repeat(101)}.xml`], ['\u304c.structure.txt', `${'𠮷'.repeat(100)}.structure.txt`]],
    [['x.xml', 'x-2.xml', 'x.xml'], ['x.structure.txt', 'x-2.structure.txt', 'x-3.structure.txt']],
  ];
  for (const [programs, outlines] of rows) assert.deepEqual([...names.of(programs)], outlines, programs.join(' '));
});
