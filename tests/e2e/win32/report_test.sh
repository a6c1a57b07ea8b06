# pinglog-report.exe under Wine, beside the Linux build: the outputs in Unix time from
# Windows' own zones. Arguments: pinglog.exe and the Linux pinglog (its build directory
# has the Linux report and the log maker).
source "$(dirname "$0")/../lib.sh"
WINE_RUN=$(readlink -f "$(dirname "$0")/../../../tools/wine-run.sh")
[ -x /usr/lib/wine/wine64 ] || skip "the Windows tests need Wine (Debian's wine64)"
[ -n "${2:-}" ] || skip "no Linux build given to compare with"
LINUX_BUILD=$(dirname "$(readlink -f "$2")")
REPORT_EXE=$(dirname "$PINGLOG")/pinglog-report.exe
LINUX_REPORT=$LINUX_BUILD/pinglog-report
[ -x "$LINUX_REPORT" ] || skip "no Linux pinglog-report in $LINUX_BUILD"
cd "$WORK"
wine_report() { "$WINE_RUN" "$REPORT_EXE" "$@"; }

# A week across the night the clocks go back (25 October 2026 in Germany), every 5
# minutes: the hour from 02:00 is written twice.
"$LINUX_BUILD/tests/make_log" --cycles 2016 --interval 5 --start "2026-10-21 00:00:00" >week.log
"$LINUX_REPORT" week.log --tz Europe/Berlin --openmetrics linux.om --textfile linux.prom >/dev/null
wine_report week.log --tz "W. Europe Standard Time" --openmetrics named.om >named.out 2>&1 &&
  STATUS=0 || STATUS=$?
check_that "--tz \"W. Europe Standard Time\": exit 0, the zone named" \
  '[ "$STATUS" = 0 ] && grep -q "in the zone W. Europe Standard Time (--tz)" named.out'
check "across the fall-back night, the samples of the Linux build with --tz Europe/Berlin" \
  cmp linux.om named.om
TZ=Europe/Berlin wine_report week.log --openmetrics own.om --textfile own.prom >own.out 2>&1
check "without --tz, this machine's zone (Wine's from TZ): the same samples" cmp linux.om own.om
check "the textfile: the Linux build's" cmp linux.prom own.prom
check "the machine's zone named" grep -q "(this machine's; --tz names another)" own.out
TZ=Europe/Berlin wine_report week.log --textfile own.prom >again.out 2>&1 && STATUS=0 || STATUS=$?
check_that "a second run replaces the textfile (rename() would refuse on Windows)" \
  '[ "$STATUS" = 0 ] && cmp linux.prom own.prom'

wine_report week.log --tz Europe/Berlin >iana.out 2>&1 && STATUS=0 || STATUS=$?
check_that "an IANA name: exit 2 with the Windows name to use" \
  '[ "$STATUS" = 2 ] && grep -q "Windows names this zone \"W. Europe Standard Time\"" iana.out'
wine_report week.log --tz "Mars Standard Time" >unknown.out 2>&1 && STATUS=0 || STATUS=$?
check_that "an unknown zone: exit 2, where the names are listed" \
  '[ "$STATUS" = 2 ] && grep -q "unknown time zone Mars Standard Time (tzutil /l" unknown.out'

# Following: the textfile of the whole log within a minute (it is rewritten as the
# backlog is read, a block at a time), then ended.
TZ=Europe/Berlin "$WINE_RUN" "$REPORT_EXE" --follow week.log --textfile follow.prom >follow.out 2>&1 &
follower=$!
on_exit "kill $follower 2>/dev/null"
for _ in $(seq 120); do cmp -s linux.prom follow.prom && break; sleep 0.5; done
check "--follow writes the textfile the Linux build writes" cmp linux.prom follow.prom
kill $follower
for _ in $(seq 20); do kill -0 $follower 2>/dev/null || break; sleep 0.5; done
check "the follower ends when killed" eval '! kill -0 $follower 2>/dev/null'

# Logs dropped on the program from the desktop: `start` gives it a console of its own,
# as Explorer does. The page is written beside the first log and opened by the default
# browser, which here is a stub that notes the address (winebrowser hands a page to
# the programs named in WineBrowser's Browsers value).
windows_path() { echo "Z:$(tr / '\\' <<<"$1")"; }
printf '#!/bin/sh\necho "$@" >"%s"\n' "$WORK/opened" >browser-stub
chmod +x browser-stub
# No real browser may start: without the stub, the rest is not run.
"$WINE_RUN" reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$WORK/browser-stub" /f >/dev/null ||
  { fail "the stub browser could not be set"; finish; }
on_exit "'$WINE_RUN' reg delete 'HKCU\\Software\\Wine\\WineBrowser' /v Browsers /f >/dev/null 2>&1"
mkdir dropped
cp week.log dropped/
"$WINE_RUN" start /wait "$(windows_path "$REPORT_EXE")" "$(windows_path "$WORK/dropped/week.log")" \
  </dev/null >drop.out 2>&1 && STATUS=0 || STATUS=$?
for _ in $(seq 20); do [ -s opened ] && break; sleep 0.5; done
check_that "a log dropped on the program: exit 0, ping.html beside it, a whole page" \
  '[ "$STATUS" = 0 ] && grep -q "</html>" dropped/ping.html'
check "the page opened in the default browser" grep -qx "file://$WORK/dropped/ping.html" opened
check "nothing else written" [ "$(ls dropped)" = "$(printf 'ping.html\nweek.log')" ]
rm -f opened
WINEDEBUG=+relay "$WINE_RUN" start /wait "$(windows_path "$REPORT_EXE")" "$(windows_path "$WORK/none.log")" \
  </dev/null 2>&1 | grep 'MessageBoxA(' >drop-error.out
check "a log that is not there: the reason in a message box" \
  grep -Eq 'none.log: (File not found|The system cannot find the file specified)' drop-error.out
check "... and no page opened" [ ! -e opened ]
wine_report week.log >console.out 2>&1
check_that "from a console: the text, no page" \
  '[ "$(grep -c "^Host " console.out)" = 1 ] && [ ! -e ping.html ]'

finish
