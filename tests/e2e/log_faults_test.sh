# The log file under faults from outside, on loopback: a full disk and room again; the
# log moved, deleted and emptied between cycles; held locked by another writer; the
# logger killed at random moments. Every time: the logger runs on, and no partial or
# garbled line lands in any log. Each step waits on the log itself with a generous
# bound, so a busy machine only makes the test slower.
source "$(dirname "$0")/lib.sh"
need_root "the log fault tests (a private mount namespace, raw ICMP)"

# start_logger DIR: the logger in DIR, in the background, until stop_logger.
start_logger() {
  (cd "$1" && exec "$PINGLOG" </dev/null >/dev/null 2>&1) &
  LOGGER=$!
  on_exit "kill $LOGGER 2>/dev/null"
}
stop_logger() {
  kill "$LOGGER"
  wait "$LOGGER" 2>/dev/null || true
}

# A full disk: a 16 KiB tmpfs in a private mount namespace, three pages of it taken by
# a filler, so about ten entries fit. Once the log has stopped growing the filler goes,
# and entries must land again. Each step waits on the log itself, however busy the
# machine; the run is then stopped.
dir=$WORK/full
mkdir -p "$dir/disk"
write_settings "$dir" 127.0.0.1 disk/ping.log 0 "$(time_in 600)"
export -f wait_until entry_count
unshare -m --propagation private bash -c '
  set -e
  cd "$1"
  mount -t tmpfs -o size=16k tmpfs disk
  head -c 12288 /dev/zero >disk/filler
  "$2" </dev/null >stdout 2>stderr &
  logger=$!
  size() { stat -c %s disk/ping.log 2>/dev/null || echo 0; }
  for _ in $(seq 60); do  # full: the same size over two seconds of cycles
    before=$(size)
    sleep 2
    [ "$(size)" -gt 0 ] && [ "$(size)" = "$before" ] && break
  done
  full=$(entry_count disk/ping.log)
  rm disk/filler
  wait_until 120 "[ \$(entry_count disk/ping.log) -gt $((full + 1)) ]" || true
  kill -0 $logger  # still running: a full disk ends nothing
  kill $logger
  wait $logger || true
  cp disk/ping.log ../full.log
  echo "$full" >../full.count' _ "$dir" "$PINGLOG" && STATUS=0 || STATUS=$?
check "full disk: the logger ran on until stopped" [ "$STATUS" = 0 ]
check "full disk: every line is whole" all_entries_whole "$WORK/full.log"
check "full disk: entries land again once there is room ($(cat "$WORK/full.count" 2>/dev/null) when full, $(entry_count "$WORK/full.log") after)" \
  [ "$(entry_count "$WORK/full.log")" -gt "$(cat "$WORK/full.count" 2>/dev/null || echo 999999)" ]

# Moved, deleted and emptied between cycles, each step once the logger has written
# where it is looked for.
dir=$WORK/moved
mkdir -p "$dir"
write_settings "$dir" 127.0.0.1 ping.log 0 "$(time_in 600)"
start_logger "$dir"
wait_until 60 '[ -s "$dir/ping.log" ]'
mv "$dir/ping.log" "$dir/moved.log"
wait_until 60 '[ -s "$dir/ping.log" ]'
rm -f "$dir/ping.log"
wait_until 60 '[ -s "$dir/ping.log" ]'
: >"$dir/ping.log"
wait_until 60 '[ -s "$dir/ping.log" ]'
stop_logger
check "moved log: the moved file's lines are whole" all_entries_whole "$dir/moved.log"
check "moved, deleted and emptied log: a new log holds whole lines" all_entries_whole "$dir/ping.log"

# Held locked by another writer: nothing lands while it holds the log, entries land
# once it lets go.
dir=$WORK/locked
mkdir -p "$dir"
touch "$dir/ping.log"
flock -x "$dir/ping.log" sleep 600 &
holder=$!
on_exit "pkill -P $holder 2>/dev/null"
wait_until 10 'flock -n -x "$dir/ping.log" true; [ $? = 1 ]'
write_settings "$dir" 127.0.0.1 ping.log 0 "$(time_in 600)"
start_logger "$dir"
sleep 2
size_while_locked=$(stat -c %s "$dir/ping.log")
pkill -P $holder
wait $holder 2>/dev/null || true
wait_until 60 '[ "$(entry_count "$dir/ping.log")" -ge 2 ]'
stop_logger
check "locked log: nothing lands while another writer holds it" [ "$size_while_locked" = 0 ]
check "locked log: entries land once it is free" all_entries_whole "$dir/ping.log"

# Killed with SIGKILL at random moments, thirty times over.
dir=$WORK/killed
mkdir -p "$dir"
write_settings "$dir" 127.0.0.1 ping.log 0 "$(time_in 300)"
for _ in $(seq 30); do
  (cd "$dir" && exec "$PINGLOG" </dev/null >/dev/null 2>&1) &
  victim=$!
  sleep "0.$((RANDOM % 9 + 1))$((RANDOM % 10))"
  kill -9 $victim
  wait $victim 2>/dev/null || true
done
check "killed at random: every line is whole ($(entry_count "$dir/ping.log") entries)" \
  all_entries_whole "$dir/ping.log"

finish
