// A host's chart of [from, to), drawn as the program draws it (its first view, and
// the --svg), in the buckets of that span.
import { R } from './rules.js';
import { buckets, countAbove, grid, highest, lossClass, pct } from './buckets.js';
import { escape, nearestRank, num, plural, topAboveBulk } from './numbers.js';
import { duration, format, monthOf, readable, utc } from './time_words.js';

// The next tick at or after `t`: a multiple of the step (weeks start on Monday), or
// the first of a month at a multiple of the step's months.
function nextTick(tick, t) {
  const [seconds, months] = tick;
  if (seconds === 0) {
    const d = monthOf(t);
    let month = d.year * 12 + d.month + (d.day === 1 && t % R.day === 0 ? 0 : 1);
    month = Math.ceil(month / months) * months;
    return utc(Math.floor(month / 12), month % 12, 1, 0, 0);
  }
  const offset = seconds === R.week ? R.weekOffset : 0;
  return Math.ceil((t - offset) / seconds) * seconds + offset;
}
function tickFor(span) {
  const fits = (step) => span / (step[0] || step[1] * R.monthSeconds) <= R.mostTicks;
  return R.ticks.find(fits) || R.ticks[R.ticks.length - 1];
}

// "21.03.2021 10:00:00: 3 cycles, 11.1% loss, 10/12/30 ms"
function bucketTitle(b) {
  const w = R.words;
  let title = readable(b.start) + ': ' + plural(b.cycles, w.cycle, w.cycles) + ', ';
  title += (b.sent ? (100 * b.lost) / b.sent : 0).toFixed(1) + w.loss;
  if (b.notSent) title += `, ${b.notSent} ${w.notSent}`;
  if (b.down) title += `, ${w.down} ${duration(b.down)}`;
  if (b.n) title += ', ' + b.q[0] + '/' + pct(b, 50) + '/' + highest(b) + ' ms';
  return title;
}

// The drawing's parts, each a list of SVG elements, in the program's order.
class ChartDrawing {
  constructor(host, from, to) {
    this.from = from;
    this.to = to;
    this.g = grid(from, to, host.meta.interval);
    this.list = buckets(host, this.g, to);
    this.svg = [];
    this.list.forEach((b) => {
      // A bucket from its start (the view's, if it began before), a whole width on.
      b.x = this.x(Math.max(b.start, from));
      b.w = this.x(b.start + this.g.width) - b.x;
    });
    this.top = host.meta.maxMs > 0 ? host.meta.maxMs : topAboveBulk(this.bulk());
  }
  x(t) {
    return R.left + ((R.right - R.left) * (t - this.from)) / (this.to - this.from);
  }
  y(v) {
    return R.bottom - ((R.bottom - R.top) * Math.min(v, this.top)) / this.top;
  }
  bulk() {
    const upper = this.list.filter((b) => b.n).map((b) => pct(b, R.bulkInBucket));
    upper.sort((a, b) => a - b);
    return upper.length ? nearestRank(upper, R.bulkOfBuckets) : 1;
  }
  shade(kind, a, b, what, note) {
    a = Math.max(a, this.from);
    b = Math.min(b, this.to);
    if (a >= b) return;
    this.svg.push(
      `<rect class="${kind}" x="${num(this.x(a))}" y="${R.top}" width="${num(Math.max(1, this.x(b) - this.x(a)))}" ` +
        `height="${R.bottom - R.top}"><title>${what} ${readable(a)} to ${readable(b)} (${duration(b - a)}${note})</title></rect>`,
    );
  }
  // Outages of a bucket or more are shaded across the plot; shorter ones darken the
  // strip under the axis as far as the share of their bucket's time.
  shading(meta) {
    meta.gaps.forEach(([a, b, note]) => this.shade('gap', a, b, R.words.gap, note));
    meta.outages.forEach(([a, b, note]) => {
      if (b - a >= this.g.width) {
        this.shade('outage', a, b, R.words.outage, note);
        return;
      }
      for (let t = Math.max(a, this.from); t < Math.min(b, this.to); ) {
        const bucket = this.list[Math.floor((t - this.g.origin) / this.g.width)];
        const until = Math.min(b, bucket.start + this.g.width);
        bucket.down = (bucket.down || 0) + until - t;
        t = until;
      }
    });
  }
  axes() {
    const { from, to } = this;
    [0, Math.floor(this.top / 2), this.top].forEach((v) => {
      const y = this.y(v);
      this.svg.push(
        `<line class="grid" x1="${R.left}" x2="${R.right}" y1="${num(y)}" y2="${num(y)}"/>` +
          `<text x="${R.left - 6}" y="${num(y + 4)}" text-anchor="end">${v} ms</text>`,
      );
    });
    if (to - from <= R.mostDayLines * R.day) {
      for (let day = Math.ceil(from / R.day) * R.day; day < to; day += R.day) {
        const x = num(this.x(day));
        this.svg.push(`<line class="day" x1="${x}" x2="${x}" y1="${R.top}" y2="${R.bottom}"/>`);
      }
    }
    const tick = tickFor(to - from);
    for (let t = nextTick(tick, from); t < to; t = nextTick(tick, t + 1)) {
      const x = num(this.x(t));
      this.svg.push(
        `<line class="tick" x1="${x}" x2="${x}" y1="${R.bottom}" y2="${R.bottom + 4}"/>` +
          `<text class="time" x="${x}" y="${R.timeLabels}" text-anchor="middle">${format(tick[2], t)}</text>`,
      );
    }
    this.svg.push(
      `<text x="${R.left}" y="${R.endLabels}">${readable(from)}</text>` +
        `<text x="${R.right}" y="${R.endLabels}" text-anchor="end">${readable(to)}</text>` +
        `<text x="${R.left - 6}" y="${R.lossTop + 12}" text-anchor="end">${R.words.lossLabel}</text>`,
    );
  }
  // The bands, each a rectangle per bucket, and pinned marks for what lies above.
  smoke() {
    R.bands.forEach(([low, high, opacity]) => {
      let d = '';
      this.list.forEach((b) => {
        if (!b.n) return;
        const yHigh = this.y(pct(b, high)),
          yLow = this.y(pct(b, low));
        d += `M${num(b.x)},${num(yHigh)}h${num(b.w)}V${num(Math.max(yLow, yHigh + 0.5))}h${num(-b.w)}Z`;
      });
      this.svg.push(`<path class="smoke" fill-opacity="${opacity}" d="${d}"/>`);
    });
    let above = 0;
    this.list.forEach((b) => {
      const count = countAbove(b, this.top);
      if (!count) return;
      above += count;
      this.svg.push(`<path class="above" d="M${num(b.x + b.w / 2)},${R.top}l3,5h-6Z"/>`);
    });
    this.svg.push(
      `<text x="${R.right}" y="${R.top - 6}" text-anchor="end">` +
        `${plural(above, R.words.reply, R.words.replies)} ${R.words.above} ${this.top} ms</text>`,
    );
  }
  // The median as a stepped line, each bucket's step (and the rise to the next) in
  // the colour of its loss.
  median() {
    R.lossClasses.forEach((loss) => {
      let d = '';
      this.list.forEach((b, i) => {
        if (!b.n || lossClass(b) !== loss) return;
        d += `M${num(b.x)},${num(this.y(pct(b, 50)))}h${num(b.w)}`;
        const next = this.list[i + 1];
        if (next && next.n) d += 'V' + num(this.y(pct(next, 50)));
      });
      if (d) this.svg.push(`<path class="median ${loss}" d="${d}"/>`);
    });
  }
  // Per bucket: a loss mark under the axis, and a transparent area with the numbers.
  bucketMarks() {
    const lossY = R.lossTop,
      high = R.lossHeight;
    this.list.forEach((b) => {
      if (!b.cycles) return;
      const bx = num(b.x),
        w = num(Math.max(b.w, 1));
      if (b.lost > 0 || b.notSent > 0) {
        const kind = b.lost > 0 ? 'loss ' + lossClass(b) : 'not-sent';
        this.svg.push(`<rect class="${kind}" x="${bx}" y="${lossY}" width="${w}" height="${high}"/>`);
      }
      if (b.down) {
        const h = Math.max(1, high * Math.min(1, b.down / this.g.width));
        this.svg.push(
          `<rect class="outage-share" x="${bx}" y="${num(lossY + high - h)}" width="${w}" height="${num(h)}"/>`,
        );
      }
      this.svg.push(
        `<rect class="bucket" x="${bx}" y="${R.top}" width="${num(b.w)}" height="${lossY + high - R.top}">` +
          `<title>${escape(bucketTitle(b))}</title></rect>`,
      );
    });
  }
}

// The chart's markup, its buckets' grid and its scale's top.
export function drawChart(host, from, to) {
  const drawing = new ChartDrawing(host, from, to);
  drawing.shading(host.meta);
  drawing.axes();
  drawing.smoke();
  drawing.median();
  drawing.bucketMarks();
  return { markup: drawing.svg.join('\n'), grid: drawing.g, top: drawing.top };
}
