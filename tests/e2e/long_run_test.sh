# A long unattended run: over 1000 cycles on loopback with interval 0, the clock sped
# up tenfold (libfaketime) so that it takes about half a minute. Open descriptors and
# resident memory, sampled from /proc early in the run and near its end, stay flat.
source "$(dirname "$0")/lib.sh"
need_root "the long run (raw ICMP)"
need_faketime "the long run"
[ -z "${PINGLOG_SANITIZED:-}" ] || skip "memory is not flat under a sanitizer's quarantine"

dir=$WORK/long
mkdir -p "$dir"
# 1000 cycles of 300 ms are 300 s of the sped-up clock; the rest is room for a busy
# machine.
write_settings "$dir" 127.0.0.1 ping.log 0 "$(time_in 400)"
(cd "$dir" && exec env LD_PRELOAD="$FAKETIME_LIB" FAKETIME="+0 x10" "$PINGLOG" </dev/null \
  >/dev/null 2>"$dir/stderr") &
pid=$!
sample() { echo "$(ls /proc/$pid/fd | wc -l) $(awk '/^VmRSS/ {print $2}' /proc/$pid/status)"; }
sleep 3
read -r fds_early rss_early <<<"$(sample)"
cycles_early=$(entry_count "$dir/ping.log")
# The late sample near the thousandth cycle, while the program still runs.
for _ in $(seq 600); do
  [ "$(entry_count "$dir/ping.log")" -ge 950 ] && break
  sleep 0.1
done
read -r fds_late rss_late <<<"$(sample)"
cycles_late=$(entry_count "$dir/ping.log")
wait $pid && STATUS=0 || STATUS=$?
echo "cycle $cycles_early: $fds_early descriptors, $rss_early kB resident;" \
  "cycle $cycles_late: $fds_late descriptors, $rss_late kB resident"

check "long run: exit 0" [ "$STATUS" = 0 ]
check "long run: over 1000 cycles ($(entry_count "$dir/ping.log"))" [ "$(entry_count "$dir/ping.log")" -ge 1000 ]
check "long run: every line is whole" all_entries_whole "$dir/ping.log"
check "long run: open descriptors stay flat ($fds_early, $fds_late)" [ "$fds_late" -le "$fds_early" ]
check "long run: resident memory stays flat ($rss_early kB, $rss_late kB)" \
  [ "$rss_late" -le $((rss_early + 64)) ]

finish
