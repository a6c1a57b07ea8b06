// Pages made by the program from generated logs, read as the page's script reads them.
// The program and the log maker come from PINGLOG_REPORT and PINGLOG_MAKE_LOG (set
// by CTest); without them the tests that need them are skipped.
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { takeRules } from '../../report/write/page/script/rules.js';

export const report = process.env.PINGLOG_REPORT;
export const makeLog = process.env.PINGLOG_MAKE_LOG;
export const missing = !report || !makeLog ? 'PINGLOG_REPORT and PINGLOG_MAKE_LOG are not set' : false;

const work = mkdtempSync(join(tmpdir(), 'pinglog-page-'));
process.on('exit', () => rmSync(work, { recursive: true, force: true }));

// A log of `cycles` one-minute (or `interval`) cycles from `start` ("YYYY-MM-DD HH:MM:SS").
export function generatedLog(name, cycles, start, interval = 1) {
  const text = execFileSync(makeLog, ['--cycles', `${cycles}`, '--interval', `${interval}`, '--start', start], {
    maxBuffer: 1 << 30,
  });
  writeFileSync(join(work, name), text);
  return name;
}

// The logs of one of the corpus's cases (tests/e2e/helpers/report_corpus.py).
export function corpusLogs(kase) {
  const script =
    'import os, sys\nsys.path.insert(0, "tests/e2e/helpers")\nimport report_corpus\n' +
    `logs = report_corpus.${kase}()\n` +
    'for name, lines in logs.items():\n' +
    '    open(os.path.join(sys.argv[1], name), "w", newline="").writelines(lines)\n' +
    'print(" ".join(sorted(logs)))\n';
  const root = new URL('../..', import.meta.url).pathname;
  return execFileSync('python3', ['-c', script, work], { cwd: root }).toString().trim().split(' ');
}

// The program's output for `args` (the logs, then options), written to `file`.
export function output(args, option, file) {
  execFileSync(report, [...args, option, file], {
    cwd: work,
    env: { ...process.env, SOURCE_DATE_EPOCH: '1796000000' },
    stdio: ['ignore', 'ignore', 'inherit'],
  });
  return readFileSync(join(work, file), 'utf8');
}

function scriptText(html, id) {
  const m = new RegExp(`<script type="[a-z/]+" id="${id}">([^<]*)</script>`).exec(html);
  return m ? m[1] : null;
}

// The page's hosts as the script sees them (their data, and the chart the program drew,
// if it did), its rules taken.
export function readPage(html) {
  takeRules(JSON.parse(scriptText(html, 'chart-rules')));
  const charts = [...html.matchAll(/<svg class="chart"[^>]*>\n?(.*?)<\/svg>/gs)].map((m) => m[1]);
  const hosts = [];
  for (let index = 0; scriptText(html, 'meta-' + index) !== null; ++index) {
    const meta = JSON.parse(scriptText(html, 'meta-' + index));
    hosts.push({ index, meta, chart: charts[index], read: (kind) => scriptText(html, `${kind}-${index}`) });
  }
  return hosts;
}
