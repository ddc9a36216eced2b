// The learner's 出席番号, 1 to 45, kept on this device until the end of
// the day (a cart of iPads passes each device to another child tomorrow),
// in local storage only: nothing is sent.
'use strict';
const learnerNumber = {
  key: 'tenapi-number',
  // The number in `text` (full-width digits too), '' where there is none,
  // or null where it is no 出席番号.
  parse(text) {
    const digits = text.normalize('NFKC').trim();
    if (!digits) return '';
    return /^\d{1,2}$/.test(digits) && Number(digits) >= 1 && Number(digits) <= 45 ? Number(digits) : null;
  },
  // The day of `at` on this device's clock.
  day: (at) => `${at.getFullYear()}-${at.getMonth() + 1}-${at.getDate()}`,
  // The number kept today, or ''.
  load(now) {
    try {
      const kept = JSON.parse(localStorage.getItem(this.key) || 'null');
      return kept && kept.day === this.day(now) ? kept.number : '';
    } catch {
      return '';
    }
  },
  keep(number, now) {
    try {
      if (number) localStorage.setItem(this.key, JSON.stringify({ number, day: this.day(now) }));
      else localStorage.removeItem(this.key);
    } catch {
      // A browser that keeps nothing asks again at the next load.
    }
  },
};
