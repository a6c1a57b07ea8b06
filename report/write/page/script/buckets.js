// A view's buckets, as the program makes a chart's: from the cycles the page carries
// (every cycle of the recent past) or from its consolidated buckets of older days.
import { R } from './rules.js';
import { nearestRank } from './numbers.js';
import { countsOf, decodeCycles, decodeLevel, splitLevels } from './packed.js';

// The first width of R.widths at least `period` long that keeps `span` within
// R.mostBuckets.
export function bucketWidth(span, period) {
  for (const w of R.widths) if (w >= period && span / w <= R.mostBuckets) return w;
  return Math.max(period, Math.ceil(span / R.mostBuckets));
}

// The buckets a view of [from, to) is drawn in. From the cycles, the usual width for
// its span, from the view's start as the program draws it. Where it reaches older
// days, on multiples of the widest level kept for them that is no wider, nor
// narrower than the interval; else of the finest wider one.
export function grid(from, to, interval) {
  interval = Math.max(1, interval);
  const usual = bucketWidth(to - from, interval);
  let level = -1;
  if (from >= R.recent || !R.levels.length) {
    return { width: usual, usual, level, origin: from };
  }
  R.levels.forEach(([w, start], i) => {
    if (start <= from && w >= interval && w <= usual) level = i;
  });
  if (level < 0) level = R.levels.findIndex(([w, start]) => start <= from && w >= usual);
  if (level < 0) level = R.levels.length - 1;
  const width = R.levels[level][0];
  return { width, usual, level, origin: Math.floor(from / width) * width };
}

// The percentiles a bucket keeps: the minimum, R.ranks, the maximum.
export function percentIndex(percent) {
  return percent === 0 ? 0 : R.ranks.indexOf(percent) + 1;
}
export function pct(b, percent) {
  return b.q[percentIndex(percent)];
}
export function highest(b) {
  return b.q[b.q.length - 1];
}
export function countAbove(b, top) {
  if (!b.n || top >= highest(b)) return 0;
  if (b.times) return b.times.filter((v) => v > top).length;
  return top < b.q[0] ? b.n : b.above[top] || 0;
}
export function lossClass(b) {
  if (b.lost === 0) return R.lossClasses[0];
  if (b.lost === b.sent) return R.lossClasses[3];
  return (100 * b.lost) / b.sent <= R.littleLoss ? R.lossClasses[1] : R.lossClasses[2];
}

function emptyBucket(start) {
  return { start, times: [], cycles: 0, sent: 0, lost: 0, notSent: 0, n: 0 };
}
// A host's level, unpacked when a view first needs it. `host.read(kind)` gives the
// page's packed "cycles" or "levels" of the host.
function levelBuckets(host, index) {
  if (!host.levels) {
    host.levels = splitLevels(host.read('levels').trim(), host.meta.maxMs);
    host.levelLists = [];
  }
  const { tops, texts } = host.levels;
  if (!host.levelLists[index]) {
    host.levelLists[index] = decodeLevel(texts[index], index, tops, host.meta.interval);
  }
  return host.levelLists[index];
}
function firstAtOrAfter(times, from) {
  let lo = 0,
    hi = times.length;
  while (lo < hi) {
    const mid = (lo + hi) >> 1;
    if (times[mid] < from) lo = mid + 1;
    else hi = mid;
  }
  return lo;
}

// The buckets of grid `g` up to `to`, each with its counts and round trips: those
// kept for older days as kept, the rest counted from the cycles.
export function buckets(host, g, to) {
  if (!host.cycles) host.cycles = decodeCycles(host.read('cycles').trim(), host.meta.step);
  const c = host.cycles,
    width = g.width,
    list = [];
  const stored = g.level >= 0 ? levelBuckets(host, g.level) : [];
  const first = g.level >= 0 ? R.levels[g.level][1] : 0;
  for (let start = g.origin; start < to; start += width) {
    const kept = start < R.recent ? stored[(start - first) / width] : null;
    list.push(kept ? Object.assign({}, kept) : emptyBucket(start));
  }
  for (let i = firstAtOrAfter(c.times, Math.max(g.origin, R.recent)); i < c.times.length; ++i) {
    if (c.times[i] >= to) break;
    const b = list[Math.floor((c.times[i] - g.origin) / width)],
      n = countsOf(c.counts[i]);
    b.cycles += 1;
    b.sent += n.replies + n.lost;
    b.lost += n.lost;
    b.notSent += n.notSent;
    for (let k = 0; k < n.replies; ++k) b.times.push(c.ms[c.first[i] + k]);
  }
  const percents = [0, ...R.ranks];
  list.forEach((b) => {
    if (!b.times || !b.times.length) return;
    b.times.sort((x, y) => x - y);
    b.n = b.times.length;
    b.q = percents.map((p) => nearestRank(b.times, p));
  });
  return list;
}
