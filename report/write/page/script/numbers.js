// Numbers as the program computes and writes them.
import { R } from './rules.js';

// A coordinate, to a tenth.
export function num(x) {
  return (Math.round(x * 10) / 10).toString();
}
// The nearest-rank percentile of sorted values.
export function nearestRank(sorted, percent) {
  return sorted[Math.max(Math.ceil((percent / 100) * sorted.length), 1) - 1];
}
// The scale's top for a bulk of `bulk` ms: the first round top above it and half again.
export function topAboveBulk(bulk) {
  const wanted = bulk + Math.max(1, Math.ceil(bulk / 2));
  return R.tops.find((top) => wanted <= top) || R.tops[R.tops.length - 1];
}
// "1 cycle", "3 cycles"
export function plural(count, one, many) {
  return count + ' ' + (count === 1 ? one : many);
}
export function escape(text) {
  return text.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
}
