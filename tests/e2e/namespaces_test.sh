# The logger among test hosts of its own: network namespaces made and removed here.
#
#   client 198.18.0.1 ---- 198.18.0.2 server (kernel echo, or the scripted responder)
#   client 198.18.1.1 ---- 198.18.1.254 router (forwards, but has no route onward)
#
# The client resolves names from its own hosts file, and its resolv.conf points at
# nothing, so an unknown name fails at once without leaving the machine. Tests that
# care about the socket kind run twice: as root with the default ping_group_range
# (raw socket) and as nobody with the range open (datagram socket).
source "$(dirname "$0")/lib.sh"
need_namespaces "the namespace tests"
copy_for_nobody

make_client_server
make_ns router
link_ns client c1 198.18.1.1/24 router r0 198.18.1.254/24
in_ns client ip route add 198.51.100.0/24 via 198.18.1.254
in_ns client ip route add unreachable 203.0.113.0/24
in_ns router sysctl -qw net.ipv4.ip_forward=1 net.ipv4.icmp_ratelimit=0
mkdir -p "/etc/netns/${NS_PREFIX}client"
printf '127.0.0.1 localhost\n198.18.0.2 target\n198.18.0.3 multi\n198.18.0.2 multi\n' \
  >"/etc/netns/${NS_PREFIX}client/hosts"
printf 'nameserver 127.0.0.1\n' >"/etc/netns/${NS_PREFIX}client/resolv.conf"

# Names from the client's own hosts file; the last address of a name wins.
run_in_client byname target 2
check "a name from the hosts file resolves and is answered" \
  every_item_is "$LOG" '^Reply from 198\.18\.0\.2:  bytes = 32 time = [0-9]+ms TTL = 64$'
check "by-name entries show the address" grep -q ' -> Pinging target \[198.18.0.2\] with' "$LOG"
run_in_client multi multi 2
check "a name with two addresses takes the last one" grep -q ' -> Pinging multi \[198.18.0.2\] with' "$LOG"
check "a name with two addresses is pinged there" every_item_is "$LOG" '^Reply from 198\.18\.0\.2:  bytes = 32'
run_in_client unknown no-such-host.invalid 2
check "a failing lookup writes nothing" [ ! -e "$LOG" ]
check "a failing lookup ends quietly" [ ! -s "$WORK/unknown/stderr" ]
# With no interval, failing lookups must not turn into a busy loop: each such cycle
# still takes the shortest cycle's time. `times` gives the CPU time of the children.
mkdir -p "$WORK/storm"
write_settings "$WORK/storm" no-such-host.invalid ping.log 0 "$(time_in 4)"
start=$(date +%s%N)
cpu=$(cd "$WORK/storm" && in_ns client "$PINGLOG" </dev/null >/dev/null 2>&1; times)
cpu=$(tail -1 <<<"$cpu")
wall_ms=$((($(date +%s%N) - start) / 1000000))
cpu_ms=$(awk '{ n = split($0, t, /[ms]+/); s = 0; for (i = 1; i + 1 <= n; i += 2) s += t[i] * 60 + t[i + 1]; printf "%d", s * 1000 }' <<<"$cpu")
check_that "failing lookups back to back stay idle (${cpu_ms} ms CPU in ${wall_ms} ms)" \
  '[ "$wall_ms" -ge 2000 ] && [ "$cpu_ms" -lt $((wall_ms / 4)) ]'

# Local refusals, numbered as the Windows echo service numbers them.
run_in_client zero 0.0.0.0 2
check "destination 0.0.0.0 is refused with 1214" every_item_is "$LOG" 'Error no: 1214$'
run_in_client digit 3host 2
check "a host text beginning with a digit is 0.0.0.0: 1214" every_item_is "$LOG" 'Error no: 1214$'
run_in_client unreachable 203.0.113.9 2
check "an unreachable route gives 11003" every_item_is "$LOG" '^Reply from 203\.0\.113\.9:  Error no: 11003$'
run_in_client noroute 192.0.2.1 2
check "no route gives 11050" every_item_is "$LOG" 'Error no: 11050$'
check "failure entries are whole" all_entries_whole "$LOG"
check "failure entries read 255/0" grep -q 'Minimum = 255ms,  Maximum = 0,  Average = 0.00ms' "$LOG"

in_ns client sysctl -qw net.ipv4.ping_group_range="1 0"
run_in_client denied 198.18.0.2 2 "${AS_NOBODY[@]}"
check "no ICMP socket at all gives 5" every_item_is "$LOG" 'Error no: 5$'

for kind in raw datagram; do
  use_socket_kind $kind

  # A router with no route onward answers "network unreachable"; the kernel may
  # rate-limit those, so an attempt may time out instead, but one must come through.
  run_in_client router-$kind 198.51.100.7 2 "${AS[@]}"
  check "$kind: router errors or time-outs only" \
    every_item_is "$LOG" '^Reply from 198\.18\.1\.254:  bytes = 0 time = [0-9]+ms TTL = [0-9]+$|Error no: 11010$'
  check "$kind: the router's error is a reply from the router" grep -q 'Reply from 198.18.1.254:  bytes = 0' "$LOG"

  # The scripted responder: chosen delays and TTL, checked with real packets.
  start_responder --ttl 77 --delays 40,150,0
  run_in_client responder-$kind 198.18.0.2 2 "${AS[@]}"
  stop_responder
  times=$(items "$LOG" | sed -E 's/.* time = ([0-9]+)ms TTL = ([0-9]+)$/\1 \2/')
  check "$kind: replies carry the responder's TTL" [ "$(grep -c ' 77$' <<<"$times")" = 3 ]
  read -r t1 _ t2 _ t3 _ <<<"$(tr '\n' ' ' <<<"$times")"
  # Never shorter than the delay; a busy machine may only add to it.
  check_that "$kind: measured times follow the delays ($t1 $t2 $t3)" \
    '[ "$t1" -ge 40 ] && [ "$t2" -ge 150 ] && [ "$t3" -ge 0 ] &&
     [ "$t1" -lt 2000 ] && [ "$t2" -lt 2000 ] && [ "$t3" -lt 2000 ]'
  min=$(printf '%s\n' "$t1" "$t2" "$t3" | sort -n | head -1)
  max=$(printf '%s\n' "$t1" "$t2" "$t3" | sort -n | tail -1)
  avg=$(awk -v a="$t1" -v b="$t2" -v c="$t3" 'BEGIN { s = 0; if (a > 0) s += a; if (b > 0) s += b; if (c > 0) s += c; printf "%.2f", s / 3 }')
  check "$kind: the summary agrees with the items" \
    [ "$(summary "$LOG")" = "Minimum = ${min}ms,  Maximum = $max,  Average = ${avg}ms" ]

  # No reply at all: three time-outs, and the cycle takes about 3.3 s.
  in_ns server sysctl -qw net.ipv4.icmp_echo_ignore_all=1
  run_in_client timeout-$kind 198.18.0.2 2 "${AS[@]}"
  in_ns server sysctl -qw net.ipv4.icmp_echo_ignore_all=0
  check "$kind: time-outs give 11010" every_item_is "$LOG" '^Reply from 198\.18\.0\.2:  Error no: 11010$'
  check_that "$kind: one time-out cycle takes about 3.3 s (${ELAPSED_MS} ms)" \
    '[ "$ELAPSED_MS" -ge 3300 ] && [ "$ELAPSED_MS" -lt 30000 ]'
done

finish
