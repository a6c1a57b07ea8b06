// The page's zoom: drag across a chart to show that period in every chart, in finer
// buckets made from the cycles the page carries (every cycle of the recent past) or
// from its consolidated buckets of older days (at the widths a zoom draws, from 30
// minutes on: the same buckets as from every cycle); the address keeps the period
// (#from=YYYY-MM-DDTHH:MM&to=YYYY-MM-DDTHH:MM) so that a zoomed view can be sent.
// Without this script the page shows the charts of the whole period as written.
import { R, takeRules } from './rules.js';
import { decodeHeatRows } from './packed.js';
import { grid } from './buckets.js';
import { drawChart } from './chart.js';
import { drawStrips, stateOfClass, stripTitle } from './strips.js';
import { hourTitle } from './heat_map.js';
import { duration, iso, readable, utc } from './time_words.js';

const SVG_NS = 'http://www.w3.org/2000/svg';

function textOf(id) {
  return document.getElementById(id).textContent;
}

// The heat map's hour under the pointer, in the map's title.
function watchHeatMaps() {
  document.querySelectorAll('svg.heat-map[data-host]').forEach((svg) => {
    let rows = null;
    const title = svg.querySelector('title');
    const top = +svg.getAttribute('data-rows-top'),
      rowHeight = +svg.getAttribute('data-row-height');
    svg.addEventListener('mousemove', (event) => {
      rows = rows || decodeHeatRows(textOf('hours-' + svg.getAttribute('data-host')).trim());
      const box = svg.getBoundingClientRect(),
        scale = 1000 / box.width;
      const x = (event.clientX - box.left) * scale,
        y = (event.clientY - box.top) * scale;
      const row = y >= top ? rows[Math.floor((y - top) / rowHeight)] : null;
      const h = Math.floor(((x - R.left) * 24) / (R.right - R.left));
      title.textContent =
        row && !row.empty && h >= 0 && h < 24 ? hourTitle(row.day + h * 3600, row.hours[h]) : '';
    });
  });
}

// Compact strips (a fleet's page) carry their buckets: a strip hovered is titled with
// its words and times, as the program titles them.
function watchCompactStrips(strips) {
  if (!strips || !strips.hasAttribute('data-width')) return;
  strips.addEventListener('mouseover', (event) => {
    const rect = event.target,
      b = rect.getAttribute && rect.getAttribute('data-b');
    if (!b || rect.firstChild) return;
    const start = +strips.getAttribute('data-start'),
      width = +strips.getAttribute('data-width');
    const [first, end] = b.split(' ').map(Number);
    const to = Math.min(+strips.getAttribute('data-end'), start + end * width);
    const title = document.createElementNS(SVG_NS, 'title');
    title.textContent = stripTitle(stateOfClass(rect.getAttribute('class')), start + first * width, to);
    rect.appendChild(title);
  });
}

// The hosts' charts: one the page carries drawn is kept to be shown again; one it
// carries as a frame (a page of many hosts) is drawn here when it comes into view.
function findHosts() {
  return Array.from(document.querySelectorAll('.chart-box'), (box, index) => {
    const svg = box.querySelector('svg'),
      onView = svg.getAttribute('data-drawn') === 'on view';
    return {
      index,
      svg,
      original: onView ? null : svg.innerHTML,
      seen: !onView,
      meta: JSON.parse(textOf('meta-' + index)),
      read: (kind) => textOf(kind + '-' + index),
    };
  });
}

// A host's chart of the period it is to show (its own drawing for the whole period,
// if the page carries one), once it has been in view.
function paint(host) {
  if (!host.seen) return;
  if (!host.period) {
    host.svg.innerHTML = host.original;
    return;
  }
  const chart = drawChart(host, host.period[0], host.period[1]);
  host.svg.setAttribute('data-bucket-seconds', chart.grid.width);
  host.svg.setAttribute('data-top-ms', chart.top);
  host.svg.innerHTML = chart.markup;
}

function watchCharts(hosts) {
  const watcher =
    window.IntersectionObserver &&
    new IntersectionObserver(
      (seen) => {
        seen.forEach((entry) => {
          if (!entry.isIntersecting) return;
          const host = hosts[+entry.target.getAttribute('data-host')];
          watcher.unobserve(entry.target);
          host.seen = true;
          paint(host);
        });
      },
      { rootMargin: '300px' },
    );
  hosts.forEach((host) => {
    if (host.seen) return;
    host.svg.setAttribute('data-host', host.index);
    if (watcher) watcher.observe(host.svg);
    else host.seen = true;
  });
}

// The period in the address, within the logs' own (an address made for a longer
// period shows what there is); nothing for an address that names none.
function periodOf(hash, whole) {
  let text;
  try {
    text = decodeURIComponent(hash);
  } catch {
    return null;
  }
  const m = /^#from=(\d{4})-(\d\d)-(\d\d)T(\d\d):(\d\d)&to=(\d{4})-(\d\d)-(\d\d)T(\d\d):(\d\d)$/.exec(text);
  if (!m) return null;
  const from = Math.max(utc(+m[1], m[2] - 1, +m[3], +m[4], +m[5]), whole[0]);
  const to = Math.min(utc(+m[6], m[7] - 1, +m[8], +m[9], +m[10]), whole[1]);
  return to > from ? [from, to] : null;
}

// Why a zoom into older days is drawn in wider buckets than its span would take.
function finerNote(g, whole) {
  if (g.level < 0 || g.width <= g.usual) return '';
  if (g.level > 0 && R.levels[g.level - 1][0] >= g.usual) {
    return ': finer detail is kept from ' + readable(R.levels[g.level - 1][1]).slice(0, 10);
  }
  return ': finer detail is kept for the last ' + Math.floor((whole[1] - R.recent) / R.day) + ' days';
}

// The strips the page carries are set aside while a zoom shows others, and put back
// (moved, not copied: a fleet's strips are many).
function stripsShower(hosts) {
  const strips = document.getElementById('strips');
  let original = null;
  watchCompactStrips(strips);
  return (period) => {
    if (!strips) return;
    if (period) {
      if (!original) {
        original = document.createDocumentFragment();
        while (strips.firstChild) original.appendChild(strips.firstChild);
      }
      const labels = document.querySelectorAll('#timeline text.strip-host');
      const rowY = (row) => +labels[row].getAttribute('y') + 3;
      const bottom = +labels[labels.length - 1].getAttribute('y') + 24;
      strips.innerHTML = drawStrips(hosts, period[0], period[1], rowY, bottom);
    } else if (original) {
      strips.textContent = '';
      strips.appendChild(original);
      original = null;
    }
  };
}

// Dragging across a chart zooms into what was dragged across.
function watchDrags(host, current, zoom) {
  const svg = host.svg;
  let start = null,
    mark = null;
  function timeAt(event) {
    const box = svg.getBoundingClientRect(),
      period = current();
    const sx = ((event.clientX - box.left) * 1000) / box.width;
    const share = Math.min(Math.max((sx - R.left) / (R.right - R.left), 0), 1);
    return { x: R.left + share * (R.right - R.left), t: period[0] + share * (period[1] - period[0]) };
  }
  svg.addEventListener('pointerdown', (event) => {
    start = timeAt(event);
    svg.setPointerCapture(event.pointerId);
    mark = document.createElementNS(SVG_NS, 'rect');
    mark.setAttribute('class', 'selection');
    mark.setAttribute('y', R.top);
    mark.setAttribute('height', R.bottom - R.top);
    svg.appendChild(mark);
    event.preventDefault();
  });
  svg.addEventListener('pointermove', (event) => {
    if (start === null) return;
    const at = timeAt(event);
    mark.setAttribute('x', Math.min(at.x, start.x));
    mark.setAttribute('width', Math.abs(at.x - start.x));
  });
  svg.addEventListener('pointerup', (event) => {
    if (start === null) return;
    const at = timeAt(event),
      begin = start;
    start = null;
    mark.remove();
    if (Math.abs(at.x - begin.x) >= 4) zoom(Math.min(at.t, begin.t), Math.max(at.t, begin.t));
  });
}

function main() {
  const rulesNode = document.getElementById('chart-rules');
  if (!rulesNode) return;
  takeRules(JSON.parse(rulesNode.textContent));
  watchHeatMaps();
  const hosts = findHosts();
  if (!hosts.length) return;
  watchCharts(hosts);
  const whole = [hosts[0].meta.start, hosts[0].meta.end];
  const bar = document.getElementById('zoom'),
    shown = document.getElementById('shown');
  const showStrips = stripsShower(hosts);
  const current = () => periodOf(location.hash, whole) || whole;
  function show() {
    const period = periodOf(location.hash, whole);
    hosts.forEach((host) => {
      host.period = period || (host.original === null ? whole : null);
      paint(host);
    });
    showStrips(period);
    bar.classList.toggle('zoomed', !!period);
    const g = period && grid(period[0], period[1], hosts[0].meta.interval);
    shown.textContent = period
      ? `Shown: ${readable(period[0])} to ${readable(period[1])} (buckets of ${duration(g.width)}${finerNote(g, whole)})`
      : 'Shown: the whole period.';
  }
  function zoom(from, to) {
    from = Math.floor(from / 60) * 60;
    to = Math.max(Math.ceil(to / 60) * 60, from + 60);
    location.hash = 'from=' + iso(from) + '&to=' + iso(to);
  }
  hosts.forEach((host) => watchDrags(host, current, zoom));
  document.getElementById('reset').addEventListener('click', () => {
    history.pushState(null, '', location.pathname + location.search);
    show();
  });
  window.addEventListener('hashchange', show);
  bar.hidden = false;
  show();
}

main();
