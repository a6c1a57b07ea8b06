# Helpers for the process-level tests: sourced by each *_test.sh, which gets the
# program's path as its first argument. Each test works in its own temporary directory.

PINGLOG=$(readlink -f "$1")
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
fail() {
  echo "FAIL: $*" >&2
  FAILURES=$((FAILURES + 1))
}
pass() { echo "ok: $*"; }
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
finish() {
  if ((FAILURES)); then
    echo "$FAILURES check(s) failed" >&2
    exit 1
  fi
  exit 0
}
skip() {
  echo "SKIP: $*"
  exit 77
}
need_root() { [ "$(id -u)" = 0 ] || skip "$1 needs root (run as root, as CI does)"; }

# A local date and time the given number of seconds from now, as Kep.ini writes it.
time_in() { date -d "@$(($(date +%s) + $1))" '+%Y-%m-%d %H:%M:%S'; }

# write_settings DIR HOST LOG INTERVAL END
write_settings() {
  printf 'Host=%s\r\nLog=%s\r\nInterval=%s\r\nEnd=%s\r\n' "$2" "$3" "$4" "$5" >"$1/Kep.ini"
}

# run_logger DIR [PREFIX...]: runs the logger in DIR with no terminal, bounded in time;
# sets STATUS, and leaves stderr in DIR/stderr.
run_logger() {
  local dir=$1
  shift
  STATUS=0
  (cd "$dir" && timeout 120 "$@" "$PINGLOG" </dev/null >"$dir/stdout" 2>"$dir/stderr") || STATUS=$?
}

# Entries of a log, one per line, with the CR LF ends checked and removed.
entries() { tr -d '\r' <"$1"; }
