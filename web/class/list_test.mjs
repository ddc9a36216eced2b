import assert from 'node:assert/strict';
import test from 'node:test';
import { load } from '../vm_scripts.mjs';

test('the class list: failures first, then natural order, each put in place; the missing numbers', () => {
  const classList = load(['class/list.js'], 'classList');
  const list = classList.make();
  const entry = (name, state = 'done') => ({ name, state });
  const ten = entry('10-はなこ.xml', 'waiting');
  assert.deepEqual([entry('2-たろう.xml'), ten, entry('1-じろう.xml'), entry('empty.xml', 'no-line'), entry('2-たろう.xml')].map(list.insert), [0, 1, 0, 0, 3]);
  ten.state = 'not-read';
  assert.deepEqual([list.remove(ten), list.insert(ten)], [4, 0]);
  assert.deepEqual([...list.entries].map((e) => e.name), ['10-はなこ.xml', 'empty.xml', '1-じろう.xml', '2-たろう.xml', '2-たろう.xml']);
  assert.deepEqual([...classList.missing([entry('１.xml'), entry('4 a.xml'), entry('x.xml')])], [2, 3]);
});
