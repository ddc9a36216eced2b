import assert from 'node:assert/strict';
import test from 'node:test';
import { load } from '../vm_scripts.mjs';

test('the class at a glance: groups of the same key, largest first; constructs by learner', () => {
  const classGlance = load(['class/glance.js'], 'classGlance');
  const keys = ['b', 'a', null, 'a', 'c', 'b', 'a', null, 'b', 'd', 'd'];
  const groups = classGlance.groups(keys.map((key, at) => ({ key, at })));
  assert.deepEqual([...groups].map((group) => [...group].map((e) => e.at)), [[0, 5, 8], [1, 3, 6], [9, 10]]);
  const used = classGlance.used([{ constructs: [1, 3, 0, 0, 0, 0, 0, 2] }, { constructs: [1, 0, 0, 0, 0, 0, 0, 1] }, { constructs: null }]);
  assert.equal(used, 'メイン 2 人、くりかえし 1 人、もし 0 人、まえへ 0 人、ひだりへ 0 人、みぎへ 0 人、たしざん 0 人、代入 2 人');
});
