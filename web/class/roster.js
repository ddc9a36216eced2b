// The class's roster on the page: its size (1 to 45) and, if the teacher
// wishes, its names, pasted a name a line or as two columns (番号, 名前).
// Kept on this device only in the site and only when the teacher ticks the
// box; the one-file page never keeps it (under file:// every local page
// shares one storage). Nothing leaves the device.
'use strict';
const classRoster = {
  // Wires the roster's controls; `changed` hears each change. The roster
  // is { size, names, kept }, kept where this device keeps it.
  start(site, changed) {
    const $ = (id) => document.getElementById(id);
    const key = 'tenapi-roster';
    const roster = { size: 0, names: [], kept: false };
    const read = (tell = true) => {
      const size = Number($('roster-size').value.normalize('NFKC'));
      roster.size = Number.isInteger(size) && size >= 1 && size <= 45 ? size : 0;
      roster.names = classOwners.parse($('roster-names').value).slice(0, roster.size || 45);
      roster.kept = site && $('roster-keep').checked;
      $('roster-error').textContent = $('roster-size').value.trim() && !roster.size ? '人数は 1 から 45 までの 数で 入れてください。' : '';
      if (site && $('roster-keep').checked) localStorage.setItem(key, JSON.stringify({ size: $('roster-size').value, names: $('roster-names').value }));
      if (tell) changed();
    };
    // Only the site offers to keep it.
    $('roster-keep').parentElement.parentElement.hidden = !site;
    $('roster-where').textContent = site ? 'ここに 入れた 名簿は、「この端末に おぼえておく」に チェックした ときだけ、この端末に 残ります。どこにも 送りません。'
      : 'この 1 ファイルのページは 名簿を 残しません（ページを 閉じると 消えます）。どこにも 送りません。';
    try {
      const kept = site && JSON.parse(localStorage.getItem(key) || 'null');
      if (kept) {
        $('roster-size').value = kept.size;
        $('roster-names').value = kept.names;
        $('roster-keep').checked = true;
      }
    } catch {
      // Nothing kept that can be read: the roster starts empty.
    }
    $('roster-size').oninput = () => read();
    $('roster-names').oninput = () => read();
    $('roster-keep').onchange = () => {
      if (!$('roster-keep').checked) localStorage.removeItem(key);
      read();
    };
    $('roster-forget').onclick = () => {
      localStorage.removeItem(key);
      $('roster-keep').checked = false;
      $('roster-size').value = '';
      $('roster-names').value = '';
      read();
    };
    read(false);
    return roster;
  },
};
