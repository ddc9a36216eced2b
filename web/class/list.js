// The class view's list, in its order: failures first, then the names in
// natural order (2 before 10), the Japanese way. An entry is put in its
// place by a binary search, so that a class of a thousand files costs a
// search a file, never a sort of the whole list.
'use strict';
const classList = {
  // A list of entries ({ name, state }), empty.
  make() {
    const entries = [];
    // Made when first needed: a collator for Japanese takes tens of ms.
    let collator = null;
    const failed = (entry) => (entry.state === 'done' || entry.state === 'waiting' ? 1 : 0);
    const before = (a, b) => failed(a) - failed(b) || (collator ??= new Intl.Collator('ja', { numeric: true })).compare(a.name, b.name);
    return {
      entries,
      // Puts `entry` in its place (after those equal to it): its index.
      insert(entry) {
        let low = 0;
        let high = entries.length;
        while (low < high) {
          const middle = (low + high) >>> 1;
          if (before(entry, entries[middle]) < 0) high = middle;
          else low = middle + 1;
        }
        entries.splice(low, 0, entry);
        return low;
      },
      // Takes `entry` out: the index it had.
      remove(entry) {
        const at = entries.indexOf(entry);
        entries.splice(at, 1);
        return at;
      },
    };
  },

  // The 出席番号 missing from 1 to the highest at the start of a name.
  missing(entries) {
    const numbers = new Set(entries.map((entry) => Number((/^\d+/.exec(entry.name.normalize('NFKC')) || [])[0])).filter((n) => n > 0));
    const highest = Math.max(0, ...numbers);
    if (numbers.size < 2 || highest > 99) return [];
    return Array.from({ length: highest }, (_, i) => i + 1).filter((n) => !numbers.has(n));
  },
};
