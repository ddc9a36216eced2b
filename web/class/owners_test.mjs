import assert from 'node:assert/strict';
import test from 'node:test';
import { load } from '../vm_scripts.mjs';

const owners = load(['class/owners.js'], 'classOwners');

test('the owner of a hand-in, from its path and the roster', () => {
  const names = [...owners.parse('山田 花子\n林\n小林\n\n５\t田中')];
  assert.deepEqual(names, ['山田 花子', '林', '小林', '', '田中']);
  const rows = [
    // [path, the learner's number, or the start of why there is none]
    ['03 山田花子.xml', 3], ['３番.xml', 3], ['No.5_square.xml', 5], ['№2.xml', 2], ['4-たろう.xml', 4], ['31 高橋/square.xml', '番号 31 は'],
    ['6年1組/03 山田.xml', 3], ['07-structure (1).txt', '番号 7 は'], ['2026-12-08 square.xml', '番号も'], ['20261208 square.xml', '番号も'],
    ['12-08 square.xml', '番号も'], ['3.5 square.xml', '番号も'], ['x/Version 2/square.xml', '番号も'], ['square (2).xml', '番号も'],
    ['山田 花子 - square.xml', 1], ['Submitted files/山田　花子/四角/Version 2/square.xml', 1], ['小林 - 20261208 - 四角.xml', 3],
    ['1 a/2 b.xml', '番号が 2 つ'], ['0.xml', '番号が 0'],
  ];
  for (const [path, want] of rows) {
    const got = owners.of(path, 5, names);
    assert.ok(typeof want === 'number' ? got.number === want : got.why.startsWith(want), `${path}: ${JSON.stringify(got)}`);
  }
  // Without a roster, any number of two digits; two names of one length are no one's.
  assert.equal(owners.of('31 高橋/square.xml', 0, []).number, 31);
  assert.ok(owners.of('山田 林田.xml', 0, ['山田', '林田', '林']).why.startsWith('名前が 2 人'));
  assert.deepEqual(['a/desktop.ini', 'x/__MACOSX/a.xml', '._a.xml', 'a.XML', 'b.txt', 'c.pdf'].map((p) => owners.kind(p)),
    ['hidden', 'hidden', 'hidden', 'program', 'text', 'skipped']);
});

test('the newest hand-in: the highest Version, the latest date, the later go and place', () => {
  const handIn = (path, date, go, place) => ({ path, version: owners.version(path), date, go, place });
  const all = [handIn('a/Version 2/x.xml', 1, 1, 0), handIn('a/Version 10/x.xml', 0, 1, 1), handIn('x.xml', 5, 1, 2),
    handIn('x.xml', 5, 2, 0), handIn('x.xml', 5, 2, 1), handIn('x.xml', 9, 1, 3)];
  assert.deepEqual([...owners.newest(all)].map((h) => all.indexOf(h)), [1, 0, 5, 4, 3, 2]);
});
