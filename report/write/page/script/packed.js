// The page's packed numbers, as the program packs them (PackCycles, PackLevels and
// the heat map's hours): base-64 digits, five bits each, the sixth saying another
// digit follows; signed numbers zigzag-coded.
import { R } from './rules.js';

const DIGITS = 'ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/';
const VALUE_OF = new Int8Array(128);
for (let d = 0; d < 64; ++d) VALUE_OF[DIGITS.charCodeAt(d)] = d;

// The packed numbers of a text, one after the other.
export function reader(text) {
  const r = { pos: 0, text };
  r.next = () => {
    let value = 0,
      shift = 0,
      digit;
    do {
      digit = VALUE_OF[text.charCodeAt(r.pos++) & 127];
      value += (digit & 31) * Math.pow(2, shift);
      shift += 5;
    } while (digit & 32);
    return value;
  };
  r.signed = () => {
    const z = r.next();
    return z % 2 ? -(z + 1) / 2 : z / 2;
  };
  r.more = () => r.pos < text.length;
  return r;
}

// A cycle's count: replies, plus 4 times the lost, plus 16 times the not sent.
export function countsOf(count) {
  return { replies: count % 4, lost: (count >> 2) % 4, notSent: count >> 4 };
}

// A host's cycles: their times (from `R.recent`, each a step after the one before,
// give or take its drift), counts, and where each one's round trips begin in `ms`.
export function decodeCycles(text, step) {
  // A cycle takes two characters at least, a round trip one.
  const most = Math.ceil(text.length / 2),
    r = reader(text);
  let times = new Float64Array(most),
    cycles = 0,
    replies = 0,
    time = R.recent;
  const counts = new Uint8Array(most),
    first = new Int32Array(most),
    ms = new Int32Array(text.length);
  while (r.more()) {
    time += r.signed() + step;
    const count = r.next();
    times[cycles] = time;
    counts[cycles] = count;
    first[cycles++] = replies;
    for (let i = 0; i < countsOf(count).replies; ++i) ms[replies++] = r.next();
  }
  times = times.subarray(0, cycles);
  return { times, counts, first, ms };
}

// The lowest top a zoom's scale can take, and each level's text still packed.
export function splitLevels(text, maxMs) {
  const texts = text.split(' ');
  const lowest = reader(texts.shift()).next();
  const tops = maxMs > 0 ? [maxMs] : R.tops.filter((top) => top >= lowest);
  return { tops, texts };
}

// A level's buckets: counts, the round trips' minimum, percentiles (R.ranks) and
// maximum in `q`, and per round top the replies above it.
export function decodeLevel(text, index, tops, interval) {
  const r = reader(text),
    list = [],
    [width, begin] = R.levels[index];
  const expected = interval > 0 ? Math.floor(width / interval) : 0;
  for (let start = begin; start < R.recent; start += width) {
    const b = { start, cycles: expected + r.signed(), sent: 0, lost: 0, notSent: 0, n: 0 };
    list.push(b);
    if (!b.cycles) continue;
    b.lost = r.next();
    b.notSent = r.next();
    b.sent = R.attempts * b.cycles - b.notSent;
    b.n = b.sent - b.lost;
    if (!b.n) continue;
    b.q = [r.next()];
    for (let k = 0; k < R.ranks.length; ++k) b.q.push(b.q[k] + r.next());
    b.above = {};
    tops.forEach((top) => {
      if (top >= b.q[0] && top < b.q[b.q.length - 1]) b.above[top] = r.next();
    });
  }
  return list;
}

// The heat map's rows: per day (days apart from the one before) whether it is empty,
// else per hour its cycles and, if any, lost and not sent requests and the median.
export function decodeHeatRows(text) {
  const r = reader(text),
    rows = [];
  let day = 0;
  while (r.more()) {
    day += r.next() * R.day;
    const row = { day, empty: r.next(), hours: [] };
    for (let h = 0; h < 24 && !row.empty; ++h) {
      const cell = { cycles: r.next() };
      if (cell.cycles) {
        cell.lost = r.next();
        cell.sent = R.attempts * cell.cycles - r.next();
        if (cell.sent > cell.lost) cell.median = r.next();
      }
      row.hours.push(cell);
    }
    rows.push(row);
  }
  return rows;
}
