// Whose hand-in a file is, from its whole path (inside a zip: its folders,
// then its name) and the class's roster, and which of a learner's hand-ins
// is the newest. The ways schools collect decide the rules: a 出席番号 at
// the start of a name (「03 山田花子.xml」, 「31 高橋/square.xml」), else a
// learner's name anywhere in the path (Teams' 「Submitted files/山田 花子/…」,
// Schoolwork's 「山田 花子 - 20261208 - 四角.xml」).
'use strict';
const classOwners = (() => {
  // One or two digits, with or without No. (№ is No after NFKC), at the
  // start of a name, not followed by another digit, by a word of a date or
  // a class (6年, 1組, 12月, 3回, 2学期), a colon, or a separator and a digit
  // (2026-12-08, 12-08, 3.5).
  const numbered = /^(?:no\.?\s*)?(\d{1,2})(?!\d|\s*[年組月日回学期:]|[\s\-_.・,、]+\d)/i;
  const flat = (text) => text.normalize('NFKC').replace(/\s+/g, '');

  return {
    // What a file is to the class view, by its path: 'hidden' (a folder,
    // or what Windows and macOS add: desktop.ini, Thumbs.db, .DS_Store,
    // __MACOSX/, ._*), left out without a word; a 'program'; a 'text',
    // which may be a learner's structure.txt; else 'skipped'.
    kind(path) {
      const name = path.replace(/^.*[\\/]/, '');
      if (!name || /(^|[\\/])__MACOSX[\\/]/.test(path) || name.startsWith('._') || /^(desktop\.ini|thumbs\.db|\.ds_store)$/i.test(name)) return 'hidden';
      return /\.xml$/i.test(name) ? 'program' : /\.txt$/i.test(name) ? 'text' : 'skipped';
    },

    // The segments of `path`, nearest first: the file's name without its
    // extension, then each folder upward.
    segments(path) {
      const parts = path.split(/[\\/]/).filter(Boolean);
      if (parts.length) parts[parts.length - 1] = parts[parts.length - 1].replace(/\.[^.]*$/, '');
      return parts.reverse();
    },

    // The owner of `path`: { number } or { why } (a sentence), where
    // `size` is the class's size (0: not given) and `names` its names by
    // 出席番号 (names[0] is learner 1's; empty where not given).
    of(path, size, names) {
      const segments = this.segments(path);
      const numbers = new Set();
      for (const segment of segments) {
        const found = numbered.exec(segment.normalize('NFKC').trim());
        if (found) numbers.add(Number(found[1]));
      }
      if (numbers.size > 1) return { why: `番号が 2 つ あります（${[...numbers].join('、')}）` };
      if (numbers.size === 1) {
        const [number] = numbers;
        if (number === 0) return { why: '番号が 0 です' };
        if (size && number > size) return { why: `番号 ${number} は クラスの 人数（${size} 人）より 大きい` };
        return { number };
      }
      // Else the longest of the roster's names found in a segment.
      const haystack = segments.map(flat);
      let best = [];
      names.forEach((name, i) => {
        const key = flat(name || '');
        if (!key || !haystack.some((segment) => segment.includes(key))) return;
        if (!best.length || key.length > flat(names[best[0] - 1]).length) best = [i + 1];
        else if (key.length === flat(names[best[0] - 1]).length) best.push(i + 1);
      });
      if (best.length > 1) return { why: `名前が 2 人に 合います（${best.map((n) => names[n - 1]).join('、')}）` };
      if (best.length === 1) return { number: best[0] };
      return { why: '番号も 名前も ありません' };
    },

    // Teams keeps each hand-in in 「Version N」: N, or 0.
    version(path) {
      const found = /(?:^|[\\/])version\s*(\d+)(?:[\\/]|$)/i.exec(path.normalize('NFKC'));
      return found ? Number(found[1]) : 0;
    },

    // The hand-ins ({ version, date, go, place }) newest first: the highest
    // Version, then the latest date, the later go, the later place.
    newest(handIns) {
      return [...handIns].sort((a, b) => b.version - a.version || b.date - a.date || b.go - a.go || b.place - a.place);
    },

    // The roster pasted from a list or a spreadsheet: a name a line in
    // 出席番号 order, or two columns (番号, 名前). Names by 出席番号.
    parse(text) {
      const names = [];
      text.replace(/\s+$/, '').split(/\r?\n/).forEach((line, i) => {
        const columns = /^\s*(\d{1,2})\s*[\t,]\s*(.*)$/.exec(line.normalize('NFKC'));
        if (columns) names[Number(columns[1]) - 1] = columns[2].trim();
        else names[i] = line.trim();
      });
      return Array.from(names, (name) => name || '');
    },
  };
})();
