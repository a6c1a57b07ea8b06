# The whole job on loopback, as a user runs it: numeric and by-name targets, appending
# to an existing log, a log in a missing directory, two loggers sharing one log.
source "$(dirname "$0")/lib.sh"

# On the machine's own loopback the program pings as root (raw socket) or through the
# datagram socket where ping_group_range admits the user; anyone else gets error 5.
if [ "$(id -u)" = 0 ]; then reply_re='^Reply from 127\.0\.0\.1:  bytes = 32 time = [0-9]+ms TTL = 64$'
else reply_re='^Reply from 127\.0\.0\.1:  '; fi

dir=$WORK/numeric
mkdir -p "$dir"
run_for "$dir" 127.0.0.1 ping.log 2
check "numeric loopback run exits with 0" [ "$STATUS" = 0 ]
check "numeric loopback entries are whole" all_entries_whole "$dir/ping.log"
check "numeric loopback gives three replies per entry" every_item_is "$dir/ping.log" "$reply_re"
check "a numeric host is written as it is" \
  grep -q $'^[^\t]* -> Pinging 127.0.0.1 with 32 bytes of data:\t' "$dir/ping.log"

check_appending_by_name

dir=$WORK/nodir
mkdir -p "$dir"
write_settings "$dir" 127.0.0.1 "$dir/missing/ping.log" 0 "$(time_in 2)"
run_logger "$dir"
check "a log in a missing directory: exit 0" [ "$STATUS" = 0 ]
check "a log in a missing directory: nothing written" [ ! -e "$dir/missing" ]

# Two loggers append to one log at once: each entry lands whole or not at all.
shared=$WORK/shared.log
for n in 1 2; do
  mkdir -p "$WORK/writer$n"
  write_settings "$WORK/writer$n" 127.0.0.1 "$shared" 0 "$(time_in 4)"
done
run_logger "$WORK/writer1" &
run_logger "$WORK/writer2"
wait
check "two loggers: every line of the shared log is whole" all_entries_whole "$shared"
check "two loggers: the shared log holds their entries" [ "$(entry_count "$shared")" -ge 4 ]

finish
