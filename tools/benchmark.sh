#!/usr/bin/env bash
# The report's benchmark: generates a year of one-minute cycles per host (525,600
# entries, about 220 MB a log; five hosts, and ten years of one) and prints what the
# README quotes, each time as the median of five runs and each ratio taken in this
# one run, the commands compared run in turn (the machine may be shared: absolute
# times drift, ratios much less):
#   the plain report and --html against `wc -l` on the same log, their peak memory
#   and the page's size; --openmetrics against the plain report plus `cat` of its
#   output (both into /dev/null); five host-years with --html; ten years of one
#   host; Chromium's first render of the five-host page against a one-host week's;
#   with a Windows build, its plain report under Wine against the Linux build's.
# Usage, from the project's root: tools/benchmark.sh [BUILD_DIR [WINDOWS_BUILD_DIR]]
# (a built pinglog-report and tests/make_log; about 2.5 GB in a temporary folder,
# removed afterwards)
set -euo pipefail
build=$(readlink -f "${1:-build}")
report="$build/pinglog-report"
wine_run=$(readlink -f tools/wine-run.sh)
windows=${2:+$(readlink -f "$2")/pinglog-report.exe}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

for host in router gw.isp dns.isp remote cloud; do
  "$build/tests/make_log" --cycles 525600 --interval 1 --start "2025-01-01 00:00:00" --host "$host" >"$host.log"
done
"$build/tests/make_log" --cycles 10080 --interval 1 --start "2025-12-25 00:00:00" >week.log
"$build/tests/make_log" --cycles 5256000 --interval 1 --start "2016-01-01 00:00:00" >ten-years.log
"$report" router.log --openmetrics metrics.txt >/dev/null
sync
cat ./*.log metrics.txt >/dev/null  # read from memory from here on, as wc -l is

# runs NAME COMMAND... [:: NAME COMMAND...]...: runs the commands in turn, one after
# the other, five rounds, so that a load on the machine falls on each alike; for each,
# the median seconds and its largest peak memory, as "NAME SECONDS MB", also kept in
# $work/NAME.result.
runs() {
  python3 - "$@" <<'PY'
import os, statistics, subprocess, sys, time
commands, current = [], []
for word in sys.argv[1:] + ["::"]:
    if word == "::":
        commands.append(current)
        current = []
    else:
        current.append(word)
times = {c[0]: [] for c in commands}
peaks = {c[0]: 0 for c in commands}
for _ in range(5):
    for name, *argv in commands:
        start = time.monotonic()
        child = subprocess.Popen(argv, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        _, status, usage = os.wait4(child.pid, 0)
        times[name].append(time.monotonic() - start)
        if status != 0:
            sys.exit(f"{name}: exit status {status}")
        peaks[name] = max(peaks[name], usage.ru_maxrss / 1024)
for name, *_ in commands:
    line = f"{statistics.median(times[name]):.3f} {peaks[name]:.0f}"
    with open(f"{name}.result", "w") as result:
        print(line, file=result)
    print(name, line)
PY
}
seconds() { cut -d' ' -f1 "$1.result"; }
megabytes() { cut -d' ' -f2 "$1.result"; }
ratio() { python3 -c "print(f'{$1 / $2:.2f}')"; }

echo "== a year of one host; five host-years; ten years of one host: seconds, peak MB"
echo "   (median of five rounds, the commands in turn)"
runs wc wc -l router.log :: plain "$report" router.log :: html "$report" router.log --html one.html \
  :: openmetrics "$report" router.log --openmetrics /dev/null :: cat cat metrics.txt \
  :: five "$report" router.log gw.isp.log dns.isp.log remote.log cloud.log --html five.html \
  :: ten "$report" ten-years.log
"$report" week.log --html week.html >/dev/null

render() {
  timeout 300 chromium --headless --no-sandbox --disable-gpu --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$work/chromium" --window-size=1100,900 --screenshot="$work/shot.png" \
    "file://$work/$1" >/dev/null 2>&1
}
if command -v chromium >/dev/null; then
  export -f render
  export work
  runs render_week bash -c 'render week.html' :: render_five bash -c 'render five.html'
fi

if [ -n "$windows" ]; then
  # Into a file: Wine writes to a character device such as /dev/null as to a console.
  # One run first, untimed: the first program in a while starts Wine's server (a second).
  WINEPREFIX=$(dirname "$windows")/wineprefix "$wine_run" "$windows" --version >/dev/null 2>&1 || true
  runs windows bash -c "WINEPREFIX=$(dirname "$windows")/wineprefix '$wine_run' '$windows' router.log >windows.txt" \
    :: linux bash -c "'$report' router.log >linux.txt"
fi

echo "== ratios"
echo "plain report: $(ratio "$(seconds plain)" "$(seconds wc)") x wc -l, $(megabytes plain) MB"
echo "--html: $(ratio "$(seconds html)" "$(seconds wc)") x wc -l, $(megabytes html) MB," \
  "page $(stat -c %s one.html) bytes"
echo "--openmetrics: $(ratio "$(seconds openmetrics)" "$(python3 -c "print($(seconds plain) + $(seconds cat))")")" \
  "x (plain report + cat of its $(stat -c %s metrics.txt) bytes)"
echo "five host-years --html: $(ratio "$(seconds five)" "$(seconds wc)") x wc -l of one," \
  "$(megabytes five) MB, page $(stat -c %s five.html) bytes"
echo "ten years of one host: $(ratio "$(seconds ten)" "$(seconds wc)") x wc -l of one year, $(megabytes ten) MB"
if [ -f render_five.result ]; then
  echo "Chromium's first render: five host-years $(ratio "$(seconds render_five)" "$(seconds render_week)")" \
    "x a one-host week"
fi
if [ -n "$windows" ]; then
  echo "Windows build under Wine: $(ratio "$(seconds windows)" "$(seconds linux)") x the Linux build"
fi
