// The page's zoom: drag across a chart to show that period in every chart, in finer
// buckets made from the cycles the page carries (every cycle of the recent past) or
// from its consolidated buckets of older days (at the widths a zoom draws, from 30
// minutes on: the same buckets as from every cycle); the address keeps the period
// (#from=YYYY-MM-DDTHH:MM&to=YYYY-MM-DDTHH:MM) so that a zoomed view can be sent.
// Without this script the page shows the charts of the whole period as written.
// Times are the logger's wall-clock seconds counted as if in UTC, as in the program.
(function () {
  'use strict';
  // The chart's own numbers, as the program wrote them into the page.
  var rulesNode = document.getElementById('chart-rules');
  if (!rulesNode) return;
  var R = JSON.parse(rulesNode.textContent);
  var LEFT = R.left, RIGHT = R.right, TOP = R.top, BOTTOM = R.bottom, LOSS_TOP = R.lossTop;
  var DIGITS = 'ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/';

  function pad(n) { return (n < 10 ? '0' : '') + n; }
  function fields(t) { return new Date(t * 1000); }
  // Seconds of a date and time, the year as written (Date.UTC reads 0 to 99 as 19xx).
  function utc(year, month, day, hour, minute) {
    var d = new Date(0);
    d.setUTCFullYear(year, month, day);
    d.setUTCHours(hour, minute, 0, 0);
    return d.getTime() / 1000;
  }
  function readable(t) {
    var d = fields(t);
    return pad(d.getUTCDate()) + '.' + pad(d.getUTCMonth() + 1) + '.' + d.getUTCFullYear() + ' ' +
      pad(d.getUTCHours()) + ':' + pad(d.getUTCMinutes()) + ':' + pad(d.getUTCSeconds());
  }
  function iso(t) {
    var d = fields(t);
    return d.getUTCFullYear() + '-' + pad(d.getUTCMonth() + 1) + '-' + pad(d.getUTCDate()) +
      'T' + pad(d.getUTCHours()) + ':' + pad(d.getUTCMinutes());
  }
  function duration(seconds) {
    var parts = [[86400, 'd'], [3600, 'h'], [60, 'min'], [1, 's']], text = [];
    parts.forEach(function (p) {
      if (seconds >= p[0]) { text.push(Math.floor(seconds / p[0]) + ' ' + p[1]); seconds %= p[0]; }
    });
    return text.length ? text.join(' ') : '0 s';
  }
  function num(x) { return (Math.round(x * 10) / 10).toString(); }
  function nearestRank(sorted, percent) {
    return sorted[Math.max(Math.ceil(percent / 100 * sorted.length), 1) - 1];
  }
  // The program's time masks: %dd %mm %yyyy %hh %ii %ss.
  function format(mask, t) {
    var d = fields(t), parts = { dd: pad(d.getUTCDate()), mm: pad(d.getUTCMonth() + 1),
      yyyy: '' + d.getUTCFullYear(), hh: pad(d.getUTCHours()), ii: pad(d.getUTCMinutes()),
      ss: pad(d.getUTCSeconds()) };
    return mask.replace(/%(yyyy|dd|mm|hh|ii|ss)/g, function (m, key) { return parts[key]; });
  }
  function niceTop(value) {
    for (var step = 1; ; step *= 10) {
      for (var m of [1, 2, 5]) if (value <= m * step) return m * step;
    }
  }
  function bucketWidth(span, period) {
    for (var w of R.widths) if (w >= period && span / w <= R.mostBuckets) return w;
    return Math.max(period, Math.ceil(span / R.mostBuckets));
  }
  function lossClass(b) {
    if (b.lost === 0) return R.lossClasses[0];
    if (b.lost === b.sent) return R.lossClasses[3];
    return 100 * b.lost / b.sent <= R.littleLoss ? R.lossClasses[1] : R.lossClasses[2];
  }
  function escape(text) {
    return text.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
  }

  var VALUE_OF = new Int8Array(128);
  for (var d = 0; d < 64; ++d) VALUE_OF[DIGITS.charCodeAt(d)] = d;
  // The packed numbers of a text, one after the other.
  function reader(text) {
    var r = { pos: 0, text: text };
    r.next = function () {
      var value = 0, shift = 0, digit;
      do {
        digit = VALUE_OF[text.charCodeAt(r.pos++) & 127];
        value += (digit & 31) * Math.pow(2, shift);
        shift += 5;
      } while (digit & 32);
      return value;
    };
    return r;
  }

  // The cycles, unpacked once: times, counts (replies + 4 lost + 16 not sent) and
  // where each cycle's round trips begin in `ms`.
  function unpack(host) {
    var text = document.getElementById('cycles-' + host.index).textContent.trim();
    // A cycle takes two characters at least, a round trip one.
    var most = Math.ceil(text.length / 2), cycles = 0, replies = 0, r = reader(text), next = r.next;
    var times = new Float64Array(most), counts = new Uint8Array(most);
    var first = new Int32Array(most), ms = new Int32Array(text.length), time = R.recent;
    while (r.pos < text.length) {
      var z = next();
      time += (z % 2 ? -(z + 1) / 2 : z / 2) + host.meta.step;
      var count = next();
      times[cycles] = time;
      counts[cycles] = count;
      first[cycles++] = replies;
      for (var i = 0; i < count % 4; ++i) ms[replies++] = next();
    }
    times = times.subarray(0, cycles);
    host.cycles = { times: times, counts: counts, first: first, ms: ms };
  }

  // A bucket's round trips: the minimum, percentiles and maximum, and how many lie
  // above a scale's top.
  var PERCENTS = [0, 10, 25, 50, 75, 90, 100];
  function pct(b, percent) { return b.q[PERCENTS.indexOf(percent)]; }
  function countAbove(b, top) {
    if (!b.n || top >= b.q[6]) return 0;
    if (b.times) return b.times.filter(function (v) { return v > top; }).length;
    return top < b.q[0] ? b.n : b.above[top] || 0;
  }
  // The round tops a scale may take.
  var TOPS = [];
  for (var power = 1; power <= 100000; power *= 10) TOPS.push(power, 2 * power, 5 * power);
  function emptyBucket(start) {
    return { start: start, times: [], cycles: 0, sent: 0, lost: 0, notSent: 0, n: 0 };
  }
  // A level's buckets, unpacked when a zoom first needs them (the program's
  // PackLevels says how they are packed).
  function levelBuckets(host, index) {
    if (!host.levelTexts) {
      // The lowest top a zoom's scale can take, then each level's buckets.
      var texts = document.getElementById('levels-' + host.index).textContent.trim().split(' ');
      var lowest = reader(texts.shift()).next();
      host.tops = host.meta.maxMs > 0 ? [host.meta.maxMs]
        : TOPS.filter(function (top) { return top >= lowest; });
      host.levelTexts = texts;
      host.levelLists = [];
    }
    if (host.levelLists[index]) return host.levelLists[index];
    var r = reader(host.levelTexts[index]), next = r.next, list = [], level = R.levels[index];
    var tops = host.tops, interval = host.meta.interval;
    var expected = interval > 0 ? Math.floor(level[0] / interval) : 0;
    for (var start = level[1]; start < R.recent; start += level[0]) {
      var z = next(), b = { start: start, cycles: expected + (z % 2 ? -(z + 1) / 2 : z / 2),
        sent: 0, lost: 0, notSent: 0, n: 0 };
      list.push(b);
      if (!b.cycles) continue;
      b.lost = next(); b.notSent = next();
      b.sent = 3 * b.cycles - b.notSent;
      b.n = b.sent - b.lost;
      if (!b.n) continue;
      b.q = [next()];
      for (var k = 1; k < 7; ++k) b.q.push(b.q[k - 1] + next());
      b.above = {};
      tops.forEach(function (top) { if (top >= b.q[0] && top < b.q[6]) b.above[top] = next(); });
    }
    host.levelLists[index] = list;
    return list;
  }
  // The buckets a view of [from, to) is drawn in, on multiples of their width: the
  // usual width for its span; where it reaches older days, the widest level kept for
  // them that is no wider, nor narrower than the interval; else the finest wider one.
  function grid(from, to, interval) {
    interval = Math.max(1, interval);
    var usual = bucketWidth(to - from, interval), width = usual, level = -1, i;
    if (from < R.recent && R.levels.length) {
      for (i = 0; i < R.levels.length; ++i) {
        var w = R.levels[i][0];
        if (R.levels[i][1] <= from && w >= interval && w <= usual) level = i;
      }
      for (i = 0; i < R.levels.length && level < 0; ++i) {
        if (R.levels[i][1] <= from && R.levels[i][0] >= usual) level = i;
      }
      if (level < 0) level = R.levels.length - 1;
      width = R.levels[level][0];
    }
    return { width: width, usual: usual, level: level, origin: Math.floor(from / width) * width };
  }
  function buckets(host, g, to) {
    if (!host.cycles) unpack(host);
    var c = host.cycles, width = g.width, list = [];
    var stored = g.level >= 0 ? levelBuckets(host, g.level) : [], first = g.level >= 0 ? R.levels[g.level][1] : 0;
    for (var start = g.origin; start < to; start += width) {
      var kept = start < R.recent ? stored[(start - first) / width] : null;
      list.push(kept ? Object.assign({}, kept) : emptyBucket(start));
    }
    var from = Math.max(g.origin, R.recent), lo = 0, hi = c.times.length;
    while (lo < hi) { var mid = (lo + hi) >> 1; if (c.times[mid] < from) lo = mid + 1; else hi = mid; }
    for (var i = lo; i < c.times.length && c.times[i] < to; ++i) {
      var b = list[Math.floor((c.times[i] - g.origin) / width)], n = c.counts[i];
      var replies = n % 4, lost = (n >> 2) % 4;
      b.cycles += 1; b.sent += replies + lost; b.lost += lost; b.notSent += n >> 4;
      for (var k = 0; k < replies; ++k) b.times.push(c.ms[c.first[i] + k]);
    }
    list.forEach(function (b) {
      if (!b.times || !b.times.length) return;
      b.times.sort(function (x, y) { return x - y; });
      b.n = b.times.length;
      b.q = PERCENTS.map(function (p) { return nearestRank(b.times, p); });
    });
    return list;
  }

  // The chart of [from, to) as the program draws it, in finer buckets.
  function draw(host, from, to) {
    function x(t) { return LEFT + (RIGHT - LEFT) * (t - from) / (to - from); }
    var span = to - from, g = grid(from, to, host.meta.interval), list = buckets(host, g, to);
    var svg = [], upper = [];
    list.forEach(function (b) {
      if (b.n) upper.push(pct(b, R.bulkInBucket));
      // Where the bucket lies on the plot: the first and last cut at the view's edges.
      b.x = x(Math.max(b.start, from));
      b.w = x(Math.min(b.start + g.width, to)) - b.x;
    });
    upper.sort(function (x, y) { return x - y; });
    var bulk = upper.length ? nearestRank(upper, R.bulkOfBuckets) : 1;
    var top = host.meta.maxMs > 0 ? host.meta.maxMs : niceTop(bulk + Math.max(1, Math.ceil(bulk / 2)));
    function y(v) { return BOTTOM - (BOTTOM - TOP) * Math.min(v, top) / top; }

    function shade(kind, a, b, what, note) {
      a = Math.max(a, from); b = Math.min(b, to);
      if (a >= b) return;
      svg.push('<rect class="' + kind + '" x="' + num(x(a)) + '" y="' + TOP + '" width="' +
        num(Math.max(1, x(b) - x(a))) + '" height="' + (BOTTOM - TOP) + '"><title>' + what + ' ' +
        readable(a) + ' to ' + readable(b) + ' (' + duration(b - a) + note + ')</title></rect>');
    }
    host.meta.gaps.forEach(function (g) { shade('gap', g[0], g[1], 'No entries:', g[2]); });
    // Outages of a bucket or more are shaded across the plot; shorter ones darken
    // the strip under the axis as far as the share of their bucket's time.
    host.meta.outages.forEach(function (o) {
      if (o[1] - o[0] >= g.width) {
        shade('outage', o[0], o[1], 'Outage:', o[2]);
        return;
      }
      for (var t = Math.max(o[0], from); t < Math.min(o[1], to);) {
        var b = list[Math.floor((t - g.origin) / g.width)];
        var until = Math.min(o[1], b.start + g.width);
        b.down = (b.down || 0) + until - t;
        t = until;
      }
    });

    [0, Math.floor(top / 2), top].forEach(function (v) {
      svg.push('<line class="grid" x1="' + LEFT + '" x2="' + RIGHT + '" y1="' + num(y(v)) + '" y2="' +
        num(y(v)) + '"/><text x="' + (LEFT - 6) + '" y="' + num(y(v) + 4) +
        '" text-anchor="end">' + v + ' ms</text>');
    });
    if (span <= R.mostDayLines * 86400) {
      for (var day = Math.ceil(from / 86400) * 86400; day < to; day += 86400) {
        svg.push('<line class="day" x1="' + num(x(day)) + '" x2="' + num(x(day)) + '" y1="' + TOP +
          '" y2="' + BOTTOM + '"/>');
      }
    }
    var tick = R.ticks.find(function (step) {
      return span / (step[0] || step[1] * R.monthSeconds) <= R.mostTicks;
    }) || R.ticks[R.ticks.length - 1];
    function nextTick(t) {
      if (tick[0] === 0) {  // the first of a month, at a multiple of the step's months
        var d = fields(t), months = tick[1];
        var month = d.getUTCFullYear() * 12 + d.getUTCMonth() +
          (d.getUTCDate() === 1 && t % 86400 === 0 ? 0 : 1);
        month = Math.ceil(month / months) * months;
        return utc(Math.floor(month / 12), month % 12, 1, 0, 0);
      }
      var offset = tick[0] === 604800 ? 345600 : 0;  // weeks start on Monday
      return Math.ceil((t - offset) / tick[0]) * tick[0] + offset;
    }
    for (var t = nextTick(from); t < to; t = nextTick(t + 1)) {
      svg.push('<line class="tick" x1="' + num(x(t)) + '" x2="' + num(x(t)) + '" y1="' + BOTTOM +
        '" y2="' + (BOTTOM + 4) + '"/><text class="time" x="' + num(x(t)) +
        '" y="284" text-anchor="middle">' + format(tick[2], t) + '</text>');
    }
    svg.push('<text x="' + LEFT + '" y="298">' + readable(from) + '</text><text x="' + RIGHT +
      '" y="298" text-anchor="end">' + readable(to) + '</text><text x="' + (LEFT - 6) + '" y="' +
      (LOSS_TOP + 12) + '" text-anchor="end">loss</text>');

    R.bands.forEach(function (band) {
      var d = '';
      list.forEach(function (b) {
        if (!b.n) return;
        var high = y(pct(b, band[1])), low = y(pct(b, band[0]));
        d += 'M' + num(b.x) + ',' + num(high) + 'h' + num(b.w) + 'V' +
          num(Math.max(low, high + 0.5)) + 'h' + num(-b.w) + 'Z';
      });
      svg.push('<path class="smoke" fill-opacity="' + band[2] + '" d="' + d + '"/>');
    });
    var above = 0;
    list.forEach(function (b) {
      var count = countAbove(b, top);
      if (!count) return;
      above += count;
      svg.push('<path class="above" d="M' + num(b.x + b.w / 2) + ',' + TOP + 'l3,5h-6Z"/>');
    });
    svg.push('<text x="' + RIGHT + '" y="' + (TOP - 6) + '" text-anchor="end">' + above +
      (above === 1 ? ' reply' : ' replies') + ' above ' + top + ' ms</text>');

    R.lossClasses.forEach(function (loss) {
      var d = '';
      list.forEach(function (b, i) {
        if (!b.n || lossClass(b) !== loss) return;
        d += 'M' + num(b.x) + ',' + num(y(pct(b, 50))) + 'h' + num(b.w);
        var n = list[i + 1];
        if (n && n.n) d += 'V' + num(y(pct(n, 50)));
      });
      if (d) svg.push('<path class="median ' + loss + '" d="' + d + '"/>');
    });

    list.forEach(function (b) {
      if (!b.cycles) return;
      var bx = num(b.x), w = num(Math.max(b.w, 1));
      if (b.lost > 0) {
        svg.push('<rect class="loss ' + lossClass(b) + '" x="' + bx + '" y="' + LOSS_TOP +
          '" width="' + w + '" height="16"/>');
      } else if (b.notSent > 0) {
        svg.push('<rect class="not-sent" x="' + bx + '" y="' + LOSS_TOP + '" width="' + w +
          '" height="16"/>');
      }
      if (b.down) {
        var high = Math.max(1, 16 * Math.min(1, b.down / g.width));
        svg.push('<rect class="outage-share" x="' + bx + '" y="' + num(LOSS_TOP + 16 - high) +
          '" width="' + w + '" height="' + num(high) + '"/>');
      }
      var title = readable(b.start) + ': ' + b.cycles + (b.cycles === 1 ? ' cycle, ' : ' cycles, ') +
        num(b.sent ? 100 * b.lost / b.sent : 0) + '% loss';
      if (b.notSent) title += ', ' + b.notSent + ' not sent';
      if (b.down) title += ', down ' + duration(b.down);
      if (b.n) title += ', ' + b.q[0] + '/' + pct(b, 50) + '/' + b.q[6] + ' ms';
      svg.push('<rect class="bucket" x="' + bx + '" y="' + TOP + '" width="' + num(b.w) +
        '" height="' + (LOSS_TOP + 16 - TOP) + '"><title>' + escape(title) + '</title></rect>');
    });
    host.svg.setAttribute('data-bucket-seconds', g.width);
    host.grid = g;
    host.svg.setAttribute('data-top-ms', top);
    host.svg.innerHTML = svg.join('\n');
  }

  // The hosts' strips of [from, to): per bucket the worst state of a host then, as the
  // program draws them: some cycle lost, a gap over part of a bucket without cycles,
  // an outage over any part of it.
  var STRIP_CLASSES = ['', 'strip-answered', 'strip-loss', 'strip-no-entries', 'strip-down'];
  var STRIP_WORDS = ['', 'answered', 'some requests lost', 'no entries', 'down'];
  function drawTimeline(from, to) {
    var node = document.getElementById('strips');
    if (!node) return;
    var span = to - from, interval = 1, svg = [];
    hosts.forEach(function (h) { interval = Math.max(interval, h.meta.interval); });
    var g = grid(from, to, interval), width = g.width, n = Math.ceil((to - g.origin) / width);
    var labels = document.querySelectorAll('#timeline text.strip-host');
    function x(t) { return LEFT + (RIGHT - LEFT) * (t - from) / span; }
    hosts.forEach(function (host, row) {
      var states = new Uint8Array(n);
      function mark(a, b, state, onlyEmpty) {
        a = Math.max(a, from); b = Math.min(b, to);
        if (a >= b) return;
        for (var k = Math.floor((a - g.origin) / width); k <= Math.floor((b - 1 - g.origin) / width) && k < n; ++k) {
          if (!(onlyEmpty && states[k])) states[k] = Math.max(states[k], state);
        }
      }
      buckets(host, g, to).forEach(function (b, k) {
        if (b.cycles) states[k] = b.lost ? 2 : 1;
      });
      host.meta.gaps.forEach(function (g) { mark(g[0], g[1], 3, true); });
      host.meta.outages.forEach(function (o) { mark(o[0], o[1], 4, false); });
      var y = +labels[row].getAttribute('y') + 3;
      for (var b = 0; b < n;) {
        var e = b + 1;
        while (e < n && states[e] === states[b]) ++e;
        if (states[b]) {
          var a = Math.max(from, g.origin + b * width), z = Math.min(to, g.origin + e * width);
          svg.push('<rect class="' + STRIP_CLASSES[states[b]] + '" x="' + num(x(a)) + '" y="' + y +
            '" width="' + num(Math.max(0.5, x(z) - x(a))) + '" height="10"><title>' +
            STRIP_WORDS[states[b]] + ': ' + readable(a) + ' to ' + readable(z) + '</title></rect>');
        }
        b = e;
      }
    });
    var bottom = +labels[labels.length - 1].getAttribute('y') + 24;
    svg.push('<text x="' + LEFT + '" y="' + bottom + '">' + readable(from) + '</text><text x="' +
      RIGHT + '" y="' + bottom + '" text-anchor="end">' + readable(to) + '</text>');
    node.innerHTML = svg.join('\n');
  }

  // The heat map's hour under the pointer, told in the map's title as the program
  // words it: "01.03.2021 19:00–20:00: loss 6.67 %, median 15 ms, 20 cycles".
  function heatRows(svg) {
    var text = document.getElementById('hours-' + svg.getAttribute('data-host')).textContent;
    var r = reader(text.trim()), rows = [], day = 0;
    while (r.pos < r.text.length) {
      day += r.next() * 86400;
      var row = { day: day, empty: r.next(), hours: [] };
      for (var h = 0; h < 24 && !row.empty; ++h) {
        var cell = { cycles: r.next() };
        if (cell.cycles) {
          cell.lost = r.next();
          cell.sent = 3 * cell.cycles - r.next();
          if (cell.sent > cell.lost) cell.median = r.next();
        }
        row.hours.push(cell);
      }
      rows.push(row);
    }
    return rows;
  }
  function hourTitle(t, cell) {
    var title = format('%dd.%mm.%yyyy %hh:00', t) + '\u2013' + format('%hh:00', t + 3600);
    if (!cell.cycles) return title + ': no entries';
    return title + ': loss ' + (cell.sent ? 100 * cell.lost / cell.sent : 0).toFixed(2) + ' %, ' +
      (cell.median === undefined ? 'no replies' : 'median ' + cell.median + ' ms') + ', ' +
      cell.cycles + (cell.cycles === 1 ? ' cycle' : ' cycles');
  }
  document.querySelectorAll('svg.heat-map[data-host]').forEach(function (svg) {
    var rows = null, title = svg.querySelector('title');
    var top = +svg.getAttribute('data-rows-top'), rowHeight = +svg.getAttribute('data-row-height');
    svg.addEventListener('mousemove', function (event) {
      rows = rows || heatRows(svg);
      var box = svg.getBoundingClientRect(), scale = 1000 / box.width;
      var x = (event.clientX - box.left) * scale, y = (event.clientY - box.top) * scale;
      var row = y >= top ? rows[Math.floor((y - top) / rowHeight)] : null;
      var h = Math.floor((x - LEFT) * 24 / (RIGHT - LEFT));
      title.textContent = row && !row.empty && h >= 0 && h < 24
        ? hourTitle(row.day + h * 3600, row.hours[h]) : '';
    });
  });

  // A chart the page carries drawn is kept to be shown again; one it carries as a frame
  // (a page of many hosts) is drawn here when it comes into view, and drawn anew then.
  var hosts = [], whole = null;
  document.querySelectorAll('.chart-box').forEach(function (box, index) {
    var svg = box.querySelector('svg'), onView = svg.getAttribute('data-drawn') === 'on view';
    hosts.push({ index: index, svg: svg, original: onView ? null : svg.innerHTML, seen: !onView,
      meta: JSON.parse(document.getElementById('meta-' + index).textContent) });
  });
  if (!hosts.length) return;
  whole = [hosts[0].meta.start, hosts[0].meta.end];
  var bar = document.getElementById('zoom'), shown = document.getElementById('shown');

  // The period in the address, within the logs' own (an address made for a longer
  // period shows what there is); nothing for an address that names none.
  function parseHash() {
    var hash;
    try { hash = decodeURIComponent(location.hash); } catch (e) { return null; }
    var m = /^#from=(\d{4})-(\d\d)-(\d\d)T(\d\d):(\d\d)&to=(\d{4})-(\d\d)-(\d\d)T(\d\d):(\d\d)$/
      .exec(hash);
    if (!m) return null;
    var from = Math.max(utc(+m[1], m[2] - 1, +m[3], +m[4], +m[5]), whole[0]);
    var to = Math.min(utc(+m[6], m[7] - 1, +m[8], +m[9], +m[10]), whole[1]);
    return to > from ? [from, to] : null;
  }
  // The strips the page carries are set aside while a zoom shows others, and put back
  // (moved, not copied: a fleet's strips are many).
  var strips = document.getElementById('strips'), stripsOriginal = null;
  // Compact strips (a fleet's page) carry their buckets: a strip hovered is titled with
  // its words and times, as the program titles them.
  if (strips && strips.hasAttribute('data-width')) {
    strips.addEventListener('mouseover', function (event) {
      var rect = event.target, b = rect.getAttribute && rect.getAttribute('data-b');
      if (!b || rect.firstChild) return;
      var start = +strips.getAttribute('data-start'), width = +strips.getAttribute('data-width');
      var run = b.split(' '), from = start + run[0] * width;
      var to = Math.min(+strips.getAttribute('data-end'), start + run[1] * width);
      var title = document.createElementNS('http://www.w3.org/2000/svg', 'title');
      title.textContent = STRIP_WORDS[STRIP_CLASSES.indexOf(rect.getAttribute('class'))] + ': ' +
        readable(from) + ' to ' + readable(to);
      rect.appendChild(title);
    });
  }
  // A host's chart of the period it is to show (its own drawing for the whole period,
  // if the page carries one), once it has been in view.
  function paint(host) {
    if (!host.seen) return;
    if (host.period) {
      draw(host, host.period[0], host.period[1]);
    } else {
      host.svg.innerHTML = host.original;
    }
  }
  var watcher = window.IntersectionObserver && new IntersectionObserver(function (seen) {
    seen.forEach(function (entry) {
      if (!entry.isIntersecting) return;
      var host = hosts[+entry.target.getAttribute('data-host')];
      watcher.unobserve(entry.target);
      host.seen = true;
      paint(host);
    });
  }, { rootMargin: '300px' });
  hosts.forEach(function (host) {
    if (host.seen) return;
    host.svg.setAttribute('data-host', host.index);
    if (watcher) watcher.observe(host.svg); else host.seen = true;
  });
  function show() {
    var period = parseHash();
    hosts.forEach(function (host) {
      host.period = period || (host.original === null ? whole : null);
      paint(host);
    });
    if (period && strips) {
      if (!stripsOriginal) {
        stripsOriginal = document.createDocumentFragment();
        while (strips.firstChild) stripsOriginal.appendChild(strips.firstChild);
      }
      drawTimeline(period[0], period[1]);
    } else if (stripsOriginal) {
      strips.textContent = '';
      strips.appendChild(stripsOriginal);
      stripsOriginal = null;
    }
    bar.classList.toggle('zoomed', !!period);
    var g = period && grid(period[0], period[1], hosts[0].meta.interval);
    shown.textContent = period
      ? 'Shown: ' + readable(period[0]) + ' to ' + readable(period[1]) + ' (buckets of ' +
        duration(g.width) + finerNote(g) + ')'
      : 'Shown: the whole period.';
  }
  // Why a zoom into older days is drawn in wider buckets than its span would take.
  function finerNote(g) {
    if (g.level < 0 || g.width <= g.usual) return '';
    if (g.level > 0 && R.levels[g.level - 1][0] >= g.usual) {
      return ': finer detail is kept from ' + readable(R.levels[g.level - 1][1]).slice(0, 10);
    }
    return ': finer detail is kept for the last ' +
      Math.floor((whole[1] - R.recent) / 86400) + ' days';
  }
  function zoom(from, to) {
    from = Math.floor(from / 60) * 60;
    to = Math.max(Math.ceil(to / 60) * 60, from + 60);
    location.hash = 'from=' + iso(from) + '&to=' + iso(to);
  }
  function current() { return parseHash() || whole; }

  hosts.forEach(function (host) {
    var svg = host.svg, startX = null, mark = null;
    function timeAt(event) {
      var box = svg.getBoundingClientRect(), period = current();
      var sx = (event.clientX - box.left) * 1000 / box.width;
      var share = Math.min(Math.max((sx - LEFT) / (RIGHT - LEFT), 0), 1);
      return { x: LEFT + share * (RIGHT - LEFT), t: period[0] + share * (period[1] - period[0]) };
    }
    svg.addEventListener('pointerdown', function (event) {
      startX = timeAt(event);
      svg.setPointerCapture(event.pointerId);
      mark = document.createElementNS('http://www.w3.org/2000/svg', 'rect');
      mark.setAttribute('class', 'selection');
      mark.setAttribute('y', TOP);
      mark.setAttribute('height', BOTTOM - TOP);
      svg.appendChild(mark);
      event.preventDefault();
    });
    svg.addEventListener('pointermove', function (event) {
      if (startX === null) return;
      var at = timeAt(event);
      mark.setAttribute('x', Math.min(at.x, startX.x));
      mark.setAttribute('width', Math.abs(at.x - startX.x));
    });
    svg.addEventListener('pointerup', function (event) {
      if (startX === null) return;
      var at = timeAt(event), begin = startX;
      startX = null;
      mark.remove();
      if (Math.abs(at.x - begin.x) >= 4) zoom(Math.min(at.t, begin.t), Math.max(at.t, begin.t));
    });
  });
  document.getElementById('reset').addEventListener('click', function () {
    history.pushState(null, '', location.pathname + location.search);
    show();
  });
  window.addEventListener('hashchange', show);
  bar.hidden = false;
  show();
})();
