# A long unattended run: over 1000 cycles on loopback with interval 0, the clock sped
# up tenfold (libfaketime) so that it takes about half a minute. Open descriptors and
# resident memory, sampled from /proc early in the run and once it has logged 1000
# cycles, stay flat. The run is ended by its cycle count, however long a busy machine
# takes to get there, not by an end time it might not reach.
source "$(dirname "$0")/lib.sh"
need_root "the long run (raw ICMP)"
need_faketime "the long run"
[ -z "${PINGLOG_SANITIZED:-}" ] || skip "memory is not flat under a sanitizer's quarantine"

dir=$WORK/long
mkdir -p "$dir"
write_settings "$dir" 127.0.0.1 ping.log 0 "$(time_in 86400)"
(cd "$dir" && exec env LD_PRELOAD="$FAKETIME_LIB" FAKETIME="+0 x10" "$PINGLOG" </dev/null \
  >/dev/null 2>"$dir/stderr") &
pid=$!
on_exit "kill $pid 2>/dev/null"
sample() { echo "$(ls /proc/$pid/fd | wc -l) $(awk '/^VmRSS/ {print $2}' /proc/$pid/status)"; }
wait_until 60 '[ "$(entry_count "$dir/ping.log")" -ge 20 ]'
read -r fds_early rss_early <<<"$(sample)"
cycles_early=$(entry_count "$dir/ping.log")
wait_until 600 '[ "$(entry_count "$dir/ping.log")" -ge 1000 ]'
read -r fds_late rss_late <<<"$(sample)"
cycles_late=$(entry_count "$dir/ping.log")
check "long run: still running at cycle $cycles_late" kill -0 $pid
kill $pid
wait $pid 2>/dev/null || true
echo "cycle $cycles_early: $fds_early descriptors, $rss_early kB resident;" \
  "cycle $cycles_late: $fds_late descriptors, $rss_late kB resident"

check "long run: 1000 cycles or more ($(entry_count "$dir/ping.log"))" [ "$(entry_count "$dir/ping.log")" -ge 1000 ]
check "long run: every line is whole" all_entries_whole "$dir/ping.log"
check "long run: open descriptors stay flat ($fds_early, $fds_late)" [ "$fds_late" -le "$fds_early" ]
check "long run: resident memory stays flat ($rss_early kB, $rss_late kB)" \
  [ "$rss_late" -le $((rss_early + 64)) ]

finish
