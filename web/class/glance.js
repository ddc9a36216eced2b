// The class at a glance, its books kept apart from the page: the outlines
// that are the same, grouped, and how many learners used each construct.
'use strict';
const classGlance = {
  // The constructs in the core's order: a word for the teacher, and the
  // form of their lines.
  constructs: [['メイン', 'int main() {'], ['くりかえし', 'while() {'], ['もし', 'if(… = …) {'], ['まえへ', 'forward = …'],
    ['ひだりへ', 'leftturn = …'], ['みぎへ', 'rightturn = …'], ['たしざん', 'action = action + 1'], ['代入', '… = …']],

  // The entries ({ key }) whose outlines are the same, a group of two or
  // more for each key (null is none), the largest first, then in the order
  // of their first entries.
  groups(entries) {
    const byKey = new Map();
    for (const entry of entries) {
      if (entry.key === null || entry.key === undefined) continue;
      if (!byKey.has(entry.key)) byKey.set(entry.key, []);
      byKey.get(entry.key).push(entry);
    }
    return [...byKey.values()].filter((group) => group.length > 1).sort((a, b) => b.length - a.length);
  },

  // How many of `entries` ({ constructs }, none where there is no outline)
  // use each construct, in a sentence: 「くりかえし 28 人、もし 9 人」.
  used(entries) {
    const counts = this.constructs.map((_, c) => entries.filter((e) => e.constructs && e.constructs[c] > 0).length);
    return this.constructs.map(([word], c) => `${word} ${counts[c]} 人`).join('、');
  },
};
