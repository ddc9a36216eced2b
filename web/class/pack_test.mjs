import assert from 'node:assert/strict';
import test from 'node:test';
import { load } from '../vm_scripts.mjs';

test('一覧.csv: a BOM, CR LF, quotes doubled, no cell a formula', () => {
  const classPack = load(['class/pack.js'], 'classPack');
  assert.equal(classPack.csv([['ファイル', '行'], ['=1+2.xml', 7], ['-x', '"a"\r\nb'], ['@y', '+z']]),
    '\uFEFF"ファイル","行"\r\n"\'=1+2.xml","7"\r\n"\'-x","""a""\r\nb"\r\n"\'@y","\'+z"\r\n');
  assert.equal(classPack.tsv([['番号', '名前'], [3, '=x\t\r\ny'], [-1, '']]), '番号\t名前\r\n3\t\'=x y\r\n-1\t\r\n');
  assert.equal(classPack.name(new Date(2026, 11, 9, 8, 5)), 'structure-20261209-0805.zip');
});
