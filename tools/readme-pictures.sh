#!/usr/bin/env bash
# Makes the README's pictures anew from generated logs, with headless Chromium:
#   docs/report-page.png: the top of a week's page (overview, chart, heat map);
#   docs/report-incidents.png: the top of the page of five hosts on a path that
#     branches (the corpus's "branch"): the incidents and the degradation episode;
#   docs/incidents-timeline.png: the five-host example's strips (the --svg's top part).
# Run it whenever the page changes, and look at the pictures before committing them.
# Usage: tools/readme-pictures.sh [BUILD_DIR]   (needs chromium and a built pinglog-report)
set -euo pipefail
cd "$(dirname "$0")/.."
report=$(readlink -f "${1:-build}/pinglog-report")
make_log=$(readlink -f "${1:-build}/tests/make_log")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# shot FILE PNG WIDTH,HEIGHT: a screenshot of the top of FILE.
shot() {
  timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$work/chromium" --hide-scrollbars --window-size="$3" \
    --screenshot="$2" "file://$1" >/dev/null 2>&1
}

# A week of one-minute cycles with an evening of loss and an outage, as the README's
# first picture.
"$make_log" --cycles 10080 --interval 1 --start "2026-11-02 00:00:00" --host 192.0.2.1 >"$work/week.log"
(cd "$work" && SOURCE_DATE_EPOCH=1796000000 "$report" week.log --tz Europe/Berlin \
  --name 192.0.2.1=router --html "$work/week.html" >/dev/null)
shot "$work/week.html" docs/report-page.png 1100,1250
echo "docs/report-page.png written"

# corpus_logs CASE DIR: the logs of one of the corpus's cases, as its test writes them.
corpus_logs() {
  python3 - "$1" "$2" <<'PY'
import os, sys
sys.path.insert(0, "tests/e2e/helpers")
import report_corpus
os.makedirs(sys.argv[2])
for name, lines in getattr(report_corpus, sys.argv[1])().items():
    with open(os.path.join(sys.argv[2], name), "w", newline="") as out:
        out.writelines(lines)
PY
}

# A path that branches, with two incidents and a degraded link.
corpus_logs branch "$work/branch"
(cd "$work/branch" && SOURCE_DATE_EPOCH=1796000000 "$report" *.log --tz Europe/Berlin \
  --name 192.168.1.1=router --name 100.64.0.1=isp --name 198.51.100.10=site1 \
  --name 198.51.100.20=site2 --path 192.168.1.1,100.64.0.1,198.51.100.10 \
  --path 192.168.1.1,100.64.0.1,198.51.100.20 --html "$work/branch.html" >/dev/null)
shot "$work/branch.html" docs/report-incidents.png 1100,1400
echo "docs/report-incidents.png written"

# The five loggers of the README's example.
corpus_logs five_hosts "$work/five"
(cd "$work/five" && "$report" *.log --tz Europe/Berlin --svg "$work/five.svg" >/dev/null)
height=$((5 * 26 + 36 + 14))  # five strips and their key, below the SVG's top margin
shot "$work/five.svg" docs/incidents-timeline.png "1000,$height"
echo "docs/incidents-timeline.png written"
