// Bytes shown as text: UTF-8 where all of them are, else Shift_JIS (the
// code page of a Japanese Windows). The bytes themselves are never changed;
// only what is shown is decoded.
'use strict';
const bytesText = {
  // The texts of `pieces`, each [bytes, cut]: cut where the bytes stop
  // inside a character, which is then left out.
  decode(pieces) {
    const as = (encoding, fatal) => pieces.map(([bytes, cut]) => new TextDecoder(encoding, { fatal }).decode(bytes, { stream: !!cut }));
    try {
      return as('utf-8', true);
    } catch {
      return as('shift_jis', false);
    }
  },
};
