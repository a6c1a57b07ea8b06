# pinglog-report --follow as a service meets what a log directory holds: a directory
# and a named pipe that match the pattern, a log it may not read until it may, the
# same log named three ways, a textfile on a full filesystem, SIGHUP and SIGTERM. It
# says each thing once, keeps following, and writes only textfiles that promtool
# accepts, whose counters never go back. Run as nobody, as the service runs unprivileged.
source "$(dirname "$0")/lib.sh"
REPORT=${PINGLOG_BUILD:-$(dirname "$PINGLOG")}/pinglog-report
MAKE_LOG=${PINGLOG_MAKE_LOG:-}
[ -x "$REPORT" ] && [ -x "$MAKE_LOG" ] || skip "pinglog-report or make_log is not built"
need_root "the follower test (a small filesystem, a user without rights)"
command -v promtool >/dev/null || skip "the follower test needs promtool (Debian's prometheus)"

chmod 755 "$WORK"
logs=$WORK/logs
mkdir -p "$logs/dir.log" "$WORK/small"
mkfifo "$logs/pipe.log"
"$MAKE_LOG" --cycles 100 --interval 1 --start "2021-03-01 00:00:00" >"$logs/a.log"
"$MAKE_LOG" --cycles 50 --interval 1 --start "2021-03-01 00:00:00" --host other >"$logs/secret.log"
chmod 600 "$logs/secret.log"
mount -t tmpfs -o size=64k,mode=1777 pinglog-test "$WORK/small" || skip "cannot mount a small tmpfs"
on_exit "umount '$WORK/small'"
textfile=$WORK/small/pinglog.prom
echo "router1=before" >"$WORK/names.txt"

setpriv --reuid=nobody --regid=nogroup --clear-groups \
  "$REPORT" --follow --textfile "$textfile" --names "$WORK/names.txt" "$logs/*.log" "$logs/a.log" \
  "$logs/./a.log" 2>"$WORK/follow.err" &
follower=$!
on_exit "kill $follower 2>/dev/null"

# Every textfile the follower writes, checked as it comes: promtool accepts it, and
# the cycles counted never go back.
seen="" textfiles_ok=1 went_back=0 last_cycles=0
watch() {
  local now cycles
  now=$(stat -c %Y.%s "$textfile" 2>/dev/null) || return 0
  [ "$now" = "$seen" ] && return 0
  seen=$now
  cp "$textfile" "$WORK/copy.prom" 2>/dev/null || return 0
  promtool check metrics <"$WORK/copy.prom" >/dev/null 2>&1 || textfiles_ok=0
  cycles=$(awk '/^pinglog_cycles_total/ {s += $2} END {print s + 0}' "$WORK/copy.prom")
  ((cycles >= last_cycles)) || went_back=1
  last_cycles=$cycles
}
# until SECONDS CONDITION: watching, until CONDITION holds.
until_true() {
  local _
  for _ in $(seq $(($1 * 5))); do
    watch
    eval "$2" && return 0
    sleep 0.2
  done
  return 1
}
cycles_of() { awk -v h="$1" '$1 ~ "^pinglog_cycles_total\\{host=\"" h "\"" {print $2}' "$textfile" 2>/dev/null; }
said() { grep -c -F -- "$1" "$WORK/follow.err"; }

check_that "a.log, named three ways, is counted once (100 cycles)" \
  'until_true 10 "[ \"\$(cycles_of router1)\" = 100 ]"'
# Nothing new, nothing written: the textfile's time stays that of the last news.
written=$(stat -c %i.%Y "$textfile")
sleep 3
check_that "a round without new entries does not write the textfile" \
  '[ "$(stat -c %i.%Y "$textfile")" = "$written" ]'
check_that "a directory in the pattern is named once and skipped" \
  '[ "$(said "$logs/dir.log: a directory, not a log: skipped")" = 1 ]'
check_that "a named pipe in the pattern is named once and skipped, never opened" \
  '[ "$(said "$logs/pipe.log: a named pipe, not a log: skipped")" = 1 ]'
check_that "a log it may not read is named once with the reason" \
  '[ "$(said "$logs/secret.log: Permission denied: tried again each round")" = 1 ]'
chmod 644 "$logs/secret.log"
check_that "once readable it is counted, and said so" \
  'until_true 10 "[ \"\$(cycles_of other)\" = 50 ]" && [ "$(said "$logs/secret.log: can be read now")" = 1 ]'

# A full filesystem: the textfile cannot be written; one line when it begins, one
# when it ends, and the follower goes on.
dd if=/dev/zero of="$WORK/small/filler" bs=1k count=64 2>/dev/null || true
"$MAKE_LOG" --cycles 5 --interval 1 --start "2021-03-01 01:40:00" >>"$logs/a.log"
check_that "a full filesystem is one line with the system's reason" \
  'until_true 10 "[ \"\$(said \"cannot write $textfile: No space left on device: tried again each round\")\" = 1 ]"'
sleep 2
rm -f "$WORK/small/filler"
check_that "and one line when the textfile is written again, with what came meanwhile" \
  'until_true 10 "[ \"\$(cycles_of router1)\" = 105 ]" && [ "$(said "$textfile: written again")" = 1 ] &&
   [ "$(said "No space left")" = 1 ]'

# A log emptied and written anew, then restored with what came meanwhile, then swapped
# for a link to another log and back: what it held counts once, what is new counts
# (each step adds a cycle, at 03:00, 03:01 and 03:02), as the report counts them after.
new_cycle() { "$MAKE_LOG" --cycles 1 --interval 1 --start "2021-03-01 03:0$1:00"; }
cp "$logs/a.log" "$WORK/a.bak"
new_cycle 0 >"$logs/a.log"
check_that "a log emptied and written anew: its new cycle counts" 'until_true 10 "[ \"\$(cycles_of router1)\" = 106 ]"'
{ cat "$WORK/a.bak" "$logs/a.log"; new_cycle 1; } >"$WORK/a.new" && cat "$WORK/a.new" >"$logs/a.log"
check_that "restored with it: only the cycle after counts" 'until_true 10 "[ \"\$(cycles_of router1)\" = 107 ]"'
mv "$logs/a.log" "$WORK/a.real" && ln -s secret.log "$logs/a.log"
sleep 2  # a look or two at the link: it counts nothing, seen or not
rm "$logs/a.log" && mv "$WORK/a.real" "$logs/a.log" && new_cycle 2 >>"$logs/a.log"
check_that "swapped for a link to another log and back: only the cycle after counts" \
  'until_true 10 "[ \"\$(cycles_of router1)\" = 108 ]"'
"$REPORT" "$logs/a.log" "$logs/secret.log" --textfile "$WORK/batch.prom" >/dev/null 2>&1
check_that "the live totals are the report's on the same logs" \
  'diff <(grep "^pinglog_cycles_total" "$WORK/batch.prom") <(grep "^pinglog_cycles_total" "$textfile")'

# A host logged by name whose address changes, named by its latest address.
"$MAKE_LOG" --cycles 3 --interval 1 --start "2021-03-01 04:00:00" --host router2 >"$WORK/moved.log"
"$MAKE_LOG" --cycles 3 --interval 1 --start "2021-03-01 04:03:00" --host router2 |
  sed 's/192\.0\.2\.1/192.0.2.9/g' >>"$WORK/moved.log"
mv "$WORK/moved.log" "$logs/moved.log"

# SIGHUP: the logs looked at anew (what keeps one from being followed is said again),
# and the names read again.
printf 'router1=after\n192.0.2.9=moved\n' >"$WORK/names.txt"
kill -HUP $follower
check_that "SIGHUP: still running, the skipped directory named again" \
  'until_true 10 "[ \"\$(said \"$logs/dir.log: a directory\")\" = 2 ]" && kill -0 $follower'
check_that "SIGHUP: the names read again" 'until_true 10 "grep -q name=\\\"after\\\" \"$textfile\""'
"$REPORT" "$logs/moved.log" --names "$WORK/names.txt" --textfile "$WORK/moved.prom" >/dev/null 2>&1
check_that "a host named by its latest address: named so live as in the report" \
  'until_true 10 "grep -q \"^pinglog_target_info{host=\\\"router2\\\".*name=\\\"moved\\\"\" \"$textfile\"" &&
   diff <(grep "^pinglog_target_info{host=\"router2\"" "$WORK/moved.prom") \
        <(grep "^pinglog_target_info{host=\"router2\"" "$textfile")'
started=$(date +%s%N)
kill -TERM $follower
wait $follower && STATUS=0 || STATUS=$?
took=$((($(date +%s%N) - started) / 1000000))
# It ends within a second on an idle machine; the bound is generous for a busy one.
check_that "SIGTERM: exit 0, soon (${took} ms)" '[ "$STATUS" = 0 ] && [ "$took" -lt 10000 ]' 
watch
check "promtool check metrics accepts every textfile written" [ "$textfiles_ok" = 1 ]
check "the counters never went back" [ "$went_back" = 0 ]
check_that "nothing else was said" \
  '[ "$(grep -c . "$WORK/follow.err")" = 8 ] || { cat "$WORK/follow.err" >&2; false; }'
finish
