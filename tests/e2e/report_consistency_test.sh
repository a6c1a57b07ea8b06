# Every output of pinglog-report tells the same story: one log with the situations a
# user meets (outages long, short and still open, a gap, requests never sent, a
# router's report, a copy of part of the log, a clock set ahead and back), written as
# the terminal's text, JSON, a page, an SVG, OpenMetrics and a textfile, each parsed
# on its own: every count and every outage's bounds agree.
source "$(dirname "$0")/lib.sh"
REPORT=${PINGLOG_BUILD:-$(dirname "$PINGLOG")}/pinglog-report
[ -x "$REPORT" ] || skip "pinglog-report was not built (nlohmann-json or CLI11 missing)"
HELPER=$(dirname "$0")/helpers/report_consistency.py

python3 "$HELPER" write "$WORK"
STATUS=0
"$REPORT" "$WORK/main.log" "$WORK/copy.log" --tz UTC --json "$WORK/out.json" \
  --html "$WORK/out.html" --svg "$WORK/out.svg" --openmetrics "$WORK/out.om" \
  --textfile "$WORK/out.prom" >"$WORK/out.txt" 2>"$WORK/err" || STATUS=$?
check "the report of the log: exit 0, nothing on stderr" [ "$STATUS" = 0 ] && [ ! -s "$WORK/err" ]
check_that "terminal, page, JSON, SVG, OpenMetrics and textfile agree" \
  'python3 "$HELPER" check "$WORK"'
finish
