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
function watchHeatMap(svg) {
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

// The hosts, by the data the page carries for each. What a host shows (its chart, its
// heat map) is found once its section is built: at once, or (a fleet's page, whose
// sections are carried as inert text) when the section comes near the view.
function findHosts() {
  const hosts = [];
  for (let index = 0; document.getElementById('meta-' + index); ++index) {
    hosts.push({
      index,
      svg: null,
      meta: JSON.parse(textOf('meta-' + index)),
      read: (kind) => textOf(kind + '-' + index),
    });
  }
  return hosts;
}
function buildLater(section) {
  const body = section.querySelector('script.later-body');
  if (!body) return;
  body.insertAdjacentHTML('afterend', body.textContent);
  body.remove();
  section.classList.remove('later');
}

// A host's chart of the period it is to show (its own drawing for the whole period,
// if the page carries one), once its section is built.
function paint(host) {
  if (!host.svg) return;
  if (!host.period) {
    host.svg.innerHTML = host.original;
    return;
  }
  const chart = drawChart(host, host.period[0], host.period[1]);
  host.svg.setAttribute('data-bucket-seconds', chart.grid.width);
  host.svg.setAttribute('data-top-ms', chart.top);
  host.svg.innerHTML = chart.markup;
}

// Calls `then(element)` once for each element when it comes within `margin` of the
// view (at once without IntersectionObserver).
function whenNear(margin, then) {
  if (!window.IntersectionObserver) return then;
  const watcher = new IntersectionObserver(
    (entries) => {
      entries.forEach((entry) => {
        if (!entry.isIntersecting) return;
        watcher.unobserve(entry.target);
        then(entry.target);
      });
    },
    { rootMargin: margin },
  );
  return (element) => watcher.observe(element);
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

// A fleet's strips past their first rows are carried as inert text in chunks of rows,
// each put in place of its placeholder when it comes near the view.
function buildStripChunk(placeholder) {
  if (!placeholder.isConnected) return;
  const chunk = placeholder.getAttribute('data-chunk');
  const rows = document.querySelector(`script.strip-rows[data-chunk="${chunk}"]`);
  placeholder.insertAdjacentHTML('afterend', rows.textContent);
  placeholder.remove();
}
function watchStripChunks(strips) {
  strips.querySelectorAll('rect.strip-later').forEach(whenNear('1500px', buildStripChunk));
}

// The strips the page carries are set aside while a zoom shows others, and put back
// (moved, not copied: a fleet's strips are many).
function stripsShower(hosts) {
  const strips = document.getElementById('strips');
  let original = null;
  if (strips) watchStripChunks(strips);
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
  // A touch that pans the box (a narrow screen) is no drag.
  svg.addEventListener('pointercancel', () => {
    if (start === null) return;
    start = null;
    mark.remove();
  });
}

function main() {
  const rulesNode = document.getElementById('chart-rules');
  if (!rulesNode) return;
  takeRules(JSON.parse(rulesNode.textContent));
  const hosts = findHosts();
  if (!hosts.length) return;
  const whole = [hosts[0].meta.start, hosts[0].meta.end];
  const bar = document.getElementById('zoom'),
    shown = document.getElementById('shown');
  const showStrips = stripsShower(hosts);
  const current = () => periodOf(location.hash, whole) || whole;
  // The period a host's chart is to show: the zoom's, or null for the drawing the page
  // carries (a frame has none: the whole period, drawn here).
  const periodFor = (host) => periodOf(location.hash, whole) || (host.original === null ? whole : null);
  // A host's section built: its heat map and chart watched, a frame drawn (a fleet's
  // section is built when it comes near the view, its chart with it).
  function wire(host) {
    const section = document.getElementById('host-' + host.index);
    section.querySelectorAll('svg.heat-map[data-host]').forEach(watchHeatMap);
    host.svg = section.querySelector('svg.chart');
    const frame = host.svg.getAttribute('data-drawn') === 'on view';
    host.original = frame ? null : host.svg.innerHTML;
    host.period = periodFor(host);
    watchDrags(host, current, zoom);
    if (frame) paint(host);
  }
  const build = (section) => {
    if (!section.classList.contains('later')) return;
    buildLater(section);
    wire(hosts[+section.id.slice('host-'.length)]);
  };
  const sectionNear = whenNear('1500px', build);
  // Printed, the page is printed whole: what is still inert text is built first.
  window.addEventListener('beforeprint', () => {
    document.querySelectorAll('section.later').forEach(build);
    document.querySelectorAll('#strips rect.strip-later').forEach(buildStripChunk);
  });
  hosts.forEach((host) => {
    const section = document.getElementById('host-' + host.index);
    if (section.classList.contains('later')) sectionNear(section);
    else wire(host);
  });
  function show() {
    const period = periodOf(location.hash, whole);
    hosts.forEach((host) => {
      if (!host.svg) return;
      host.period = periodFor(host);
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
  document.getElementById('reset').addEventListener('click', () => {
    history.pushState(null, '', location.pathname + location.search);
    show();
  });
  window.addEventListener('hashchange', show);
  bar.hidden = false;
  show();
}

main();
