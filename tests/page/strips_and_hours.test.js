// The script's words for what the page packs, against the program's own drawing of the
// same logs (its --svg): the strips it draws when zoomed, at the whole period, and the
// heat map's hours it titles when hovered.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { decodeHeatRows } from '../../report/write/page/script/packed.js';
import { hourTitle } from '../../report/write/page/script/heat_map.js';
import { drawStrips } from '../../report/write/page/script/strips.js';
import { corpusLogs, missing, output, readPage } from './fixture.js';
import { firstDifference } from './svg_elements.js';

const withoutTexts = (svg) => svg.replace(/<text\b.*?<\/text>/gs, '');

for (const kase of ['five_hosts', 'branch']) {
  test(`${kase}: strips and hours as the program draws them`, { skip: missing }, () => {
    const logs = corpusLogs(kase);
    const svg = output(logs, '--svg', `${kase}.svg`);
    const hosts = readPage(output(logs, '--html', `${kase}.html`));
    const strips = /<g id="strips"[^>]*>(.*?)<\/g>/s.exec(svg)[1];
    const drawn = drawStrips(hosts, hosts[0].meta.start, hosts[0].meta.end, (row) => 26 * row + 13, 0);
    assert.equal(firstDifference({ svg: withoutTexts(strips) }, { svg: withoutTexts(drawn) }), null);

    const maps = [...svg.matchAll(/<g class="heat">(.*?)<\/g>/gs)].map((m) => m[1]);
    assert.equal(maps.length, hosts.length);
    hosts.forEach((host, i) => {
      const programs = [...maps[i].matchAll(/<title>(\d\d\.\d\d\.\d{4} \d\d:00.*?)<\/title>/g)].map((m) => m[1]);
      const scripts = decodeHeatRows(host.read('hours').trim())
        .filter((row) => !row.empty)
        .flatMap((row) => row.hours.map((cell, h) => hourTitle(row.day + h * 3600, cell)));
      assert.ok(programs.length > 0);
      assert.deepEqual(scripts, programs, `host ${i}`);
    });
  });
}
