#!/usr/bin/env bash
# Builds pinglog and runs it once on a ready settings file: it pings localhost back to
# back for about ten seconds, then shows the log it wrote. Everything lands in demo/.
set -euo pipefail
cd "$(dirname "$0")"

tools/ensure-packages.sh cmake ninja-build g++

cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target pinglog

mkdir -p demo
end=$(date -d "@$(($(date +%s) + 10))" '+%Y-%m-%d %H:%M:%S')
printf 'Host=localhost\r\nLog=ping.log\r\nInterval=0\r\nEnd=%s\r\n' "$end" >demo/Kep.ini
echo "demo/Kep.ini:"
cat demo/Kep.ini
echo "Running build/pinglog in demo/ until $end ..."
(cd demo && ../build/pinglog)
echo "demo/ping.log:"
if [ -f demo/ping.log ]; then tr -d '\r' <demo/ping.log; else echo '    (no entries)'; fi
