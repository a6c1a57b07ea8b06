# What a careless or hostile user hands pinglog-report and pinglog-check: an output
# naming a log, devices and pipes among the logs, a line without end, a host text of
# control bytes and broken UTF-8, logs near and past 2038. Nothing is lost, nothing
# fills the disk, nothing hangs, and the good logs are still reported.
source "$(dirname "$0")/lib.sh"
REPORT=${PINGLOG_BUILD:-$(dirname "$PINGLOG")}/pinglog-report
CHECK=${PINGLOG_BUILD:-$(dirname "$PINGLOG")}/pinglog-check
MAKE_LOG=${PINGLOG_MAKE_LOG:-}
[ -x "$REPORT" ] && [ -x "$MAKE_LOG" ] || skip "pinglog-report or make_log is not built"

report() {  # report ARGS...: runs the report, bounded in time; sets STATUS, OUT and ERR
  STATUS=0
  timeout 60 "$REPORT" "$@" >"$WORK/out" 2>"$WORK/err" || STATUS=$?
  OUT=$(cat "$WORK/out")
  ERR=$(cat "$WORK/err")
}
"$MAKE_LOG" --cycles 300 --interval 1 --start "2021-03-01 10:00:00" >"$WORK/a.log"
cp "$WORK/a.log" "$WORK/kept.log"
ln -s a.log "$WORK/link.log"

# An output onto a log: a usage error naming both, before anything is written.
report "$WORK/a.log" --json "$WORK/a.log"
check_that "--json onto its own log: exit 2, both named, the log as it was" \
  '[ "$STATUS" = 2 ] && grep -q -- "--json $WORK/a.log is the log $WORK/a.log" <<<"$ERR" && cmp -s "$WORK/a.log" "$WORK/kept.log"'
report "$WORK/link.log" --html "$WORK/a.log" --csv "$WORK/a.csv"
check_that "--html onto the file a link of the logs leads to: exit 2, nothing written" \
  '[ "$STATUS" = 2 ] && cmp -s "$WORK/a.log" "$WORK/kept.log" && [ ! -e "$WORK/a.csv" ]'

# - is standard output, for every export; the summary then stays out of it.
report "$WORK/a.log" --json -
check_that "--json - writes the JSON alone to standard output" \
  '[ "$STATUS" = 0 ] && python3 -c "import json,sys; json.load(sys.stdin)" <"$WORK/out" && [ ! -e "$WORK/-" ]'
report "$WORK/a.log" --html ""
check "--html with no name: exit 2" [ "$STATUS" = 2 ]

# A device as the output is written into, never replaced.
if [ "$(id -u)" = 0 ] && mknod "$WORK/null" c 1 3 2>/dev/null; then
  report "$WORK/a.log" --html "$WORK/null"
  check_that "a device as the output: written into, still a device" \
    '[ "$STATUS" = 0 ] && [ -c "$WORK/null" ] && [ ! -e "$WORK/null.partial" ]'
fi

# An output that is a link is written through it: the link stays and leads to the new
# file, beside which the temporary one was made; a file replaced keeps its mode; a
# link to a device is written into.
mkdir "$WORK/www"
echo old >"$WORK/www/report.html"
ln -s www/report.html "$WORK/out.html"
ln -s out.html "$WORK/out2.html"
for link in out.html out2.html; do
  echo old >"$WORK/www/report.html"
  report "$WORK/a.log" --html "$WORK/$link"
  check_that "an output that is a link ($link): the link stays, the file it leads to is written" \
    '[ "$STATUS" = 0 ] && [ -L "$WORK/$link" ] && grep -q "<html" "$WORK/www/report.html" &&
     [ -z "$(ls "$WORK/www" "$WORK" | grep partial)" ]'
done
echo '{}' >"$WORK/private.json"
chmod 600 "$WORK/private.json"
report "$WORK/a.log" --json "$WORK/private.json"
check_that "a private output stays private ($(stat -c %a "$WORK/private.json"))" \
  '[ "$STATUS" = 0 ] && [ "$(stat -c %a "$WORK/private.json")" = 600 ] && grep -q router1 "$WORK/private.json"'
ln -s /dev/null "$WORK/null.svg"
report "$WORK/a.log" --svg "$WORK/null.svg"
check_that "a link to /dev/null: written into, the link and the device as they were" \
  '[ "$STATUS" = 0 ] && [ -L "$WORK/null.svg" ] && [ -c /dev/null ]'
# Standard output under another name, here a link of the test's own to
# /proc/self/fd/1, whether it is a file or a pipe: written as - is, the summary kept off.
ln -s /proc/self/fd/1 "$WORK/stdout"
STATUS=0
"$REPORT" "$WORK/a.log" --json "$WORK/stdout" >"$WORK/out" 2>"$WORK/err" || STATUS=$?
check_that "standard output a file, named through a link: the JSON alone, the link kept" \
  '[ "$STATUS" = 0 ] && python3 -c "import json,sys; json.load(sys.stdin)" <"$WORK/out" && [ -L "$WORK/stdout" ]'
STATUS=0
"$REPORT" "$WORK/a.log" --json "$WORK/stdout" 2>"$WORK/err" | python3 -c "import json,sys; json.load(sys.stdin)" ||
  STATUS=$?
check_that "standard output a pipe, named through a link: the JSON alone, the link kept" \
  '[ "$STATUS" = 0 ] && [ -L "$WORK/stdout" ]'

# --names FILE: opened as a log is, and small; each problem a usage error that names
# the file or its line; a byte-order mark skipped; a host named twice a warning.
mkfifo "$WORK/names.fifo"
mkdir "$WORK/dir.names"
printf '\xef\xbb\xbfrouter1=Gateway\r\n# the office\r\nrouter1=Office\r\n' >"$WORK/bom.names"
{ echo "router1=A"; printf 'router1=%0201d\n' 0; } >"$WORK/long.names"
head -c 1100000 /dev/zero | tr '\0' '#' >"$WORK/big.names"
while IFS='|' read -r names want_status want_err; do
  STATUS=0
  timeout 20 "$REPORT" "$WORK/a.log" --names "$names" --json "$WORK/names.json" >/dev/null 2>"$WORK/err" || STATUS=$?
  check_that "--names $names: exit $want_status, '$want_err'" \
    '[ "$STATUS" = "$want_status" ] && if [ -n "$want_err" ]; then grep -qF -- "$want_err" "$WORK/err"; else [ ! -s "$WORK/err" ]; fi'
done <<EOF2
/dev/zero|2|--names /dev/zero: a device, not a file of names
$WORK/dir.names|2|--names $WORK/dir.names: a directory, not a file of names
$WORK/names.fifo|0|
$WORK/big.names|2|--names $WORK/big.names: larger than 1 MB
$WORK/long.names|2|--names $WORK/long.names line 2: a name of 201 bytes: at most 200
$WORK/bom.names|0|warning: router1 is named twice
EOF2
check_that "a byte-order mark is skipped, both lines named in the warning, the later name used" \
  'grep -qF "by $WORK/bom.names line 1 and by $WORK/bom.names line 3" "$WORK/err" &&
   python3 -c "import json,sys; sys.exit(json.load(open(sys.argv[1]))[\"hosts\"][0][\"name\"] != \"Office\")" "$WORK/names.json"'
"$REPORT" "$WORK/a.log" --name router1=A --name 192.0.2.1=B >/dev/null 2>"$WORK/err"
check_that "a host named by its text and by its address: a warning naming both" \
  'grep -qF "warning: router1 (192.0.2.1) is named twice, by --name router1=A and by --name 192.0.2.1=B: the later name is used" "$WORK/err"'

# A named pipe without a writer, /dev/zero and a directory among the logs: each named,
# none waited on, the good log reported; a process substitution is read as a log.
mkfifo "$WORK/pipe.log"
mkdir "$WORK/dir.log"
report "$WORK/pipe.log" /dev/zero "$WORK/dir.log" "$WORK/a.log"
check_that "a pipe, /dev/zero and a directory among the logs: named, the good log reported" \
  'grep -q "^Host router1 " <<<"$OUT" && grep -q "/dev/zero: a device, not a log: skipped" <<<"$ERR" &&
   grep -q "dir.log: a directory, not a log: skipped" <<<"$ERR" && grep -q "pipe.log: the log is empty" <<<"$ERR"'
STATUS=0
timeout 60 "$REPORT" <(cat "$WORK/a.log") >"$WORK/out" 2>&1 || STATUS=$?
check_that "a process substitution is read" '[ "$STATUS" = 0 ] && grep -q "^Host router1 " "$WORK/out"'

# A line without end is counted, not held: memory stays small.
head -c 100000000 /dev/zero | tr '\0' a >"$WORK/long.log"
peak_kb() {  # peak_kb COMMAND...: the command's peak resident memory in kB
  python3 -c 'import resource, subprocess, sys
subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)' "$@"
}
if [ -z "${PINGLOG_SANITIZED:-}" ]; then
  peak=$(peak_kb "$REPORT" "$WORK/long.log" "$WORK/a.log")
  check_that "a 100 MB line without end beside a log: ${peak} kB at most" '[ "$peak" -lt 60000 ]'
fi
report "$WORK/long.log" "$WORK/a.log"
check_that "it is one line that is no entry, and the good log is reported" \
  'grep -q "^Lines that are not log entries (not counted): 1$" <<<"$OUT" && grep -q "^Host router1 " <<<"$OUT"'

# A host text of control bytes and broken UTF-8 (a Kep.ini saved in Windows-1252),
# beside a good host: every output stays readable, the terminal is not acted on.
sed 's/router1/B\xfcro\x1b]0;x\x07\x1b[2J/g' "$WORK/a.log" >"$WORK/odd.log"
"$MAKE_LOG" --cycles 100 --interval 1 --start "2021-03-01 10:00:00" --host good >"$WORK/good.log"
report "$WORK/odd.log" "$WORK/good.log" --svg "$WORK/odd.svg" --textfile "$WORK/odd.prom"
check_that "the terminal gets no control byte, and the odd host shown as \\x1B" \
  '[ "$STATUS" = 0 ] && ! grep -q "[[:cntrl:]]" <(tr -d "\n" <"$WORK/out") && grep -qF "B�ro\x1B]0;x\x07\x1B[2J" <<<"$OUT"'
check "the SVG is well-formed XML" xmllint --noout "$WORK/odd.svg"
if command -v promtool >/dev/null; then
  check_that "promtool accepts the textfile, the good host in it" \
    'promtool check metrics <"$WORK/odd.prom" >/dev/null 2>&1 && grep -q "^pinglog_cycles_total{host=\"good\"} 100$" "$WORK/odd.prom"'
fi

# Near and past 2038: reported and drawn as any other log, a page of a few rows for
# logs 66 years apart.
"$MAKE_LOG" --cycles 900 --interval 1 --start "2038-01-18 12:00:00" >"$WORK/end.log"
sed 's/^\([0-9.]*\)2038 /\12040 /' "$WORK/end.log" >"$WORK/past.log"
report "$WORK/end.log" "$WORK/past.log" --svg "$WORK/end.svg"
check_that "logs reaching and past 2038: reported, an SVG of $(stat -c %s "$WORK/end.svg") bytes" \
  '[ "$STATUS" = 0 ] && grep -q "Period       18.01.2038 12:00:00 to 19.01.2040 02:59:00" <<<"$OUT" &&
   [ "$(stat -c %s "$WORK/end.svg")" -lt 2000000 ]'
"$MAKE_LOG" --cycles 10 --interval 1 --start "1971-01-01 00:00:00" >"$WORK/old.log"
report "$WORK/old.log" "$WORK/end.log" --html "$WORK/span.html"
check_that "logs 67 years apart: a page of $(stat -c %s "$WORK/span.html") bytes" \
  '[ "$STATUS" = 0 ] && grep -q "days without entries" "$WORK/span.html" && [ "$(stat -c %s "$WORK/span.html")" -lt 1000000 ]'

# pinglog-check: a Kep.ini that never ends, an empty one, --user without a name.
if [ -x "$CHECK" ]; then
  mkdir "$WORK/zero" "$WORK/empty"
  ln -s /dev/zero "$WORK/zero/Kep.ini"
  : >"$WORK/empty/Kep.ini"
  STATUS=0
  timeout 20 "$CHECK" "$WORK/zero" >"$WORK/out" 2>&1 || STATUS=$?
  check_that "pinglog-check on a Kep.ini linked to /dev/zero: exit 1 at once" \
    '[ "$STATUS" = 1 ] && grep -q "Kep.ini) is a device, not a file" "$WORK/out"'
  STATUS=0
  "$CHECK" "$WORK/empty" >"$WORK/out" 2>&1 || STATUS=$?
  check_that "an empty Kep.ini is said to be empty" '[ "$STATUS" = 1 ] && grep -q "holds no values" "$WORK/out"'
  STATUS=0
  "$CHECK" "$WORK/empty" --user "" >"$WORK/out" 2>&1 || STATUS=$?
  check "--user with no name: exit 2" [ "$STATUS" = 2 ]
fi
finish
