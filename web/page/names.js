// The names that outlines are saved under, one that Windows can create and
// unpack: after the program (12-たろう.xml: 12-たろう.structure.txt), NFC,
// its forbidden characters as _, a reserved device name prefixed with _,
// cut to 100 characters, so that a path under a Downloads folder stays
// short. A repeat, in any case, gets a number: taro-2.structure.txt.
'use strict';
const outlineNames = {
  // `base` as a Windows-safe name, cut to 100 characters.
  safe(base) {
    base = [...base.normalize('NFC').replace(/[\\/:*?"<>|\u0000-\u001f\u007f]/g, '_')].slice(0, 100).join('');
    return /^(con|prn|aux|nul|com[1-9]|lpt[1-9])(\.|$)/i.test(base) ? `_${base}` : base;
  },

  // A namer: the name for each program's name given it, a repeat numbered,
  // never a name it gave before.
  namer() {
    const used = new Set();
    return (fileName) => {
      const base = this.safe(fileName.normalize('NFC').replace(/^.*[\\/]/, '').replace(/\.xml$/i, ''));
      for (let n = 1; ; n++) {
        const name = `${base}${n > 1 ? `-${n}` : ''}.structure.txt`;
        if (!used.has(name.toLowerCase())) {
          used.add(name.toLowerCase());
          return name;
        }
      }
    };
  },

  // The names for `fileNames`, in their order.
  of(fileNames) {
    return fileNames.map(this.namer());
  },
};
