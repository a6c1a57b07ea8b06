# The packages as users get them: the Debian package (contents, control data, lintian,
# manual pages, the service unit, the extracted program doing its job on loopback),
# `cmake --install` into a prefix, and the Windows zip (its program under Wine).
# Arguments: the Linux package build directory, the Windows build directory.
source "$(dirname "$0")/../e2e/lib.sh" /bin/true
BUILD=$(readlink -f "$1")
WIN_BUILD=${2:+$(readlink -f "$2")}
DEB=$BUILD/pinglog_1.0.0_amd64.deb
[ -f "$DEB" ] || { fail "no package at $DEB"; finish; }

# Contents and control data.
contents=$(dpkg-deb -c "$DEB" | awk '{print $6}')
for path in ./usr/bin/pinglog ./usr/bin/pinglog-report ./usr/bin/pinglog-check \
  ./lib/systemd/system/pinglog-metrics.service \
  ./usr/share/man/man1/pinglog.1.gz ./usr/share/man/man1/pinglog-check.1.gz \
  ./usr/share/man/man1/pinglog-report.1.gz ./usr/share/doc/pinglog/README.md \
  ./usr/share/doc/pinglog/copyright ./usr/share/doc/pinglog/changelog.gz \
  ./usr/share/doc/pinglog/examples/Kep.ini ./lib/systemd/system/pinglog@.service; do
  check "the package holds $path" grep -qx -- "$path" <<<"$contents"
done
check "nothing but the program's files" [ -z "$(grep -vE '^\./(usr|lib)(/|$)' <<<"$contents")" ]
control=$(dpkg-deb -I "$DEB")
check "Depends names libcap2-bin and the libraries" \
  grep -qE '^ Depends: .*libcap2-bin.*libc6 \(>=' <<<"$control"
check "postinst gives the capability" \
  bash -c "dpkg-deb -e '$DEB' '$WORK/control' && grep -q 'setcap cap_net_raw+ep /usr/bin/pinglog' '$WORK/control/postinst'"

# lintian: clean but for the maintainer address, which is not published yet (README).
lintian_out=$(lintian --fail-on error,warning --suppress-tags bogus-mail-host,bogus-mail-host-in-debian-changelog "$DEB" 2>/dev/null) &&
  lintian_status=0 || lintian_status=$?
check "lintian finds no error or warning${lintian_out:+: $lintian_out}" [ "$lintian_status" = 0 ]

# Extracted: manual pages render without warnings; the unit verifies; the program works.
root=$WORK/root
dpkg-deb -x "$DEB" "$root"
for page in "$root"/usr/share/man/man1/*.1.gz; do
  warnings=$(man --warnings -l "$page" 2>&1 >/dev/null)
  check "$(basename "$page") renders without warnings${warnings:+: $warnings}" [ -z "$warnings" ]
done
mkdir -p "$WORK/unit"
check "the unit checks the settings before it starts the logger" \
  grep -qx 'ExecStartPre=/usr/bin/pinglog-check' "$root/lib/systemd/system/pinglog@.service"
for unit in pinglog@.service pinglog-metrics.service; do
  name=${unit/@/@demo}
  sed "s|^\(ExecStart[A-Za-z]*\)=/usr/bin/|\1=$root/usr/bin/|" \
    "$root/lib/systemd/system/$unit" >"$WORK/unit/$name"
  unit_out=$(systemd-analyze verify --man=no "$WORK/unit/$name" 2>&1 || true)
  check "systemd-analyze verifies $unit${unit_out:+: $unit_out}" [ -z "$unit_out" ]
  # The exposure score (0 safe .. 10 exposed); Debian's own prometheus.service rates 4.0.
  score=$(systemd-analyze security --offline=true "$WORK/unit/$name" 2>&1 |
    sed -nE 's/.*Overall exposure level for .*: ([0-9.]+) .*/\1/p')
  check_that "$unit is hardened to an exposure of 2.5 or lower (${score:-none})" \
    'awk -v s="${score:-99}" "BEGIN { exit !(s <= 2.5) }"'
done
check "the alert rules are in the examples" [ -s "$root/usr/share/doc/pinglog/examples/pinglog-alerts.yml" ]

# The units' system-call filter (@system-service, less @privileged and @resources)
# cannot be tried without systemd: instead every system call the programs make through
# a whole run, traced, must lie inside it.
expand_group() {  # the system calls of a filter group, nested groups expanded
  systemd-analyze syscall-filter "$1" 2>/dev/null | sed -n '2,$p' | sed -E 's/^ +//; /^#/d; /^$/d' |
    while read -r item; do
      if [ "${item#@}" != "$item" ]; then expand_group "$item"; else echo "$item"; fi
    done
}
if [ "$(id -u)" = 0 ] && command -v strace >/dev/null; then
  expand_group @system-service | sort -u >"$WORK/allowed"
  { expand_group @privileged; expand_group @resources; } | sort -u >"$WORK/denied"
  comm -23 "$WORK/allowed" "$WORK/denied" >"$WORK/filter"
  traced_calls() { grep -oE '^[0-9]+ +[a-z0-9_]+\(' "$1" | sed -E 's/^[0-9]+ +//; s/\($//' | sort -u; }
  outside_filter() { traced_calls "$1" | comm -23 - "$WORK/filter" | tr '\n' ' ' | sed 's/ $//'; }
  mkdir -p "$WORK/trace"
  # The logger and its check: a lookup, replies, a log write; time-outs too, where a
  # silent peer can be had in a test namespace.
  write_settings "$WORK/trace" localhost ping.log 0 "$(time_in 3)"
  (cd "$WORK/trace" && strace -f -qq -o "$WORK/check.trace" "$root/usr/bin/pinglog-check" >/dev/null &&
    strace -f -qq -o "$WORK/logger.trace" "$root/usr/bin/pinglog" </dev/null >/dev/null 2>&1)
  if ip netns add "${NS_PREFIX}probe" 2>/dev/null; then
    ip netns del "${NS_PREFIX}probe"
    make_client_server
    in_ns server sysctl -qw net.ipv4.icmp_echo_ignore_all=1
    write_settings "$WORK/trace" 198.18.0.2 silent.log 0 "$(time_in 2)"
    (cd "$WORK/trace" && ip netns exec "${NS_PREFIX}client" strace -f -qq -o "$WORK/timeouts.trace" \
      "$root/usr/bin/pinglog" </dev/null >/dev/null 2>&1)
    check "the logger's time-outs were traced" grep -q 'Error no: 11010' "$WORK/trace/silent.log"
    cat "$WORK/timeouts.trace" >>"$WORK/logger.trace"
  fi
  check "the logger's run was traced ($(traced_calls "$WORK/logger.trace" | wc -l) calls)" \
    grep -q 'Reply from 127.0.0.1' "$WORK/trace/ping.log"
  outside=$(outside_filter "$WORK/logger.trace")
  check "every system call of the logger passes the unit's filter${outside:+ (not: $outside)}" [ -z "$outside" ]
  outside=$(outside_filter "$WORK/check.trace")
  check "every system call of pinglog-check passes the unit's filter${outside:+ (not: $outside)}" [ -z "$outside" ]
  # The follower: a new entry, then a truncation to a copy of the first (counted once).
  mkdir -p "$WORK/trace/textfiles"
  head -3 "$WORK/trace/ping.log" >"$WORK/trace/followed.log"
  strace -f -qq -o "$WORK/follower.trace" "$root/usr/bin/pinglog-report" --follow \
    --textfile "$WORK/trace/textfiles/pinglog.prom" "$WORK/trace/follow*.log" &
  tracer=$!
  sleep 1.5
  tail -1 "$WORK/trace/ping.log" >>"$WORK/trace/followed.log"
  sleep 1.5
  head -1 "$WORK/trace/ping.log" >"$WORK/trace/followed.log"
  sleep 1.5
  pkill -TERM -f "pinglog-report --follow --textfile $WORK/trace" || true
  wait $tracer 2>/dev/null || true
  check "the follower's run was traced" grep -q '^pinglog_cycles_total.* 4$' "$WORK/trace/textfiles/pinglog.prom"
  outside=$(outside_filter "$WORK/follower.trace")
  check "every system call of the follower passes its unit's filter${outside:+ (not: $outside)}" [ -z "$outside" ]
else
  echo "SKIP: tracing the programs' system calls needs root and strace"
fi

if [ "$(id -u)" = 0 ]; then
  mkdir -p "$WORK/run"
  PINGLOG=$root/usr/bin/pinglog
  write_settings "$WORK/run" 127.0.0.1 ping.log 0 "$(time_in 2)"
  run_logger "$WORK/run"
  check "the packaged program logs replies on loopback" \
    every_item_is "$WORK/run/ping.log" '^Reply from 127\.0\.0\.1:  bytes = 32'
  check "the packaged report reads the log" \
    bash -c "'$root/usr/bin/pinglog-report' '$WORK/run/ping.log' | grep -q 'Requests .* 0 lost'"
else
  echo "SKIP: running the packaged program needs root (raw ICMP)"
fi

# cmake --install into a prefix.
cmake --install "$BUILD" --prefix "$WORK/prefix" >/dev/null
for path in bin/pinglog bin/pinglog-report bin/pinglog-check share/man/man1/pinglog.1.gz \
  share/man/man1/pinglog-check.1.gz share/doc/pinglog/README.md \
  share/doc/pinglog/examples/Kep.ini; do
  check "cmake --install puts $path" [ -e "$WORK/prefix/$path" ]
done

# The Windows zip.
if [ -n "$WIN_BUILD" ]; then
  zip=$WIN_BUILD/pinglog-1.0.0-windows-x64.zip
  listing=$(python3 -m zipfile -l "$zip" 2>/dev/null | awk 'NR > 1 {print $1}' | sort | tr '\n' ' ')
  check "the zip holds pinglog.exe, pinglog-check.exe, pinglog-report.exe, README.txt, LICENSE and Kep.ini ($listing)" \
    [ "$listing" = "Kep.ini LICENSE README.txt pinglog-check.exe pinglog-report.exe pinglog.exe " ]
  if [ "$(id -u)" = 0 ] && [ -x /usr/lib/wine/wine64 ]; then
    python3 -m zipfile -e "$zip" "$WORK/zip"
    for text in README.txt Kep.ini; do
      crlf=$(grep -c $'\r$' "$WORK/zip/$text") all=$(grep -c '' "$WORK/zip/$text")
      check "the zip's $text has CR LF line ends ($crlf of $all lines)" [ "$crlf" = "$all" ]
    done
    PINGLOG=$WORK/zip/pinglog.exe
    write_settings "$WORK/zip" 127.0.0.1 ping.log 0 "$(time_in 4)"
    run_logger "$WORK/zip" "$(readlink -f "$(dirname "$0")/../../tools/wine-run.sh")"
    check "the zipped program logs replies under Wine" \
      every_item_is "$WORK/zip/ping.log" '^Reply from 127\.0\.0\.1:  bytes = 32'
  fi
fi

finish
