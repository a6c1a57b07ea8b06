// The hosts' strips of [from, to): per bucket the worst state of a host then, as the
// program draws them: some cycle lost, a gap over part of a bucket without cycles, an
// outage over any part of it. R.strips names each state's class and words.
import { R } from './rules.js';
import { buckets, grid } from './buckets.js';
import { num } from './numbers.js';
import { readable } from './time_words.js';

const ANSWERED = 1,
  LOSS = 2,
  NO_ENTRIES = 3,
  DOWN = 4;

// "down: 01.12.2026 10:05:00 to 01.12.2026 10:20:00"
export function stripTitle(state, from, to) {
  return R.strips[state][1] + ': ' + readable(from) + ' to ' + readable(to);
}
export function stateOfClass(className) {
  return R.strips.findIndex(([css]) => css === className);
}

function statesOf(host, g, from, to, n) {
  const states = new Uint8Array(n);
  function mark(a, b, state, onlyEmpty) {
    a = Math.max(a, from);
    b = Math.min(b, to);
    if (a >= b) return;
    const last = Math.min(Math.floor((b - 1 - g.origin) / g.width), n - 1);
    for (let k = Math.floor((a - g.origin) / g.width); k <= last; ++k) {
      if (!(onlyEmpty && states[k])) states[k] = Math.max(states[k], state);
    }
  }
  buckets(host, g, to).forEach((b, k) => {
    if (b.cycles) states[k] = b.lost ? LOSS : ANSWERED;
  });
  host.meta.gaps.forEach(([a, b]) => mark(a, b, NO_ENTRIES, true));
  host.meta.outages.forEach(([a, b]) => mark(a, b, DOWN, false));
  return states;
}

// The strips' markup: a row per host at its strip's `rowY`, then the period's ends
// `bottom` below the last row.
export function drawStrips(hosts, from, to, rowY, bottom) {
  const interval = Math.max(1, ...hosts.map((h) => h.meta.interval));
  const g = grid(from, to, interval),
    n = Math.ceil((to - g.origin) / g.width),
    svg = [];
  const x = (t) => R.left + ((R.right - R.left) * (t - from)) / (to - from);
  hosts.forEach((host, row) => {
    const states = statesOf(host, g, from, to, n);
    for (let b = 0; b < n; ) {
      let e = b + 1;
      while (e < n && states[e] === states[b]) ++e;
      if (states[b]) {
        const a = Math.max(from, g.origin + b * g.width),
          z = Math.min(to, g.origin + e * g.width);
        svg.push(
          `<rect class="${R.strips[states[b]][0]}" x="${num(x(a))}" y="${rowY(row)}" ` +
            `width="${num(Math.max(0.5, x(z) - x(a)))}" height="10"><title>${stripTitle(states[b], a, z)}</title></rect>`,
        );
      }
      b = e;
    }
  });
  svg.push(
    `<text x="${R.left}" y="${bottom}">${readable(from)}</text>` +
      `<text x="${R.right}" y="${bottom}" text-anchor="end">${readable(to)}</text>`,
  );
  return svg.join('\n');
}
