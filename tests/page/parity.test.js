// The script draws a span as the program draws it: the program's chart (its page's
// first view, or a page of --from/--to) against the script's drawing of the same axis
// from the page's packed cycles and levels, element by element.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { R } from '../../report/write/page/script/rules.js';
import { drawChart } from '../../report/write/page/script/chart.js';
import { decodeCycles } from '../../report/write/page/script/packed.js';
import { corpusLogs, generatedLog, missing, output, readPage } from './fixture.js';
import { firstDifference } from './svg_elements.js';

// The cycles of `host` from `first` to `last`: a page of --from/--to holds no others,
// though its axis may reach on (to the last one's period's end).
function keepCycles(host, first, last) {
  const c = decodeCycles(host.read('cycles').trim(), host.meta.step);
  const from = c.times.findIndex((t) => t >= first),
    to = c.times.findLastIndex((t) => t <= last) + 1;
  const times = c.times.subarray(from, to);
  host.cycles = { ...c, times, counts: c.counts.subarray(from, to), first: c.first.subarray(from, to) };
}

// The program's chart of each host of `page` against the script's drawing of its axis,
// from the hosts of `whole` (a page of the logs' whole period).
function compare(whole, page) {
  const hosts = readPage(page);
  assert.ok(hosts.length && hosts.every((host) => host.chart), 'a page with its charts drawn');
  const spans = hosts.map((host) => {
    const { times } = decodeCycles(host.read('cycles').trim(), host.meta.step);
    return [times[0], times[times.length - 1]];
  });
  const wholeHosts = readPage(whole);
  hosts.forEach((host, i) => {
    const { start, end } = host.meta;
    if (page !== whole) keepCycles(wholeHosts[i], ...spans[i]);
    const drawn = drawChart(wholeHosts[i], start, end);
    const difference = firstDifference(
      { svg: host.chart, endLabelsY: R.endLabels },
      { svg: drawn.markup, endLabelsY: R.endLabels },
    );
    assert.equal(difference, null, `host ${i}, ${start} to ${end}`);
  });
}

test('the README week, whole and a day, an hour and ten minutes of it', { skip: missing }, () => {
  const log = generatedLog('week.log', 10080, '2026-11-02 00:00:00');
  const whole = output([log], '--html', 'week.html');
  compare(whole, whole);
  for (const [from, to] of [
    ['2026-11-04 00:00:00', '2026-11-04 23:59:59'],
    ['2026-11-06 18:00:00', '2026-11-06 18:59:59'],
    ['2026-11-06 18:30:00', '2026-11-06 18:39:59'],
  ]) {
    compare(whole, output([log, '--from', from, '--to', to], '--html', 'zoom.html'));
  }
});

test('the five hosts of the corpus, whole and an evening', { skip: missing }, () => {
  const logs = corpusLogs('five_hosts');
  const whole = output(logs, '--html', 'five.html');
  compare(whole, whole);
  const evening = output([...logs, '--from', '2026-11-30 18:00', '--to', '2026-11-30 23:59'], '--html', 'zoom.html');
  compare(whole, evening);
});

// A zoom into older days is drawn from the buckets kept for them: compared where the
// program's own width for the span is a kept level's (30 minutes, 2 and 6 hours), from
// a start on that level's grid; and the recent days, from every cycle.
test('a year, at each level of detail', { skip: missing }, () => {
  const log = generatedLog('year.log', 105120, '2025-01-01 00:00:00', 5);
  const whole = output([log], '--html', 'year.html');
  for (const [from, to] of [
    ['2025-03-03 00:00:00', '2025-03-14 23:59:59'],
    ['2025-05-01 00:00:00', '2025-06-14 23:59:59'],
    ['2025-02-01 00:00:00', '2025-06-30 23:59:59'],
    ['2025-12-29 00:00:00', '2025-12-29 23:59:59'],
  ]) {
    compare(whole, output([log, '--from', from, '--to', to], '--html', 'zoom.html'));
  }
});
