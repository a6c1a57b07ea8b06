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
sed "s|^\(ExecStart[A-Za-z]*\)=/usr/bin/|\1=$root/usr/bin/|" \
  "$root/lib/systemd/system/pinglog@.service" >"$WORK/unit/pinglog@demo.service"
unit_out=$(systemd-analyze verify --man=no "$WORK/unit/pinglog@demo.service" 2>&1) && unit_status=0 || unit_status=$?
check_that "systemd-analyze verifies the unit${unit_out:+: $unit_out}" \
  '[ "$unit_status" = 0 ] && [ -z "$unit_out" ]'

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
  check "the zip holds pinglog.exe, pinglog-check.exe, README.md, LICENSE and Kep.ini ($listing)" \
    [ "$listing" = "Kep.ini LICENSE README.md pinglog-check.exe pinglog.exe " ]
  if [ "$(id -u)" = 0 ] && [ -x /usr/lib/wine/wine64 ]; then
    python3 -m zipfile -e "$zip" "$WORK/zip"
    PINGLOG=$WORK/zip/pinglog.exe
    write_settings "$WORK/zip" 127.0.0.1 ping.log 0 "$(time_in 4)"
    run_logger "$WORK/zip" "$(readlink -f "$(dirname "$0")/../../tools/wine-run.sh")"
    check "the zipped program logs replies under Wine" \
      every_item_is "$WORK/zip/ping.log" '^Reply from 127\.0\.0\.1:  bytes = 32'
  fi
fi

finish
