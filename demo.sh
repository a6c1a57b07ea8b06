#!/usr/bin/env bash
# Builds pinglog and runs it once on a ready settings file, as a user would: first
# pinglog-check says what the logger will do with it, then the logger pings localhost
# back to back for about ten seconds, then pinglog-report sums up the log it wrote
# and writes its page. Everything lands in demo/.
set -euo pipefail
cd "$(dirname "$0")"

tools/ensure-packages.sh cmake ninja-build g++ nlohmann-json3-dev libcli11-dev \
  libhowardhinnant-date-dev libdate-tz3

cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target pinglog pinglog-check pinglog-report

mkdir -p demo
rm -f demo/ping.log
end=$(date -d "@$(($(date +%s) + 10))" '+%Y-%m-%d %H:%M:%S')
printf 'Host=localhost\r\nLog=ping.log\r\nInterval=0\r\nEnd=%s\r\n' "$end" >demo/Kep.ini
echo "demo/Kep.ini:"
cat demo/Kep.ini
echo
echo "build/pinglog-check demo:"
build/pinglog-check demo || true
echo
echo "Running build/pinglog in demo/ until $end ..."
(cd demo && ../build/pinglog)
echo "demo/ping.log:"
if [ ! -f demo/ping.log ]; then
  echo '    (no entries)'
  exit 0
fi
tr -d '\r' <demo/ping.log
echo
echo "build/pinglog-report demo/ping.log --html demo/report.html:"
build/pinglog-report demo/ping.log --html demo/report.html
echo "The page with the chart: demo/report.html (open it in a browser)."
