// Showing: each file's part of the page, in this order: its name (and when
// it was saved, where that is known), the sentence of what it gave and what
// to do, the control that saves it, and its first lines.
'use strict';
// Characters shown of a line at most, and the bytes that hold them.
const shownChars = 300;
const shownBytes = 4 * shownChars;

const failures = {
  'not-read': 'ファイルが開けませんでした。もう一度 えらびます。2回 出たら、先生を よびます。',
  'too-large': 'ファイルは よめましたが、structure.txt が 大きすぎて、この ページでは つくれません。',
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

// A file's part of the page, saying it is being read.
function place(into, file, chosen) {
  const view = document.createElement('section');
  const title = document.createElement('h2');
  title.textContent = file.name;
  const date = savedAt(file, chosen);
  if (date) {
    const small = document.createElement('small');
    small.textContent = date;
    title.append(small);
  }
  view.append(title);
  into.append(view);
  return { view, status: say(view, 'よみこみ中…') };
}

function failed(part, status) {
  part.status.textContent = failures[status] || failures['not-read'];
  part.status.className = 'error';
}

// The lines as the file holds them: UTF-8 where all of them are, else
// Shift_JIS. A cut line may end inside a character, which is left out.
function decode(lines) {
  const as = (encoding, fatal) => lines.map(([bytes, cut]) => {
    const text = new TextDecoder(encoding, { fatal }).decode(bytes, { stream: cut });
    if (!cut && text.length <= shownChars) return text;
    const end = /[\uD800-\uDBFF]/.test(text[shownChars - 1]) ? shownChars - 1 : shownChars;
    return `${text.slice(0, end)}…`;
  });
  try {
    return as('utf-8', true);
  } catch {
    return as('shift_jis', false);
  }
}

// What the file gave. An outline with no line is not offered: the sentence
// says what to do instead. Returns the save link, if there is one.
function shown(part, name, { made, lines, blob, heads }) {
  const { view, status } = part;
  if (made === 0) {
    status.textContent = 'アウトラインが できませんでした。てなぴで ほぞんした .xml を えらびなおします。';
    status.className = 'error';
    return null;
  }
  if (made > lines) {
    status.textContent = `アウトラインは ぜんぶで ${made} 行 できましたが、${name} には はじめの ${lines} 行だけが 入ります。`;
  } else if (made === lines) {
    status.textContent = `${name} は ${lines} 行で、ぜんぶ アウトラインの 行です。`;
  } else {
    status.textContent = `${name} は ${lines} 行です。はじめの ${made} 行が アウトラインで、${made + 1} 行目からは 空の 行です。`;
  }
  const link = document.createElement('a');
  link.className = 'save';
  link.textContent = `${name} をほぞん`;
  view.append(link);
  offer(link, blob, name);
  const list = document.createElement('ol');
  for (const text of decode(heads)) {
    const item = document.createElement('li');
    item.textContent = text;
    list.append(item);
  }
  view.append(list);
  return link;
}
