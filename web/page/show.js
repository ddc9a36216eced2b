// Showing: each file's part of the page, in this order: its name (and when
// it was saved, where that is known), the sentence of what it gave and what
// to do, the control that saves it, and its first lines.
'use strict';
const show = (() => {
  // Characters shown of a line at most, and the bytes that hold them.
  const shownChars = 300;
  const failures = {
    'not-read': 'ファイルが開けませんでした。もう一度 えらびます。2回 出たら、先生を よびます。',
    'too-large': 'ファイルは よめましたが、structure.txt が 大きすぎて、この ページでは つくれません。',
    // An outline with no line is not offered: the sentence says what to do instead.
    'no-line': 'アウトラインが できませんでした。てなぴで ほぞんした .xml を えらびなおします。',
  };

  function say(view, text, kind) {
    const p = document.createElement('p');
    p.textContent = text;
    if (kind) p.className = kind;
    view.append(p);
    return p;
  }

  // When the file was saved, in a child's words, if that is more than a
  // minute before it was chosen: a browser that knows no date gives the
  // moment of choosing, and then nothing is said.
  function savedAt(file, chosen) {
    if (!(chosen - file.lastModified > 60000)) return '';
    const at = new Date(file.lastModified);
    return `${at.getMonth() + 1}月${at.getDate()}日 ${at.getHours()}:${String(at.getMinutes()).padStart(2, '0')} に ほぞんした ファイル`;
  }

  // The lines as shown, at most shownChars characters each.
  const lines = (heads) => bytesText.decode(heads).map((text, i) => {
    if (!heads[i][1] && text.length <= shownChars) return text;
    const end = /[\uD800-\uDBFF]/.test(text[shownChars - 1]) ? shownChars - 1 : shownChars;
    return `${text.slice(0, end)}…`;
  });

  return {
    shownBytes: 4 * shownChars,
    lines,
    // A file's part of the page, saying it is being read; marked where it
    // is the newest of several, flagged where it was saved before today on
    // this device's clock (a picker that gives no date gives 0 or now).
    place(into, file, chosen, newest) {
      const view = document.createElement('section');
      const title = document.createElement('h2');
      title.textContent = file.name;
      if (newest) {
        const mark = document.createElement('strong');
        mark.className = 'newest';
        mark.textContent = '★ いちばん 新しい ファイル';
        title.prepend(mark);
      }
      const date = savedAt(file, chosen);
      if (date) {
        const small = document.createElement('small');
        small.textContent = date;
        title.append(small);
      }
      view.append(title);
      into.append(view);
      const status = say(view, 'よみこみ中…');
      const saved = new Date(file.lastModified);
      if (file.lastModified > 0 && learnerNumber.day(saved) !== learnerNumber.day(new Date(chosen)) && file.lastModified < chosen) {
        say(view, `⚠ きょう ほぞんした ファイルでは ありません（${saved.getMonth() + 1}月${saved.getDate()}日）。あたらしい ファイルを えらびなおす ときは、もう一度 「ファイルをえらぶ」を おします。`, 'old-file');
      }
      return { view, status };
    },
    failed(part, status) {
      part.status.textContent = failures[status] || failures['not-read'];
      part.status.className = 'error';
    },
    // What a file saved as `name` holds: `made` outline lines in `count`,
    // said in its part's sentence.
    sentence(name, made, count) {
      if (made > count) return `アウトラインは ぜんぶで ${made} 行 できましたが、${name} には はじめの ${count} 行だけが 入ります。`;
      if (made === count) return `${name} は ${count} 行で、ぜんぶ アウトラインの 行です。`;
      return `${name} は ${count} 行です。はじめの ${made} 行が アウトラインで、${made + 1} 行目からは 空の 行です。`;
    },
    // What the file gave: its lines, and the link that saves it, which it
    // returns for the page to name (sentence).
    shown(part, { status: how, heads }) {
      const { view } = part;
      // A program cut off half-way still gives what it holds.
      if (how === 'cut-off') say(view, 'この ファイルは とちゅうで 切れて います。てなぴで もう一度 ほぞんして から、えらびなおします。', 'error');
      const link = document.createElement('a');
      link.className = 'save';
      view.append(link);
      const list = document.createElement('ol');
      for (const text of lines(heads)) {
        const item = document.createElement('li');
        item.textContent = text;
        list.append(item);
      }
      view.append(list);
      return link;
    },
  };
})();
