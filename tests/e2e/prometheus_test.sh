# The logs' numbers in a real Prometheus (Debian's prometheus, promtool and
# prometheus-node-exporter, started here on free ports of 127.0.0.1 with temporary
# directories, and stopped afterwards): the backfilled history, the live textfile
# through node_exporter, the alert rules, and the errors a user meets.
source "$(dirname "$0")/lib.sh"
REPORT=$PINGLOG_BUILD/pinglog-report
MAKE_LOG=${PINGLOG_MAKE_LOG:-}
SOURCE_DIR=$(readlink -f "$(dirname "$0")/../..")
for tool in prometheus promtool prometheus-node-exporter; do
  command -v $tool >/dev/null || skip "the Prometheus tests need $tool (Debian's prometheus packages)"
done
[ -x "$REPORT" ] && [ -x "$MAKE_LOG" ] || skip "pinglog-report or make_log is not built"

free_port() { python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }
# wait_for URL: until it answers, at most 30 s.
wait_for() {
  local _
  for _ in $(seq 150); do curl -sf "$1" >/dev/null 2>&1 && return 0; sleep 0.2; done
  return 1
}
# start_prometheus DATA_DIR CONFIG: sets PROM (its address).
start_prometheus() {
  local port
  port=$(free_port)
  prometheus --config.file="$2" --storage.tsdb.path="$1" --storage.tsdb.retention.time=100y \
    --web.listen-address=127.0.0.1:$port >"$WORK/prometheus.out" 2>&1 &
  on_exit "kill $! 2>/dev/null; wait $! 2>/dev/null"
  PROM=http://127.0.0.1:$port
  wait_for "$PROM/-/ready" || fail "Prometheus did not start: $(tail -3 "$WORK/prometheus.out")"
}
# query EXPR [TIME]: the value of a one-series instant query ("" when there is none).
query() {
  curl -sfG "$PROM/api/v1/query" --data-urlencode "query=$1" ${2:+--data-urlencode "time=$2"} |
    python3 -c 'import json, sys; r = json.load(sys.stdin)["data"]["result"]; print(r[0]["value"][1] if len(r) == 1 else "")'
}
# json_value FILE PYTHON_EXPRESSION_ON_h: a value of the report's first host.
json_value() { python3 -c "import json; h = json.load(open('$1'))['hosts'][0]; print($2)"; }

## History: a week in Berlin across the fall-back night, a gap, an outage, router
## replies, time-outs, two torn lines and back-to-back cycles several a second.
"$MAKE_LOG" --cycles 4500 --interval 1 --start "2021-10-28 00:00:00" >"$WORK/week.log"  # to 02:59 CEST
sed -n 5p "$WORK/week.log" | head -c 100 >>"$WORK/week.log"  # a torn line
printf '\r\n' >>"$WORK/week.log"
"$MAKE_LOG" --cycles 4300 --interval 1 --start "2021-10-31 02:00:00" >>"$WORK/week.log"  # CET
sed -n 9p "$WORK/week.log" | head -c 77 >>"$WORK/week.log"
printf '\r\n' >>"$WORK/week.log"
"$MAKE_LOG" --cycles 40 --interval 0 --start "2021-11-03 12:00:00" >>"$WORK/week.log"
"$REPORT" "$WORK/week.log" --json "$WORK/week.json" --openmetrics "$WORK/week.om" --tz Europe/Berlin \
  >/dev/null 2>"$WORK/err" && STATUS=0 || STATUS=$?
check_that "--openmetrics: exit 0, ends with # EOF" '[ "$STATUS" = 0 ] && [ "$(tail -1 "$WORK/week.om")" = "# EOF" ]'
check "the two torn lines count nowhere" \
  [ "$(json_value "$WORK/week.json" 'h["requests"]["cycles"]')" = $(($(grep -c '' "$WORK/week.log") - 2)) ]
mkdir -p "$WORK/tsdb"
promtool tsdb create-blocks-from openmetrics "$WORK/week.om" "$WORK/tsdb" >"$WORK/promtool.out" 2>&1 &&
  STATUS=0 || STATUS=$?
check "promtool makes blocks of it as it is${STATUS:+ (exit $STATUS)}" [ "$STATUS" = 0 ]
# A log of 4,000 routers and 2,000 error numbers (host edge): a router's or an error's
# series is sampled where it changes, so the history stays within ten times the log.
python3 -c "
import datetime, sys
sys.path.insert(0, '$SOURCE_DIR/tests/e2e/helpers')
from log_lines import entry
start = datetime.datetime(2021, 3, 1, 10, 0, 0)
with open('$WORK/edge.log', 'w', newline='') as log:
    for i in range(4000):
        log.write(entry(start + datetime.timedelta(minutes=i), [12, 'r', -(11000 + i % 2000) if i % 2 else 15],
                        host='edge', router=f'10.0.{i // 250}.{i % 250}'))"
"$REPORT" "$WORK/edge.log" --openmetrics "$WORK/edge.om" --tz UTC >/dev/null 2>&1 && STATUS=0 || STATUS=$?
log_size=$(stat -c %s "$WORK/edge.log") om_size=$(stat -c %s "$WORK/edge.om")
check_that "4,000 routers: a history of $om_size bytes for a log of $log_size, promtool takes it" \
  '[ "$STATUS" = 0 ] && [ "$om_size" -le $((10 * log_size)) ] &&
   promtool tsdb create-blocks-from openmetrics "$WORK/edge.om" "$WORK/tsdb" >/dev/null 2>&1'
printf 'global:\n  scrape_interval: 15s\n' >"$WORK/history.yml"
start_prometheus "$WORK/tsdb" "$WORK/history.yml"
last=$(grep '^pinglog_cycles_total' "$WORK/week.om" | tail -1 | awk '{print $NF}')
check "history: the address is an info series of its own" \
  [ "$(query 'pinglog_target_info{host="router1",address="192.0.2.1"}' "$last")" = 1 ]
for pair in "pinglog_cycles_total:requests.cycles" "pinglog_requests_total:requests.sent" \
  "pinglog_replies_total:requests.received" "sum(pinglog_router_replies_total):requests.router" \
  "sum(pinglog_failures_total):requests.lost - h['requests']['router']"; do
  expr=${pair%%:*} field=${pair#*:}
  path=$(sed -E "s/^([a-z_]+)\.([a-z_]+)/h['\1']['\2']/" <<<"$field")
  want=$(json_value "$WORK/week.json" "$path")
  got=$(query "$expr" "$last")
  check "history: $expr at the last sample is the report's $field ($got = $want)" [ "$got" = "$want" ]
done
failures_report=$(python3 -c "import json; h = json.load(open('$WORK/week.json'))['hosts'][0]; print(' '.join(f\"{f['error']}={f['count']}\" for f in h['failures']))")
failures_prom=$(curl -sfG "$PROM/api/v1/query" --data-urlencode "query=pinglog_failures_total" --data-urlencode "time=$last" |
  python3 -c 'import json, sys; print(" ".join(sorted(r["metric"]["error"] + "=" + r["value"][1] for r in json.load(sys.stdin)["data"]["result"])))')
check "history: failures by number are the report's ($failures_prom)" [ "$failures_prom" = "$failures_report" ]
median_ms=$(json_value "$WORK/week.json" 'h["round_trip"]["median_ms"]')
q50=$(query "histogram_quantile(0.5, pinglog_rtt_seconds_bucket)" "$last")
check_that "history: the histogram's median ($q50 s) lies in the bucket of the report's ($median_ms ms)" \
  'python3 -c "
b = [0, 0.001, 0.0025, 0.005, 0.01, 0.025, 0.05, 0.1, 0.25, 0.5, 1, 2.5, 5]
m, q = $median_ms / 1000, float(\"$q50\")
i = next(k for k in range(1, len(b)) if m <= b[k])
exit(0 if b[i - 1] <= q <= b[i] else 1)"'
# Sampled where they change, the routers' and failures' totals are the report's at the
# last cycle and at one in between (the latest sample before it, however old).
for at in "2021-03-02 19:19" "2021-03-04 04:39"; do
  "$REPORT" "$WORK/edge.log" --to "$at" --json "$WORK/edge.json" >/dev/null 2>&1
  when=$(date -d "$at:30 UTC" +%s)
  for pair in "pinglog_router_replies_total:requests.router" \
    "pinglog_failures_total:requests.lost - h['requests']['router']"; do
    expr="sum(last_over_time(${pair%%:*}{host=\"edge\"}[30d]))" field=${pair#*:}
    want=$(json_value "$WORK/edge.json" "$(sed -E "s/^([a-z_]+)\.([a-z_]+)/h['\1']['\2']/" <<<"$field")")
    got=$(query "$expr" "$when")
    check "history of 4,000 routers: ${pair%%:*} at $at is the report's ($got = $want)" [ "$got" = "$want" ]
  done
done
# The fall-back hour: 02:30 CEST is 00:30 UTC, 02:30 CET is 01:30 UTC; an hour of
# cycles lies between, and both hours' entries are there, in order.
first=$(query "pinglog_cycles_total" "$(date -d '2021-10-31 00:30:30 UTC' +%s)")
second=$(query "pinglog_cycles_total" "$(date -d '2021-10-31 01:30:30 UTC' +%s)")
check "history: the repeated hour is there twice, in order ($first, then $second)" \
  [ "$((second - first))" -ge 55 ] 2>/dev/null

## Live: loggers on loopback and against a silent peer, followed into a textfile that
## node_exporter serves and Prometheus scrapes.
mkdir -p "$WORK/textfiles" "$WORK/live"
"$REPORT" --follow --textfile "$WORK/textfiles/pinglog.prom" "$WORK/live/*.log" 2>"$WORK/follow.err" &
follower=$!
on_exit "kill $follower 2>/dev/null"
exporter_port=$(free_port)
prometheus-node-exporter --web.listen-address=127.0.0.1:$exporter_port --collector.disable-defaults \
  --collector.textfile --collector.textfile.directory="$WORK/textfiles" >"$WORK/exporter.out" 2>&1 &
on_exit "kill $! 2>/dev/null"
wait_for "http://127.0.0.1:$exporter_port/metrics" || fail "node_exporter did not start"
printf 'global:\n  scrape_interval: 1s\nscrape_configs:\n  - job_name: pinglog\n    static_configs:\n      - targets: ["127.0.0.1:%s"]\n' \
  "$exporter_port" >"$WORK/live.yml"
mkdir -p "$WORK/live-tsdb"
# The loopback host's history up to ten minutes ago, backfilled with the labels the
# live scrape adds: history and live are then one series per family.
"$MAKE_LOG" --cycles 170 --interval 1 --start "$(date -d '-3 hours' '+%Y-%m-%d %H:%M:00')" \
  --host 127.0.0.1 >"$WORK/history.log"
"$REPORT" "$WORK/history.log" --openmetrics "$WORK/history.om" --label job=pinglog \
  --label instance=127.0.0.1:$exporter_port >/dev/null 2>&1 &&
  promtool tsdb create-blocks-from openmetrics "$WORK/history.om" "$WORK/live-tsdb" >/dev/null 2>&1 ||
  fail "the loopback host's history could not be backfilled"
start_prometheus "$WORK/live-tsdb" "$WORK/live.yml"
textfiles_ok=1
lint() { promtool check metrics <"$WORK/textfiles/pinglog.prom" >/dev/null 2>&1 || textfiles_ok=0; }
# The cycles the textfile counts for HOST now.
textfile_cycles() {
  awk -v series="pinglog_cycles_total{host=\"$1\"}" '$1 == series {print $2}' \
    "$WORK/textfiles/pinglog.prom" 2>/dev/null
}
# follows FILE HOST: waits until the follower has counted every cycle of FILE.
follows() { wait_until 60 '[ "$(textfile_cycles '"$2"')" = "$(entry_count '"$1"')" ]'; }
write_settings "$WORK/live" 127.0.0.1 loopback.log 0 "$(time_in 3)"
run_logger "$WORK/live"
follows "$WORK/live/loopback.log" 127.0.0.1 || fail "the follower did not count the loopback log"
lint
# A log created after the follower started, with time-outs from a silent peer.
if [ "$(id -u)" = 0 ] && ip netns add "${NS_PREFIX}probe" 2>/dev/null; then
  ip netns del "${NS_PREFIX}probe"
  make_client_server
  in_ns server sysctl -qw net.ipv4.icmp_echo_ignore_all=1
  write_settings "$WORK/live" 198.18.0.2 silent.log 0 "$(time_in 2)"
  run_logger "$WORK/live" ip netns exec "${NS_PREFIX}client"
  follows "$WORK/live/silent.log" 198.18.0.2 || fail "the follower did not count the silent log"
else
  echo "SKIP: no test namespace: the silent peer's time-outs are not part of the live run"
fi
lint
# A log cut to its first two lines and then written on: what it held before counts
# once, what is new counts (here an entry of the first's a year earlier, logged last).
cp "$WORK/live/loopback.log" "$WORK/loopback.before"
head -2 "$WORK/loopback.before" >"$WORK/live/loopback.log"
year=$(head -1 "$WORK/loopback.before" | cut -c7-10)
head -1 "$WORK/loopback.before" | sed "s/^\(......\)$year/\1$((year - 1))/" >>"$WORK/live/loopback.log"
expected_cycles=$(($(grep -c '' "$WORK/loopback.before") + 1))
wait_until 60 '[ "$(textfile_cycles 127.0.0.1)" = "$expected_cycles" ]' ||
  fail "the follower did not count the truncated log"
lint
got=""
for _ in $(seq 240); do
  got=$(query "pinglog_cycles_total{host=\"127.0.0.1\"}")
  [ "$got" = "$expected_cycles" ] && break
  sleep 0.5
done
check "live: the loopback log's cycles, each once, reach Prometheus ($got = $expected_cycles)" \
  [ "$got" = "$expected_cycles" ]
check "live: replies reach Prometheus" [ "$(query "pinglog_replies_total{host=\"127.0.0.1\"}")" = $((expected_cycles * 3)) ]
last_stamp=$(tail -1 "$WORK/live/loopback.log" | cut -c1-21)  # the cycle logged last
want=$(date -d "$(sed -E 's#^(..)\.(..)\.(....) / (.*)#\3-\2-\1 \4#' <<<"$last_stamp")" +%s)
check "live: the last cycle's time is the one logged last, a year back ($last_stamp)" \
  [ "$(query "pinglog_last_cycle_timestamp_seconds{host=\"127.0.0.1\"}")" = "$want" ]
if [ -e "$WORK/live/silent.log" ]; then
  want=$(($(grep -c '' "$WORK/live/silent.log") * 3))
  check "live: a log created later is followed: its time-outs ($want)" \
    [ "$(query "pinglog_failures_total{host=\"198.18.0.2\",error=\"11010\"}")" = "$want" ]
fi
check "promtool check metrics accepts every textfile the follower wrote" [ "$textfiles_ok" = 1 ]
series=$(curl -sfG "$PROM/api/v1/series" --data-urlencode 'match[]=pinglog_cycles_total{host="127.0.0.1"}' \
  --data-urlencode "start=$(date -d '-4 hours' +%s)" --data-urlencode "end=$(date +%s)" |
  python3 -c 'import json, sys; print(len(json.load(sys.stdin)["data"]))')
spanned=$(query 'count_over_time(pinglog_cycles_total{host="127.0.0.1"}[4h])')
check_that "history and live of one host are one series ($series), spanning both ($spanned samples)" \
  '[ "$series" = 1 ] && [ "${spanned:-0}" -gt 150 ]' 
kill $follower
wait $follower 2>/dev/null && STATUS=0 || STATUS=$?
check "the follower stops on SIGTERM with exit 0" [ "$STATUS" = 0 ]

## Rules: checked, and each alert firing where it should and nowhere else.
check "promtool check rules" promtool check rules "$SOURCE_DIR/packaging/prometheus/pinglog-alerts.yml"
check "promtool test rules" bash -c "cd '$SOURCE_DIR/tests/prometheus' && promtool test rules pinglog-alerts.test.yml"

## Bad input: one line, exit 2 for usage and 1 for output, nothing half-written.
"$REPORT" "$WORK/week.log" --openmetrics "$WORK/x.om" --tz Mars/Olympus_Mons >/dev/null 2>"$WORK/err" && STATUS=0 || STATUS=$?
check_that "an unknown --tz: exit 2, one line" '[ "$STATUS" = 2 ] && [ "$(wc -l <"$WORK/err")" = 1 ] && [ ! -e "$WORK/x.om" ]'
"$REPORT" --follow "$WORK/week.log" >/dev/null 2>"$WORK/err" && STATUS=0 || STATUS=$?
check_that "--follow without --textfile: exit 2, one line" '[ "$STATUS" = 2 ] && [ "$(wc -l <"$WORK/err")" = 1 ]'
"$REPORT" "$WORK/week.log" --openmetrics /nonexistent/x.om >/dev/null 2>"$WORK/err" && STATUS=0 || STATUS=$?
check_that "an unwritable --openmetrics FILE: exit 1, one line, nothing left" \
  '[ "$STATUS" = 1 ] && [ "$(wc -l <"$WORK/err")" = 1 ] && [ ! -e /nonexistent ]'
timeout 10 "$REPORT" --follow --textfile /nonexistent/x.prom "$WORK/week.log" >/dev/null 2>"$WORK/err" && STATUS=0 || STATUS=$?
check_that "the follower with an unwritable textfile: exit 1, one line" '[ "$STATUS" = 1 ] && [ "$(wc -l <"$WORK/err")" = 1 ]'

finish
