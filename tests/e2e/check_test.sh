# pinglog-check as a user runs it before leaving the logger alone, and the logger's
# --help and --version.
source "$(dirname "$0")/lib.sh"
CHECK=$PINGLOG_BUILD/pinglog-check
[ -x "$CHECK" ] || skip "pinglog-check is not built"

dir=$WORK/good
mkdir -p "$dir"
write_settings "$dir" 127.0.0.1 ping.log 5 "2037-12-31 00:00:00"
"$CHECK" "$dir" >"$WORK/out" 2>&1 && STATUS=0 || STATUS=$?
check "a good Kep.ini: exit 0" [ "$STATUS" = 0 ]
check "a good Kep.ini: says what the logger will do" \
  grep -q "^pinglog pings \"127.0.0.1\" every 5 minutes from now until 2037-12-31 00:00:00 (about [0-9]* cycles), appending to $dir/ping.log.$" "$WORK/out"
check "the check writes nothing into the directory" [ ! -e "$dir/ping.log" ]

write_settings "$dir" 127.0.0.1 ping.log 5 "2013-01-31 18:30:00"
(cd "$dir" && "$CHECK") >"$WORK/out" 2>&1 && STATUS=0 || STATUS=$?
check_that "an end time in the past: exit 1 with its line" \
  '[ "$STATUS" = 1 ] && grep -q "^error: the end time \"2013-01-31 18:30:00\" is read as 2013-01-31 18:30:00, which is already past" "$WORK/out"'

"$CHECK" "$dir" --bogus >"$WORK/out" 2>&1 && STATUS=0 || STATUS=$?
check "an unknown option: exit 2" [ "$STATUS" = 2 ]
"$CHECK" "$dir" --user "" >"$WORK/out" 2>&1 && STATUS=0 || STATUS=$?
check_that "--user with an empty name: exit 2 with why" \
  '[ "$STATUS" = 2 ] && grep -q -- "--user needs a user name" "$WORK/out"'

# Without ICMP permission (a namespace of our own keeps ping_group_range closed).
if [ "$(id -u)" = 0 ] && ip netns add "${NS_PREFIX}check" 2>/dev/null; then
  on_exit "ip netns del ${NS_PREFIX}check"
  ip netns exec "${NS_PREFIX}check" sysctl -qw net.ipv4.ping_group_range="1 0"
  chmod 755 "$WORK"
  chmod 777 "$dir"
  write_settings "$dir" 127.0.0.1 ping.log 5 "2037-12-31 00:00:00"
  ip netns exec "${NS_PREFIX}check" "$CHECK" "$dir" --user nobody >"$WORK/out" 2>&1 && STATUS=0 || STATUS=$?
  check_that "as nobody without ICMP permission: exit 1 with the fix" \
    '[ "$STATUS" = 1 ] && grep -q "^error: nobody may not send ICMP echo requests: .*Error no: 5. Fix: sudo setcap cap_net_raw+ep" "$WORK/out"'
  check "as root the same Kep.ini works" ip netns exec "${NS_PREFIX}check" "$CHECK" "$dir"
else
  echo "SKIP: the permission check needs root and network namespaces"
fi

# The logger's own --help and --version: a short text and exit 0, no run.
(cd "$dir" && "$PINGLOG" --version) >"$WORK/out" 2>&1 && STATUS=0 || STATUS=$?
check_that "pinglog --version" '[ "$STATUS" = 0 ] && [ "$(cat "$WORK/out")" = "pinglog 1.0.0" ]'
(cd "$dir" && "$PINGLOG" --help) >"$WORK/out" 2>&1 && STATUS=0 || STATUS=$?
check_that "pinglog --help names pinglog-check and the manual page, and starts no run" \
  '[ "$STATUS" = 0 ] && grep -q pinglog-check "$WORK/out" && grep -q "man pinglog" "$WORK/out" && [ ! -e "$dir/ping.log" ]'

finish
