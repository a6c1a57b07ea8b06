# The Windows program under Wine, run as a user would: in a directory with a Kep.ini.
# Arguments: pinglog.exe, and optionally the Linux program to compare logs with.
source "$(dirname "$0")/../lib.sh"
WINE_RUN=$(readlink -f "$(dirname "$0")/../../../tools/wine-run.sh")
LINUX_PINGLOG=${2:+$(readlink -f "$2")}
[ -x /usr/lib/wine/wine64 ] || skip "the Windows tests need Wine (Debian's wine64)"
need_root "Wine's ICMP (it needs root or an open ping_group_range)"
OBJDUMP=x86_64-w64-mingw32-objdump

# The executable: GUI subsystem, system DLLs only, a version resource.
headers=$($OBJDUMP -p "$PINGLOG")
check "GUI subsystem" grep -q 'Subsystem.*(Windows GUI)' <<<"$headers"
foreign=$(grep 'DLL Name:' <<<"$headers" | awk '{print tolower($3)}' |
  grep -vxE 'kernel32.dll|user32.dll|advapi32.dll|msvcrt.dll|ws2_32.dll|iphlpapi.dll|winmm.dll' || true)
check "imports only system DLLs${foreign:+ (not: $foreign)}" [ -z "$foreign" ]
versions=$(strings -el "$PINGLOG")
check "file and product version 1.0.0.0" \
  [ "$(grep -A1 -xE 'FileVersion|ProductVersion' <<<"$versions" | grep -cx '1.0.0.0')" = 2 ]

# A loopback host: three replies per entry. (A reply area sized for the 32-bit record
# fails every request of a 64-bit build with 11050.) The end time lies 4 s ahead: a
# Wine that starts its server first can take 2 s before the first cycle.
dir=$WORK/numeric
mkdir -p "$dir"
write_settings "$dir" 127.0.0.1 ping.log 0 "$(time_in 4)"
run_logger "$dir" "$WINE_RUN"
check "numeric loopback: exit 0" [ "$STATUS" = 0 ]
check "numeric loopback: whole entries" all_entries_whole "$dir/ping.log"
check "numeric loopback: three replies per entry" \
  every_item_is "$dir/ping.log" '^Reply from 127\.0\.0\.1:  bytes = 32 time = [0-9]+ms TTL = [0-9]+$'

check_appending_by_name "$WINE_RUN"

# No Kep.ini: the program shows its message box. A headless Wine has no display to
# show it on: the window cannot be created and MessageBoxA returns at once.
dir=$WORK/missing
mkdir -p "$dir"
WINEDEBUG=err+all run_logger "$dir" "$WINE_RUN"
check "no Kep.ini: exit 0" [ "$STATUS" = 0 ]
check "no Kep.ini: the message box was attempted" grep -q 'nodrv_CreateWindow' "$dir/stderr"
check "no Kep.ini: nothing written" [ -z "$(ls "$dir" | grep -vxE 'stdout|stderr')" ]

# pinglog-report.exe beside it: on the Windows program's log (CR LF), its text is the
# Linux build's, line ends aside, and but for the zone it names (Windows' names are
# not the zone database's).
REPORT_EXE=$(dirname "$PINGLOG")/pinglog-report.exe
LINUX_REPORT=${LINUX_PINGLOG:+$(dirname "$LINUX_PINGLOG")/pinglog-report}
if [ -n "$LINUX_REPORT" ] && [ -x "$LINUX_REPORT" ]; then
  (cd "$WORK/numeric" && "$WINE_RUN" "$REPORT_EXE" ping.log --csv report.csv) >"$WORK/report.win" 2>&1 &&
    STATUS=0 || STATUS=$?
  (cd "$WORK/numeric" && "$LINUX_REPORT" ping.log) >"$WORK/report.linux" 2>&1
  check "pinglog-report.exe: exit 0" [ "$STATUS" = 0 ]
  check "pinglog-report.exe says what the Linux build says, line ends aside" \
    diff <(tr -d '\r' <"$WORK/report.win" | sed 's/Times are .*//') \
    <(sed 's/Times are .*//' "$WORK/report.linux")
  check "pinglog-report.exe writes its exports" [ -s "$WORK/numeric/report.csv" ]
  # Wildcards reach a Windows program unexpanded: it matches them itself.
  windows_dir="Z:$(tr / '\\' <<<"$WORK/numeric")"
  for pattern in 'p*.log' "$windows_dir\\pi?g.log"; do
    (cd "$WORK/numeric" && "$WINE_RUN" "$REPORT_EXE" "$pattern") >"$WORK/wild.win" 2>&1 && STATUS=0 || STATUS=$?
    check_that "pinglog-report.exe $pattern: the log it matches" \
      '[ "$STATUS" = 0 ] && [ "$(grep -c "^Host " "$WORK/wild.win")" = 1 ]'
  done
  (cd "$WORK/numeric" && "$WINE_RUN" "$REPORT_EXE" 'none*.log') >"$WORK/wild.win" 2>&1 && STATUS=0 || STATUS=$?
  check_that "pinglog-report.exe with a pattern that matches nothing: named, exit 1" \
    '[ "$STATUS" = 1 ] && grep -q "none\*.log: no file matches" "$WORK/wild.win"'
else
  echo "SKIP: no Linux pinglog-report given; the report comparison did not run"
fi

# pinglog-check.exe beside it: a console program that reads the Kep.ini as the
# logger does.
CHECK_EXE=$(dirname "$PINGLOG")/pinglog-check.exe
check "pinglog-check.exe is a console program" \
  grep -q 'Subsystem.*(Windows CUI)' <<<"$($OBJDUMP -p "$CHECK_EXE")"
dir=$WORK/check
mkdir -p "$dir"
write_settings "$dir" 127.0.0.1 ping.log 5 "2037-12-31 00:00:00"
(cd "$dir" && "$WINE_RUN" "$CHECK_EXE") >"$WORK/check.out" 2>&1 && STATUS=0 || STATUS=$?
check_that "pinglog-check.exe on a good Kep.ini: exit 0 and what the logger will do" \
  '[ "$STATUS" = 0 ] && grep -q "^pinglog pings \"127.0.0.1\" every 5 minutes from now until 2037-12-31 00:00:00 (about [0-9]* cycles), appending to .*ping.log." "$WORK/check.out"'
write_settings "$dir" 127.0.0.1 ping.log 5 "2013-01-31 18:30:00"
(cd "$dir" && "$WINE_RUN" "$CHECK_EXE") >"$WORK/check.out" 2>&1 && STATUS=0 || STATUS=$?
check_that "pinglog-check.exe on a past end time: exit 1 with its line" \
  '[ "$STATUS" = 1 ] && grep -q "^error: the end time .* already past" "$WORK/check.out"'

# The same loopback run on Linux and on Windows: entries that differ only in their
# time stamps and measured times.
normalise() {
  head -1 "$1" | tr -d '\r' | tr '\t' '\n' |
    sed -E -e 's#^[0-9]{2}\.[0-9]{2}\.[0-9]{4} / [0-9:]{8}#TIME#' -e 's/time = [0-9]+ms/time = Nms/' \
      -e 's/^Minimum = [0-9]+ms,  Maximum = [0-9]+,  Average = [0-9.]+ms$/Minimum = Nms,  Maximum = N,  Average = Nms/'
}
if [ -n "$LINUX_PINGLOG" ]; then
  mkdir -p "$WORK/linux" "$WORK/windows"
  write_settings "$WORK/linux" localhost ping.log 0 "$(time_in 2)"
  (cd "$WORK/linux" && timeout 60 "$LINUX_PINGLOG" </dev/null >/dev/null 2>&1)
  write_settings "$WORK/windows" localhost ping.log 0 "$(time_in 4)"
  run_logger "$WORK/windows" "$WINE_RUN"
  normalise "$WORK/linux/ping.log" >"$WORK/linux.fields"
  normalise "$WORK/windows/ping.log" >"$WORK/windows.fields"
  check "Linux and Windows entries agree field by field" \
    diff "$WORK/linux.fields" "$WORK/windows.fields"
  check "the comparison saw a whole entry ($(grep -c '' "$WORK/linux.fields") fields)" \
    [ "$(grep -c '' "$WORK/linux.fields")" = 7 ]
else
  echo "SKIP: no Linux program given; the field-by-field comparison did not run"
fi

finish
