# The log file under faults from outside, on loopback: a full disk and room again; the
# log moved, deleted and emptied between cycles; held locked by another writer; the
# logger killed at random moments. Every time: exit 0 where the run ends by itself,
# and no partial or garbled line in any log.
source "$(dirname "$0")/lib.sh"
need_root "the log fault tests (a private mount namespace, raw ICMP)"

# A full disk: a 16 KiB tmpfs in a private mount namespace, three pages of it taken by
# a filler, so about ten entries fit; after four seconds the filler goes and there is
# room again.
dir=$WORK/full
mkdir -p "$dir/disk"
write_settings "$dir" 127.0.0.1 disk/ping.log 0 "$(time_in 8)"
unshare -m --propagation private bash -c '
  set -e
  cd "$1"
  mount -t tmpfs -o size=16k tmpfs disk
  head -c 12288 /dev/zero >disk/filler
  (sleep 4; rm disk/filler) &
  status=0
  timeout 60 "$2" </dev/null >stdout 2>stderr || status=$?
  wait
  cp disk/ping.log ../full.log
  exit $status' _ "$dir" "$PINGLOG" && STATUS=0 || STATUS=$?
check "full disk: exit 0" [ "$STATUS" = 0 ]
check "full disk: every line is whole" all_entries_whole "$WORK/full.log"
check "full disk: entries land again once there is room ($(entry_count "$WORK/full.log") entries)" \
  [ "$(entry_count "$WORK/full.log")" -gt 11 ]

# Moved, deleted and emptied between cycles.
dir=$WORK/moved
mkdir -p "$dir"
write_settings "$dir" 127.0.0.1 ping.log 0 "$(time_in 5)"
run_logger "$dir" &
sleep 1.2
mv "$dir/ping.log" "$dir/moved.log"
sleep 1
rm -f "$dir/ping.log"
sleep 1
: >"$dir/ping.log"
wait
check "moved log: the moved file's lines are whole" all_entries_whole "$dir/moved.log"
check "moved, deleted and emptied log: a new log holds whole lines" all_entries_whole "$dir/ping.log"

# Held locked by another writer for three seconds: those entries are dropped, the
# next ones land.
dir=$WORK/locked
mkdir -p "$dir"
touch "$dir/ping.log"
flock -x "$dir/ping.log" sleep 3 &
holder=$!
sleep 0.2
write_settings "$dir" 127.0.0.1 ping.log 0 "$(time_in 6)"
run_logger "$dir" &
sleep 2
size_while_locked=$(stat -c %s "$dir/ping.log")
wait
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
