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
write_settings "$dir" 127.0.0.1 ping.log 0 "$(time_in 30)"
start=$(date +%s)
run_logger "$dir" env LD_PRELOAD="$FAKETIME_LIB" FAKETIME_TIMESTAMP_FILE="$WORK/offset" \
  FAKETIME_NO_CACHE=1 FAKETIME_DONT_FAKE_MONOTONIC=1 &
logger=$!
sleep 2
echo "-3600" >"$WORK/offset"  # an hour back
sleep 2
echo "+3600" >"$WORK/offset"  # an hour ahead: past the end time
wait $logger && STATUS=0 || STATUS=$?
elapsed=$(($(date +%s) - start))
hour_back=$(date -d '-1 hour' '+%H:')

check "clock steps: exit 0" [ "$STATUS" = 0 ]
check "clock steps: the run ended when the clock passed the end time (${elapsed} s)" \
  [ "$elapsed" -lt 15 ]
check "clock steps: every line is whole" all_entries_whole "$dir/ping.log"
check "clock steps: entries after the step back carry the earlier time" \
  grep -q "^[0-9.]* / $hour_back" "$dir/ping.log"
times=$(grep -oE 'time = -?[0-9]+ms' "$dir/ping.log" | grep -oE -- '-?[0-9]+' | sort -n)
check_that "clock steps: round-trip times stay small and never negative ($(head -1 <<<"$times")..$(tail -1 <<<"$times") ms)" \
  '[ "$(head -1 <<<"$times")" -ge 0 ] && [ "$(tail -1 <<<"$times")" -lt 200 ]'

# A clock beyond 2038-01-19 03:14:07 cannot be represented: it counts as past every
# end time, whether it is there at the start or runs across the limit during the run.
dir=$WORK/beyond
mkdir -p "$dir"
write_settings "$dir" 127.0.0.1 ping.log 1 "2037-12-31 00:00:00"
run_logger "$dir" env TZ=UTC LD_PRELOAD="$FAKETIME_LIB" FAKETIME="@2040-01-01 00:00:00"
check_that "a clock in 2040 ends a run that should end in 2037 at once, without an entry" \
  '[ "$STATUS" = 0 ] && [ ! -e "$dir/ping.log" ]'
write_settings "$dir" 127.0.0.1 ping.log 1 "2038-01-19 03:14:07"
start=$(date +%s)
run_logger "$dir" env TZ=UTC LD_PRELOAD="$FAKETIME_LIB" FAKETIME="@2038-01-19 03:13:30 x60"
check_that "a clock running across the limit during a pause ends the run ($(($(date +%s) - start)) s)" \
  '[ "$STATUS" = 0 ] && [ $(($(date +%s) - start)) -lt 30 ]'
check_that "the run across the limit wrote one whole entry with a valid stamp" \
  '[ "$(entry_count "$dir/ping.log")" = 1 ] && all_entries_whole "$dir/ping.log" && grep -q "^19.01.2038 / 03:13:3" "$dir/ping.log"'

finish
