# Helpers for the process-level tests: sourced by each *_test.sh, which gets the
# program's path as its first argument. Each test works in its own temporary directory.

PINGLOG=$(readlink -f "$1")
RESPONDER=$(readlink -f "${2:-}")
WORK=$(mktemp -d /tmp/pinglog-e2e.XXXXXX)
CLEANUPS=()
cleanup_all() {
  local i
  for ((i = ${#CLEANUPS[@]} - 1; i >= 0; i--)); do eval "${CLEANUPS[i]}" || true; done
  rm -rf "$WORK"
}
trap cleanup_all EXIT
on_exit() { CLEANUPS+=("$*"); }

FAILURES=0
PASSES=0
fail() {
  echo "FAIL: $*" >&2
  FAILURES=$((FAILURES + 1))
}
pass() {
  echo "ok: $*"
  PASSES=$((PASSES + 1))
}
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
# check_that DESCRIPTION 'EXPRESSION': for conditions made of several commands.
check_that() {
  local what=$1
  shift
  if eval "$*"; then pass "$what"; else fail "$what"; fi
}
finish() {
  echo "$PASSES passed, $FAILURES failed"
  ((FAILURES == 0))
  exit
}
skip() {
  echo "SKIP: $*"
  exit 77
}
need_root() { [ "$(id -u)" = 0 ] || skip "$1 needs root (run as root, as CI does)"; }

# A local date and time the given number of seconds from now, as Kep.ini writes it.
# Whole seconds, so it can lie up to one second closer: ask for 2 or more when the
# program must run at least one cycle.
time_in() { date -d "@$(($(date +%s) + $1))" '+%Y-%m-%d %H:%M:%S'; }

# write_settings DIR HOST LOG INTERVAL END
write_settings() {
  printf 'Host=%s\r\nLog=%s\r\nInterval=%s\r\nEnd=%s\r\n' "$2" "$3" "$4" "$5" >"$1/Kep.ini"
}

# run_logger DIR [PREFIX...]: runs the logger in DIR with no terminal, bounded in time;
# sets STATUS, and leaves stderr in DIR/stderr. Run in the background, its exit code
# is the logger's.
run_logger() {
  local dir=$1
  shift
  STATUS=0
  (cd "$dir" && timeout 120 "$@" "$PINGLOG" </dev/null >"$dir/stdout" 2>"$dir/stderr") || STATUS=$?
  return "$STATUS"
}

# run_for DIR HOST LOG SECONDS [PREFIX...]: run_logger with cycles back to back until
# SECONDS after the logger's own start: its settings are written by its own process
# just before the program starts, so a busy machine that is slow to start it (or to
# enter a namespace) still gets its cycle.
run_for() {
  local dir=$1 host=$2 log=$3 seconds=$4
  shift 4
  # shellcheck disable=SC2016  # expanded by the inner shell
  run_logger "$dir" "$@" sh -c 'printf "Host=%s\r\nLog=%s\r\nInterval=0\r\nEnd=%s\r\n" "$0" "$1" \
    "$(date -d "@$(($(date +%s) + $2))" "+%Y-%m-%d %H:%M:%S")" >Kep.ini && exec "$3"' \
    "$host" "$log" "$seconds"
}


# One whole log entry: time stamp, target, three items, statistics, CR LF.
TS_RE='[0-9]{2}\.[0-9]{2}\.[0-9]{4} / [0-9]{2}:[0-9]{2}:[0-9]{2}'
ITEM_RE='(Reply from [0-9.]+:  bytes = [0-9]+ time = [0-9]+ms TTL = [0-9]+\t|\tReply from [0-9.]+:  Error no: [0-9]+\t)'
ENTRY_RE="^$TS_RE -> Pinging [^\t\r\n]*( \[[0-9.]+\])? with 32 bytes of data:\t$ITEM_RE{3}"
ENTRY_RE+="Ping statistics for [^\t\r\n]*:   Packets: Sent = 3, Received = [0-3], Lost = [0-3] \([0-9]+% loss\)\t"
ENTRY_RE+="Approximate round trip times in milli-seconds:\tMinimum = [0-9]+ms,  Maximum = [0-9]+,  Average = [0-9]+\.[0-9]{2}ms\r$"

# Every line of the file is a whole entry, and the file ends with CR LF.
all_entries_whole() {
  [ -s "$1" ] || return 1
  [ "$(tail -c 2 "$1" | od -An -tx1 | tr -d ' ')" = "0d0a" ] || return 1
  ! grep -qvP "$ENTRY_RE" "$1"
}

entry_count() { if [ -f "$1" ]; then grep -c '' "$1"; else echo 0; fi; }

# wait_until SECONDS 'CONDITION': waits for the thing itself, looking every tenth of a
# second; false when it did not come within the (generous) bound. A busy machine only
# makes it wait longer.
wait_until() {
  local _
  for _ in $(seq $(($1 * 10))); do
    eval "$2" && return 0
    sleep 0.1
  done
  eval "$2"
}

# The three items of line N (default 1) of a log, one per output line.
items() { sed -n "${2:-1}p" "$1" | tr -d '\r' | tr '\t' '\n' | grep '^Reply from' | head -3; }

# The last piece of line N: "Minimum = ...".
summary() { sed -n "${2:-1}p" "$1" | tr -d '\r' | tr '\t' '\n' | tail -1; }

# check_appending_by_name [PREFIX...]: localhost takes the name branch; two runs
# append behind the bytes already in the log and keep them.
check_appending_by_name() {
  local dir=$WORK/byname first
  mkdir -p "$dir"
  printf 'existing line\r\n' >"$dir/ping.log"
  write_settings "$dir" localhost ping.log 0 "$(time_in 3)"
  run_logger "$dir" "$@"
  first=$(entry_count "$dir/ping.log")
  run_logger "$dir" "$@"  # the end time has passed: no cycle
  write_settings "$dir" localhost ping.log 0 "$(time_in 3)"
  run_logger "$dir" "$@"
  check "localhost is looked up and shown with its address" \
    grep -q $' -> Pinging localhost \\[127.0.0.1\\] with 32 bytes of data:\t' "$dir/ping.log"
  check "existing bytes are kept in front" [ "$(head -1 "$dir/ping.log")" = $'existing line\r' ]
  check "a second run appends behind the first" [ "$(entry_count "$dir/ping.log")" -gt "$first" ]
  sed -i 1d "$dir/ping.log"
  check "appended entries are whole" all_entries_whole "$dir/ping.log"
}

# Every item of every line matches the pattern (grep -E).
every_item_is() {
  local file=$1 pattern=$2 n lines
  lines=$(entry_count "$file")
  [ "$lines" -gt 0 ] || return 1
  for ((n = 1; n <= lines; n++)); do
    [ "$(items "$file" "$n" | grep -cE "$pattern")" = 3 ] || return 1
  done
}

# Network namespaces of this test run, deleted when the test ends.
NS_PREFIX="pl$$"
make_ns() {
  local ns=$NS_PREFIX$1
  ip netns add "$ns"
  on_exit "ip netns del $ns; rm -rf /etc/netns/$ns"
  ip -n "$ns" link set lo up
}
# link_ns A IFACE_A ADDR_A B IFACE_B ADDR_B: a veth pair between two namespaces.
link_ns() {
  ip -n "$NS_PREFIX$1" link add "$2" type veth peer name "$5" netns "$NS_PREFIX$4"
  ip -n "$NS_PREFIX$1" addr add "$3" dev "$2"
  ip -n "$NS_PREFIX$4" addr add "$6" dev "$5"
  ip -n "$NS_PREFIX$1" link set "$2" up
  ip -n "$NS_PREFIX$4" link set "$5" up
}
in_ns() {
  local ns=$NS_PREFIX$1
  shift
  ip netns exec "$ns" "$@"
}
need_namespaces() {
  need_root "$1"
  ip netns add "${NS_PREFIX}probe" 2>/dev/null || skip "$1 needs network namespaces (ip netns add failed)"
  ip netns del "${NS_PREFIX}probe"
}

# A copy of the program that another user may run, and a directory it may write.
copy_for_nobody() {
  chmod 755 "$WORK"
  cp "$PINGLOG" "$WORK/pinglog"
  chmod 755 "$WORK/pinglog"
  PINGLOG=$WORK/pinglog
}
AS_NOBODY=(setpriv --reuid=65534 --regid=65534 --clear-groups)

# The client and server test hosts: client 198.18.0.1 ---- 198.18.0.2 server.
make_client_server() {
  make_ns client
  make_ns server
  link_ns client c0 198.18.0.1/24 server s0 198.18.0.2/24
}

# run_in_client NAME HOST END_IN_SECONDS [AS...]: one run of the logger in the client
# namespace, in a fresh directory; sets LOG and ELAPSED_MS.
run_in_client() {
  local name=$1 host=$2 seconds=$3
  shift 3
  LOG=$WORK/$name/ping.log
  mkdir -p "$WORK/$name"
  chmod 777 "$WORK/$name"
  local start=$(date +%s%N)
  run_for "$WORK/$name" "$host" ping.log "$seconds" ip netns exec "${NS_PREFIX}client" "$@"
  ELAPSED_MS=$((($(date +%s%N) - start) / 1000000))
  [ "$STATUS" = 0 ] || fail "$name: exit code $STATUS"
}

# use_socket_kind raw|datagram: the client pings as root with the default
# ping_group_range (raw socket), or as nobody with the range open (datagram socket).
# Sets AS for run_in_client.
use_socket_kind() {
  if [ "$1" = raw ]; then
    in_ns client sysctl -qw net.ipv4.ping_group_range="1 0"
    AS=()
  else
    in_ns client sysctl -qw net.ipv4.ping_group_range="0 2147483647"
    AS=("${AS_NOBODY[@]}")
  fi
}

# start_responder ARGS...: the scripted echo peer on the server, kernel echo off; back
# once it listens. Each responder writes a file of its own: on a busy machine the shell
# may look before a new responder has even opened its output, and must not find an
# earlier responder's "ready" there.
RESPONDERS=0
start_responder() {
  in_ns server sysctl -qw net.ipv4.icmp_echo_ignore_all=1
  local out=$WORK/responder.$((++RESPONDERS)).out
  ip netns exec "${NS_PREFIX}server" "$RESPONDER" "$@" >"$out" &
  RESPONDER_PID=$!
  on_exit "kill $RESPONDER_PID 2>/dev/null"
  wait_until 60 "grep -qs ready '$out' || ! kill -0 $RESPONDER_PID" || true
  grep -qs ready "$out" || fail "the responder did not start"
}
stop_responder() {
  kill "$RESPONDER_PID"
  wait "$RESPONDER_PID" 2>/dev/null || true
  in_ns server sysctl -qw net.ipv4.icmp_echo_ignore_all=0
}

# libfaketime (Debian's faketime package) for runs under a faked wall clock.
FAKETIME_LIB=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
need_faketime() { [ -f "$FAKETIME_LIB" ] || skip "$1 needs libfaketime (Debian's faketime)"; }
# A sanitized program must accept the preload after its own runtime.
export ASAN_OPTIONS=${ASAN_OPTIONS:-verify_asan_link_order=0}
