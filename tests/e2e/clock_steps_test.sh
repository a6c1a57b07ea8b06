# The wall clock set back and forward while the logger runs (libfaketime re-reading
# its offset from a file). The schedule follows the wall clock: set back, it goes on;
# set past the end time, it ends after the cycle under way. Round-trip times come from
# the monotonic clock, so they never go negative or jump with the steps.
source "$(dirname "$0")/lib.sh"
need_root "the clock step test (raw ICMP)"
need_faketime "the clock step test"

dir=$WORK/steps
mkdir -p "$dir"
echo "+0" >"$WORK/offset"
# The end time lies far ahead: only the step past it can end the run this soon.
write_settings "$dir" 127.0.0.1 ping.log 0 "$(time_in 600)"
run_logger "$dir" env LD_PRELOAD="$FAKETIME_LIB" FAKETIME_TIMESTAMP_FILE="$WORK/offset" \
  FAKETIME_NO_CACHE=1 FAKETIME_DONT_FAKE_MONOTONIC=1 &
logger=$!
# Whether the log steps back by most of an hour from one entry to the next.
stepped_back() {
  awk '{ split($1, d, "."); split($3, t, ":");
         now = mktime(d[3] " " d[2] " " d[1] " " t[1] " " t[2] " " t[3]);
         if (NR > 1 && before - now >= 3000) found = 1; before = now }
       END { exit !found }' "$dir/ping.log"
}
wait_until 60 '[ "$(entry_count "$dir/ping.log")" -ge 2 ]'
echo "-3600" >"$WORK/offset"  # an hour back
wait_until 60 stepped_back
echo "+3600" >"$WORK/offset"  # an hour ahead: past the end time
wait_until 60 '! kill -0 $logger 2>/dev/null'
ended=$?
wait $logger && STATUS=0 || STATUS=$?

check_that "clock steps: the run ended when the clock passed the end time, exit 0" \
  '[ "$ended" = 0 ] && [ "$STATUS" = 0 ]'
check "clock steps: every line is whole" all_entries_whole "$dir/ping.log"
check "clock steps: entries after the step back carry the earlier time" stepped_back
times=$(grep -oE 'time = -?[0-9]+ms' "$dir/ping.log" | grep -oE -- '-?[0-9]+' | sort -n)
check_that "clock steps: round-trip times never negative nor an hour long ($(head -1 <<<"$times")..$(tail -1 <<<"$times") ms)" \
  '[ "$(head -1 <<<"$times")" -ge 0 ] && [ "$(tail -1 <<<"$times")" -lt 1000 ]'

# A clock beyond 2038-01-19 03:14:07 cannot be represented: it counts as past every
# end time, whether it is there at the start or runs across the limit during the run.
dir=$WORK/beyond
mkdir -p "$dir"
write_settings "$dir" 127.0.0.1 ping.log 1 "2037-12-31 00:00:00"
run_logger "$dir" env TZ=UTC LD_PRELOAD="$FAKETIME_LIB" FAKETIME="@2040-01-01 00:00:00"
check_that "a clock in 2040 ends a run that should end in 2037 at once, without an entry" \
  '[ "$STATUS" = 0 ] && [ ! -e "$dir/ping.log" ]'
# A minute's pause is a second at sixty times the speed: the clock crosses the limit
# within about five seconds, however slowly the machine starts the program.
write_settings "$dir" 127.0.0.1 ping.log 1 "2038-01-19 03:14:07"
run_logger "$dir" env TZ=UTC LD_PRELOAD="$FAKETIME_LIB" FAKETIME="@2038-01-19 03:10:00 x60"
check_that "a clock running across the limit during a pause ends the run, exit 0" \
  '[ "$STATUS" = 0 ]'
check_that "the run across the limit wrote whole entries, each stamped before the limit" \
  '[ "$(entry_count "$dir/ping.log")" -ge 1 ] && all_entries_whole "$dir/ping.log" &&
   ! grep -qv "^19.01.2038 / 03:1[0-4]:" "$dir/ping.log" && ! grep -q "^19.01.2038 / 03:14:[1-5]" "$dir/ping.log"'

finish
