import assert from 'node:assert/strict';
import test from 'node:test';
import { load } from '../vm_scripts.mjs';

// A Worker that does what the test says, when it says.
const workers = [];
class FakeWorker {
  constructor() { this.posted = []; workers.push(this); }
  postMessage(message) { this.posted.push(structuredClone(message)); }
  terminate() { this.ended = true; }
  say(data) { this.onmessage({ data }); }
}

test('the runner hears only the Worker in use', async () => {
  const makeRunner = load(['page/runner.js'], 'makeRunner', { Worker: FakeWorker });
  let readies = 0;
  const runner = makeRunner('core', { limit: 9, ready: () => readies++, broken: () => assert.fail('broken') });
  runner.start();
  const results = ['a', 'b', 'c', 'd'].map((file) => runner.add(file, () => {}, 'learner'));
  const [first] = workers;
  first.say({ ready: true });
  assert.deepEqual(first.posted, [{ file: 'a', limit: 9 }]);
  // A failure that leaves the core unsound: the next file gets a fresh Worker.
  first.say({ status: 'too-large', fresh: true });
  assert.equal(first.ended, true);
  // The first one's late events change nothing: not its error, nor a message.
  first.onerror({ preventDefault() {} });
  first.say({ status: 'done' });
  first.onmessageerror();
  workers[1].say({ ready: true });
  assert.deepEqual(workers[1].posted, [{ file: 'b', limit: 9 }]);
  // A message that cannot be read fails its file, in a fresh Worker next.
  workers[1].onmessageerror();
  workers[2].say({ ready: true });
  workers[2].say({ status: 'done', made: 3 });
  assert.deepEqual(workers[2].posted, [{ file: 'c', limit: 9 }, { file: 'd', limit: 9 }]);
  // Clearing drops the file in the Worker, which ends.
  runner.clear('learner');
  assert.deepEqual((await Promise.all(results)).map((r) => r.status), ['too-large', 'not-read', 'done', 'dropped']);
  assert.equal(workers[2].ended, true);
  assert.equal(readies, 3);
});
