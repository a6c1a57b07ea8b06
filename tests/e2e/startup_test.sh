# Start-up as a user meets it: the missing settings file, an end time in the past.
source "$(dirname "$0")/lib.sh"

dir=$WORK/missing
mkdir -p "$dir"
start=$(date +%s)
run_logger "$dir"
check "no Kep.ini still exits with 0" [ "$STATUS" = 0 ]
check "no Kep.ini shows the notice on standard error" \
  grep -qx "Critical Information: Couldn't find the ini-File! Programm will be terminatet" \
  "$dir/stderr"
check "no Kep.ini does not wait when standard input is no terminal" \
  [ $(($(date +%s) - start)) -lt 10 ]
check "no Kep.ini writes nothing" [ "$(ls "$dir")" = "$(printf 'stderr\nstdout')" ]

# A Kep.ini that cannot be read (here a directory) is no settings file either.
dir=$WORK/unreadable
mkdir -p "$dir/Kep.ini"
run_logger "$dir"
check "an unreadable Kep.ini shows the same notice and exits with 0" \
  grep -qx "Critical Information: Couldn't find the ini-File! Programm will be terminatet" \
  "$dir/stderr"

# At a terminal the notice waits for Enter, as a message box waits for OK.
dir=$WORK/terminal
mkdir -p "$dir"
(cd "$dir" && printf '\n' | timeout 10 script -qec "$PINGLOG" /dev/null >"$dir/screen" 2>&1) && STATUS=0 || STATUS=$?
check "at a terminal, Enter dismisses the notice and the exit code is 0" [ "$STATUS" = 0 ]
check "at a terminal, the notice asks for Enter" grep -q "Press Enter to continue." "$dir/screen"
(cd "$dir" && sleep 5 | timeout 2 script -qec "$PINGLOG" /dev/null >/dev/null 2>&1) && STATUS=0 || STATUS=$?
check "at a terminal, the program waits until Enter comes" [ "$STATUS" = 124 ]

dir=$WORK/past
mkdir -p "$dir"
write_settings "$dir" 127.0.0.1 ping.log 1 "2013-01-31 18:30:00"
start=$(date +%s)
run_logger "$dir"
check "an end time in the past exits with 0" [ "$STATUS" = 0 ]
check "an end time in the past exits at once" [ $(($(date +%s) - start)) -lt 10 ]
check "an end time in the past writes no log" [ ! -e "$dir/ping.log" ]
check "an end time in the past shows nothing" [ ! -s "$dir/stderr" ]

dir=$WORK/invalid
mkdir -p "$dir"
write_settings "$dir" 127.0.0.1 ping.log 1 "2030-02-30 00:00:00"
run_logger "$dir"
check "an impossible end time exits with 0 at once" [ "$STATUS" = 0 ]

# Malformed settings files are read without harm; none of these has a valid end time.
n=0
for make in "head -c 65536 /dev/urandom" "printf ''" "printf 'Host=a\\0b\\r\\rLog=\\0\\r'" \
  "head -c 3000000 /dev/zero | tr '\\0' x" "seq -f 'line=%g' 1 500" "printf '\\r\\r\\r\\r\\r\\r'"; do
  n=$((n + 1))
  dir=$WORK/malformed$n
  mkdir -p "$dir"
  sh -c "$make" >"$dir/Kep.ini"
  run_logger "$dir"
  check "malformed Kep.ini $n ($make) is read and the program exits with 0" [ "$STATUS" = 0 ]
done

# Time stamps are local wall-clock time: TZ is honoured.
dir=$WORK/zone
mkdir -p "$dir"
write_settings "$dir" 127.0.0.1 ping.log 0 "$(TZ=Pacific/Kiritimati time_in 2)"
run_logger "$dir" env TZ=Pacific/Kiritimati
stamp=$(cut -c1-16 "$dir/ping.log" | head -1)
stamp_in_zone() {  # the hour now, or a minute ago across an hour boundary
  [ "$stamp" = "$(TZ=Pacific/Kiritimati date '+%d.%m.%Y / %H:')" ] ||
    [ "$stamp" = "$(TZ=Pacific/Kiritimati date -d '-1 minute' '+%d.%m.%Y / %H:')" ]
}
check "time stamps follow TZ ($stamp)" stamp_in_zone

finish
