// Times as the program writes them. Times are the logger's wall-clock seconds counted
// as if in UTC, as in the program.
import { R } from './rules.js';

export function pad(n) {
  return (n < 10 ? '0' : '') + n;
}
function fields(t) {
  return new Date(t * 1000);
}
export function monthOf(t) {
  const d = fields(t);
  return { year: d.getUTCFullYear(), month: d.getUTCMonth(), day: d.getUTCDate() };
}
// Seconds of a date and time, the year as written (Date.UTC reads 0 to 99 as 19xx).
export function utc(year, month, day, hour, minute) {
  const d = new Date(0);
  d.setUTCFullYear(year, month, day);
  d.setUTCHours(hour, minute, 0, 0);
  return d.getTime() / 1000;
}
// The program's time masks: %dd %mm %yyyy %hh %ii %ss.
export function format(mask, t) {
  const d = fields(t);
  const parts = {
    dd: pad(d.getUTCDate()),
    mm: pad(d.getUTCMonth() + 1),
    yyyy: '' + d.getUTCFullYear(),
    hh: pad(d.getUTCHours()),
    ii: pad(d.getUTCMinutes()),
    ss: pad(d.getUTCSeconds()),
  };
  return mask.replace(/%(yyyy|dd|mm|hh|ii|ss)/g, (m, key) => parts[key]);
}
// "21.03.2021 10:00:00"
export function readable(t) {
  return format(R.readableMask, t);
}
// "2021-03-21T10:00", as the page's address carries a period.
export function iso(t) {
  return format('%yyyy-%mm-%ddT%hh:%ii', t);
}
// "1 d 2 h 5 min", "0 s"
export function duration(seconds) {
  const text = [];
  R.durationUnits.forEach(([length, unit]) => {
    if (seconds >= length) {
      text.push(Math.floor(seconds / length) + ' ' + unit);
      seconds %= length;
    }
  });
  return text.length ? text.join(' ') : '0 s';
}
