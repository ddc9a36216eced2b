// What the class view saves: one zip of the outlines and the list as
// 一覧.csv, which Excel on a Japanese Windows opens as it is (UTF-8 with a
// BOM, CR LF), its cells unable to run as formulas.
'use strict';
const classPack = {
  // The CSV of `rows` (arrays of texts and numbers), header first.
  csv(rows) {
    const cell = (text) => `"${classPack.inert(text).replace(/"/g, '""')}"`;
    return `\uFEFF${rows.map((row) => row.map(cell).join(',')).join('\r\n')}\r\n`;
  },

  // The same rows as tab-separated text, as a spreadsheet takes it pasted:
  // a tab or line end in a text is a blank.
  tsv(rows) {
    return rows.map((row) => row.map((text) => classPack.inert(text).replace(/[\t\r\n]+/g, ' ')).join('\t')).join('\r\n') + '\r\n';
  },

  // A text that no spreadsheet runs as a formula; a number as it is.
  inert(text) {
    return typeof text === 'number' ? String(text) : String(text).replace(/^[=+\-@]/, "'$&");
  },

  // The zip of `files` ({ name, input }), all dated `now`, as a Blob.
  async zip(files, now) {
    const zip = await downloadZip(files.map(({ name, input }) => ({ name, lastModified: now, input }))).blob();
    return new Blob([zip], { type: 'application/zip' });
  },

  // The zip's name, for the day and minute it was made.
  name(now) {
    const pad = (n) => String(n).padStart(2, '0');
    return `structure-${now.getFullYear()}${pad(now.getMonth() + 1)}${pad(now.getDate())}-${pad(now.getHours())}${pad(now.getMinutes())}.zip`;
  },
};
